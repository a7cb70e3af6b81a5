// The gauges and the curve chart as the programs draw them, on the canvases of any
// front end, so two front ends' rasterisations of the same drawing can be compared
// pixel for pixel. A scene is a whole headless form of one program, read from the
// in-memory controller emulator on the virtual clock and, for the live scenes, with
// live data running; its images are drawn by the canvases `factory` makes:
//   canvas_scenes::Scene scene(canvas_scenes::kScenes[0], factory);
//   const ui::Canvas& rpm = scene.Image("Image3");
// Images are exchanged between the test programs as binary PPM files (P6).
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "shell/form.h"
#include "shell/platform.h"
#include "sim/controller.h"
#include "sim/emulated_port.h"
#include "testing/recording_help_viewer.h"
#include "testing/scripted_dialogs.h"
#include "testing/virtual_clock.h"
#include "ui/control.h"
#include "ui/variant.h"

namespace canvas_scenes {

struct SceneSetup {
  const char* name;
  ui::Variant variant;
  bool live;  // live data running, the needle and the advance sector away from rest
};

inline constexpr SceneSetup kScenes[] = {
    {"palunor6-read", ui::Variant::Palunor6, false},
    {"palunor6-live", ui::Variant::Palunor6, true},
    {"palunor-read", ui::Variant::Palunor, false},
    {"palunor-live", ui::Variant::Palunor, true},
};

// The chart, the advance gauge and the RPM gauge.
inline constexpr const char* kImages[] = {"Image1", "Image2", "Image3"};

class Scene {
 public:
  Scene(const SceneSetup& setup, ui::CanvasFactory& factory)
      : m_platform{m_clock, m_dialogs, m_help, factory, m_device.PortFactory(), "Palunor6",
                   // A folder without "Advance.ini": the default port settings.
                   (std::filesystem::temp_directory_path() / "palunor-canvas-scenes-absent")
                       .string()},
        m_form(setup.variant, m_platform) {
    for (std::size_t i = 0; i < m_controller.Ram(1).size(); ++i) {
      m_controller.Ram(1)[i] = static_cast<std::uint8_t>(10 + (i * 7) % 31);
      m_controller.Ram(2)[i] = static_cast<std::uint8_t>(40 - (i * 5) % 33);
    }
    m_form.FormCreate();
    m_form.Activated();
    m_clock.Advance(700);
    m_form["RDBut"].Click();
    m_clock.Advance(700);
    if (setup.live) {
      m_form["Button3"].Click();
      m_clock.Advance(1730);
    }
  }

  const ui::Canvas& Image(const std::string& name) { return *m_form[name].GetCanvas(); }
  shell::TForm1& Form() { return m_form; }

 private:
  ui::VirtualClock m_clock;
  ui::ScriptedDialogs m_dialogs;
  ui::RecordingHelpViewer m_help;
  sim::Controller m_controller;
  sim::EmulatedDevice m_device{m_clock, m_controller};
  shell::Platform m_platform;
  shell::TForm1 m_form;
};

// A rasterisation as 0x00RRGGBB pixels, row by row.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> rgb;
  std::uint32_t At(int x, int y) const {
    return rgb[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(x)];
  }
};

inline Pixels Capture(const ui::Canvas& canvas,
                      const std::function<std::uint32_t(int, int)>& pixel) {
  Pixels pixels{canvas.Width(), canvas.Height(), {}};
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) pixels.rgb.push_back(pixel(x, y));
  }
  return pixels;
}

inline std::filesystem::path ImagePath(const std::filesystem::path& folder, const SceneSetup& setup,
                                       const std::string& image) {
  return folder / (std::string(setup.name) + "-" + image + ".ppm");
}

inline bool WritePpm(const std::filesystem::path& path, const Pixels& pixels) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << "P6\n" << pixels.width << " " << pixels.height << "\n255\n";
  for (const std::uint32_t rgb : pixels.rgb) {
    const char bytes[3] = {static_cast<char>(rgb >> 16), static_cast<char>(rgb >> 8),
                           static_cast<char>(rgb)};
    file.write(bytes, 3);
  }
  file.close();
  return static_cast<bool>(file);
}

inline std::optional<Pixels> ReadPpm(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::string magic;
  Pixels pixels;
  int depth = 0;
  file >> magic >> pixels.width >> pixels.height >> depth;
  if (!file || magic != "P6" || depth != 255 || pixels.width <= 0 || pixels.height <= 0) {
    return std::nullopt;
  }
  file.get();  // the one blank after the header
  std::vector<unsigned char> bytes(static_cast<std::size_t>(pixels.width) *
                                   static_cast<std::size_t>(pixels.height) * 3);
  file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!file) return std::nullopt;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    pixels.rgb.push_back((std::uint32_t{bytes[i]} << 16) | (std::uint32_t{bytes[i + 1]} << 8) |
                         bytes[i + 2]);
  }
  return pixels;
}

// Pixels that differ between two rasterisations of one size; -1 when the sizes differ.
inline long Differing(const Pixels& a, const Pixels& b) {
  if (a.width != b.width || a.height != b.height) return -1;
  long count = 0;
  for (std::size_t i = 0; i < a.rgb.size(); ++i) count += a.rgb[i] != b.rgb[i];
  return count;
}

}  // namespace canvas_scenes
