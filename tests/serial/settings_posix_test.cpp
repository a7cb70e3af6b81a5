// Guards that the settings chosen in the dialog reach a real terminal, and that a
// device the user may not open is explained with its remedy.
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "protocol/command_channel.h"
#include "protocol/reply_recogniser.h"
#include "serial/port_access.h"
#include "serial/settings_command.h"
#include "shell/layout.h"
#include "testing/recording_canvas.h"
#include "testing/scripted_dialogs.h"
#include "testing/virtual_clock.h"

namespace {

namespace fs = std::filesystem;

class Canvases : public ui::CanvasFactory {
 public:
  std::unique_ptr<ui::Canvas> Make(int width, int height) override {
    return std::make_unique<ui::RecordingCanvas>(width, height);
  }
};

TEST(SettingsOnATerminal, TheLineSettingsOfTheDialogReachThePseudoTerminal) {
  int master = -1;
  int slave = -1;
  char name[256] = {};
  ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
  const fs::path scratch =
      fs::temp_directory_path() / ("palunor-settings-" + std::to_string(std::random_device{}()));
  {
    ui::VirtualClock clock;
    ui::ScriptedDialogs dialogs;
    Canvases canvases;
    ui::ControlSet controls(shell::LayoutTable(ui::Variant::Palunor6), canvases);
    serial::TCommPortDriver driver(clock, serial::MakeSystemPort());
    ui::Timer timer3(clock, 500, true);
    protocol::ReplyRecogniser recogniser(ui::Variant::Palunor6);
    protocol::CommandChannel channel(clock, driver, recogniser, timer3);
    serial::SettingsCommand command(controls, dialogs, driver, timer3, channel,
                                    {scratch / "machine", scratch / "map"});
    dialogs.AnswerSettings({[&](ui::SettingsValues& v) {
      v.port_name = name;
      v.baud_rate = "19200";
      v.parity = 1;     // Odd
      v.stop_bits = 2;  // 2
    }});

    controls["Button5"].Click();

    ASSERT_TRUE(driver.IsOpen());
    termios tio{};
    ASSERT_EQ(tcgetattr(slave, &tio), 0);
    // A pseudo-terminal keeps eight bits without parity whatever it is told, but it
    // keeps the parity's kind, the stop bits and the speed.
    EXPECT_NE(tio.c_cflag & PARODD, 0u);
    EXPECT_NE(tio.c_cflag & CSTOPB, 0u);
    EXPECT_EQ(cfgetospeed(&tio), static_cast<speed_t>(B19200));
  }
  close(master);
  close(slave);
  fs::remove_all(scratch);
}

TEST(SettingsOnATerminal, ADeviceTheUserMayNotOpenIsExplainedWithItsRemedy) {
  if (geteuid() == 0) GTEST_SKIP() << "root may open every device";
  const fs::path device =
      fs::temp_directory_path() / ("palunor-locked-" + std::to_string(std::random_device{}()));
  std::ofstream(device).put('\0');
  ASSERT_EQ(chmod(device.c_str(), 0), 0);

  const std::string details = serial::OpenFailureDetails(device.string());

  EXPECT_EQ(details.rfind(device.string() + ": Permission denied. Add your user to the '", 0), 0u)
      << details;
  EXPECT_NE(details.find("' group and log in again."), std::string::npos) << details;
  EXPECT_EQ(serial::OpenFailureDetails((device.string() + "-missing")), "");
  fs::remove(device);
}

}  // namespace
