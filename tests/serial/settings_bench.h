// The settings command over an emulated bench, for the tests of the settings dialog
// and of the serial devices it offers.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "protocol/command_channel.h"
#include "protocol/reply_recogniser.h"
#include "serial/settings_command.h"
#include "shell/layout.h"
#include "sim/controller.h"
#include "sim/emulated_port.h"
#include "testing/recording_canvas.h"
#include "testing/scripted_dialogs.h"
#include "testing/virtual_clock.h"

namespace settings_test {

namespace fs = std::filesystem;

constexpr const char* kCom1 = "\\\\.\\COM1";
constexpr const char* kCom2 = "\\\\.\\COM2";
constexpr const char* kCom3 = "\\\\.\\COM3";
constexpr const char* kCom12 = "\\\\.\\COM12";
constexpr const char* kConfirm =
    "Could not change settings while a connection is active.\r\nClose the connection and "
    "continue ?";

class Canvases : public ui::CanvasFactory {
 public:
  std::unique_ptr<ui::Canvas> Make(int width, int height) override {
    return std::make_unique<ui::RecordingCanvas>(width, height);
  }
};

// A scratch folder removed with the test.
struct Scratch {
  Scratch() { fs::create_directories(root); }
  ~Scratch() { fs::remove_all(root); }
  fs::path root =
      fs::temp_directory_path() / ("palunor-settings-" + std::to_string(std::random_device{}()));
};

// The window's Button5 and Timer3 over an emulated bench: the controller on COM2,
// COM1 and COM12 present with nothing on them, and the names `present` gives for the
// scratch folder; every other name missing.
struct SettingsBench {
  using Present = std::function<std::set<std::string>(const fs::path& scratch)>;
  explicit SettingsBench(ui::Variant variant = ui::Variant::Palunor6, const Present& present = {})
      : controls(shell::LayoutTable(variant), canvases),
        device(clock, controller, kCom2, Names(present, scratch.root)) {
    EXPECT_TRUE(driver.OpenPort());
  }

  static std::set<std::string> Names(const Present& present, const fs::path& root) {
    std::set<std::string> names = {kCom1, kCom12};
    if (present) names.merge(present(root));
    return names;
  }

  std::vector<std::string> Errors() const {
    std::vector<std::string> texts;
    for (const auto& shown : dialogs.History()) {
      if (shown.title == "Error") texts.push_back(shown.text);
    }
    return texts;
  }

  Scratch scratch;
  ui::VirtualClock clock;
  ui::ScriptedDialogs dialogs;
  Canvases canvases;
  ui::ControlSet controls;
  sim::Controller controller;
  sim::EmulatedDevice device;
  serial::TCommPortDriver driver{clock, device.MakePort()};
  ui::Timer timer3{clock, 500, true};
  protocol::ReplyRecogniser recogniser{ui::Variant::Palunor6};
  protocol::CommandChannel channel{clock, driver, recogniser, timer3};
  serial::SettingsCommand command{
      controls, dialogs, driver, timer3, channel, {scratch.root / "machine", scratch.root / "map"}};
};

}  // namespace settings_test
