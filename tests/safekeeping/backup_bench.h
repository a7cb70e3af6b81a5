// The form of either program against the controller emulator, with a backups folder
// and a preferences file of its own in a temporary folder, and a local clock the test
// sets. Nothing reaches the user's real folders.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "map/map_file.h"
#include "safekeeping/backups.h"
#include "shell/form.h"
#include "shell/platform.h"
#include "sim/controller.h"
#include "sim/emulated_port.h"
#include "testing/recording_canvas.h"
#include "testing/recording_help_viewer.h"
#include "testing/scripted_dialogs.h"
#include "testing/virtual_clock.h"

namespace backups_test {

namespace fs = std::filesystem;

class NullCanvases : public ui::CanvasFactory {
 public:
  std::unique_ptr<ui::Canvas> Make(int width, int height) override {
    return std::make_unique<ui::RecordingCanvas>(width, height);
  }
};

inline protocol::CurvePoints Ramp(int first) {
  protocol::CurvePoints points{};
  for (std::size_t i = 0; i < points.size(); ++i) {
    points[i] = static_cast<std::uint8_t>((first + static_cast<int>(i)) % 51);
  }
  return points;
}

inline std::string FileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

inline void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

class Bench {
 public:
  // `root` is shared by benches that stand for runs of the program one after another.
  Bench(ui::Variant variant, const fs::path& root)
      : platform{clock,
                 dialogs,
                 help,
                 canvases,
                 device.PortFactory(),
                 (root / "Palunor6").string(),
                 root.string(),
                 {(root / "backups").string(), (root / "config" / "palunor.conf").string()},
                 [this] { return now; }},
        form(variant, platform) {
    controller.Ram(1) = Ramp(3);
    controller.Ram(2) = Ramp(30);
    form.FormCreate();
    form.Activated();
    clock.Advance(700);  // the controller is identified
  }

  // A command button clicked once the lockout of the last command has run out.
  void Click(const std::string& button) {
    form[button].Click();
    clock.Advance(700);
  }
  // A context menu command, chosen from the menu the Menu key opens.
  void Choose(const std::string& caption) {
    dialogs.AnswerMenu(caption);
    ASSERT_TRUE(form.ShortcutKey({93}));
  }
  std::array<map::Curve, 2> ControllerRam() { return {controller.Ram(1), controller.Ram(2)}; }
  std::string ControllerMap() { return map::MapFileText(ControllerRam()); }
  // The names in the backups folder, sorted.
  static std::vector<std::string> Backups(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code ignored;
    for (fs::directory_iterator it(folder, ignored), end; !ignored && it != end; ++it)
      names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  safekeeping::LocalTime now{2026, 12, 9, 7, 41, 2};
  ui::VirtualClock clock;
  ui::ScriptedDialogs dialogs;
  ui::RecordingHelpViewer help;
  NullCanvases canvases;
  sim::Controller controller;
  sim::EmulatedDevice device{clock, controller};
  shell::Platform platform;
  shell::TForm1 form;
};

// A temporary folder for the test, removed after it.
class ScratchFolder {
 public:
  ScratchFolder() { fs::create_directories(m_root); }
  ~ScratchFolder() { fs::remove_all(m_root); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const fs::path& Path() const { return m_root; }

 private:
  fs::path m_root =
      fs::temp_directory_path() / ("palunor-safekeeping-" + std::to_string(std::random_device{}()));
};

}  // namespace backups_test
