// A whole form of either program against the in-process emulator, every byte the
// program writes kept in `written`:
//   safekeeping_test::Bench bench(ui::Variant::Palunor6);
//   bench.Read();               // both curves from the controller
//   bench.Choose("&Undo");      // right click on the chart, the item chosen
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "map/map_file.h"
#include "shell/form.h"
#include "sim/emulated_port.h"
#include "testing/recording_canvas.h"
#include "testing/recording_help_viewer.h"
#include "testing/scripted_dialogs.h"
#include "testing/virtual_clock.h"

namespace safekeeping_test {

class TappedPort : public sim::EmulatedPort {
 public:
  TappedPort(sim::EmulatedDevice& device, std::string& written)
      : EmulatedPort(device), m_written(written) {}
  bool WriteFile(const std::uint8_t* data, std::uint32_t count, std::uint32_t& written) override {
    const bool ok = EmulatedPort::WriteFile(data, count, written);
    m_written.append(reinterpret_cast<const char*>(data), written);
    return ok;
  }

 private:
  std::string& m_written;
};

class RecordingCanvases : public ui::CanvasFactory {
 public:
  std::unique_ptr<ui::Canvas> Make(int width, int height) override {
    return std::make_unique<ui::RecordingCanvas>(width, height);
  }
};

// Point values first, first + step, ...
inline map::Curve Line(int first, int step) {
  map::Curve curve{};
  for (std::size_t i = 0; i < curve.size(); ++i)
    curve[i] = static_cast<std::uint8_t>(first + step * int(i));
  return curve;
}

class Bench {
 public:
  // The controller holds two curves within its limits (+20 and -12 degrees).
  explicit Bench(ui::Variant variant) : form(variant, platform) {
    std::filesystem::create_directories(dir);
    controller.SetLimits(20, 12);
    controller.Ram(1) = controller.Eeprom(1) = Line(14, 1);
    controller.Ram(2) = controller.Eeprom(2) = Line(40, -1);
    form.FormCreate();
    form.Activated();
    Settle();
  }
  ~Bench() { std::filesystem::remove_all(dir); }

  // Time passes until the command lockout has run out.
  void Settle() {
    do clock.Advance(700);
    while (form.Timer1().Enabled());
  }
  void Click(const std::string& button) {
    form[button].Click();
    Settle();
  }
  void Read() { Click("RDBut"); }
  void Choose(const std::string& caption) {
    dialogs.AnswerMenu(caption);
    form["Image1"].MouseUp(ui::MouseButton::Right, 120, 60);
  }
  bool Enabled(const std::string& caption) {
    for (const ui::MenuItem& item : form.Menu().Items()) {
      if (item.caption == caption) return item.enabled;
    }
    return false;
  }
  bool Ctrl(int key, bool shift = false) { return form.ShortcutKey({key, true, shift}); }
  void Key(int key) { form.KeyDown(key); }
  // Marker p pressed, moved `dy` pixels in two moves, released.
  void Drag(int p, int dy) {
    ui::Control& marker = form["Lb" + std::to_string(p)];
    marker.MouseDown(ui::MouseButton::Left, 3, 5);
    marker.MouseMove(3, 5 + dy / 2);
    marker.MouseMove(3, 5 + dy);
    marker.MouseUp(ui::MouseButton::Left, 3, 5 + dy);
  }
  std::filesystem::path MapFile(const std::string& name, const std::array<map::Curve, 2>& curves) {
    std::ofstream(dir / name, std::ios::binary) << map::MapFileText(curves);
    return dir / name;
  }
  void Open(const std::filesystem::path& path) {
    dialogs.AnswerFile(path.string());
    form["OpenBut"].Click();
  }
  map::CurveModel& Model() { return form.Model(); }
  bool Label34() { return form["Label34"].Visible(); }

  std::filesystem::path dir = std::filesystem::temp_directory_path() /
                              ("palunor-safekeeping-" + std::to_string(std::random_device{}()));
  ui::VirtualClock clock;
  ui::ScriptedDialogs dialogs;
  ui::RecordingHelpViewer help;
  RecordingCanvases canvases;
  sim::Controller controller;
  sim::EmulatedDevice device{clock, controller};
  std::string written;
  shell::Platform platform{clock,
                           dialogs,
                           help,
                           canvases,
                           [this] { return std::make_unique<TappedPort>(device, written); },
                           (dir / "Palunor6").string(),
                           dir.string()};
  shell::TForm1 form;
};

}  // namespace safekeeping_test
