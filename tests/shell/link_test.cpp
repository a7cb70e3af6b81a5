// Guards the link subsystems wired into the whole form against the controller
// emulator, byte timing at 9600 baud included: discovery, a Read that finishes
// whatever the chunking, Send, EEPROM, and a controller unplugged and plugged back.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "live/option_state.h"
#include "map/curve_model.h"
#include "serial/link_state.h"
#include "shell/form.h"
#include "shell/platform.h"
#include "sim/controller.h"
#include "sim/emulated_port.h"
#include "testing/recording_canvas.h"
#include "testing/recording_help_viewer.h"
#include "testing/scripted_dialogs.h"
#include "testing/virtual_clock.h"

namespace {

using ui::Variant;

class RecordingCanvases : public ui::CanvasFactory {
 public:
  std::unique_ptr<ui::Canvas> Make(int width, int height) override {
    return std::make_unique<ui::RecordingCanvas>(width, height);
  }
};

protocol::CurvePoints Ramp(int first) {
  protocol::CurvePoints points{};
  for (std::size_t i = 0; i < points.size(); ++i) {
    points[i] = static_cast<std::uint8_t>((first + static_cast<int>(i)) % 51);
  }
  return points;
}

// The form of either program on an emulated bench whose COM2 leads to the controller.
class LinkedForm : public ::testing::TestWithParam<Variant> {
 protected:
  LinkedForm() {
    std::filesystem::create_directories(m_dir);
    controller.Ram(1) = Ramp(3);
    controller.Ram(2) = Ramp(30);
    controller.SetLimits(20, 12);
    form.FormCreate();
    form.Activated();
  }
  ~LinkedForm() override { std::filesystem::remove_all(m_dir); }

  ui::Control& operator[](const std::string& name) { return form[name]; }

  std::filesystem::path m_dir = std::filesystem::temp_directory_path() /
                                ("palunor-link-" + std::to_string(std::random_device{}()));
  ui::VirtualClock clock;
  ui::ScriptedDialogs dialogs;
  ui::RecordingHelpViewer help;
  RecordingCanvases canvases;
  sim::Controller controller;
  sim::EmulatedDevice device{clock, controller};
  shell::Platform platform{
      clock,         dialogs, help, canvases, device.PortFactory(), (m_dir / "Palunor6").string(),
      m_dir.string()};
  shell::TForm1 form{GetParam(), platform};
};

TEST_P(LinkedForm, TheControllerIsIdentifiedAfterTheFirstActivation) {
  clock.Advance(200);
  EXPECT_EQ(form.Caption(), "VYN Advance Controller Program (QZR Version 6.0, Dual Channel)");
  EXPECT_TRUE(form["RDBut"].Enabled());
  EXPECT_EQ(form.Model().MaxAdvance, 20);
  EXPECT_EQ(form.Model().MaxRetard, 12);
  EXPECT_EQ(form["lblstat"].Caption(), "Ready!");
  EXPECT_TRUE(dialogs.History().empty());
}

TEST_P(LinkedForm, ReadBringsBothCurvesAndTheOptions) {
  clock.Advance(700);
  form["RDBut"].Click();
  clock.Advance(400);
  EXPECT_EQ(form.Model().Working(1), Ramp(3));
  EXPECT_EQ(form.Model().Working(2), Ramp(30));
  EXPECT_EQ(form.Model().CurrentCurve, 2);
  EXPECT_EQ(form["lblstat"].Caption(), "Lines Received!");
  EXPECT_TRUE(form.Options().Output5V);
  EXPECT_TRUE(form.Options().InputPositive);
  EXPECT_EQ(form.Options().BypassStep, 4);
  EXPECT_TRUE(form.Timer3().Enabled());
}

// The first reply stalls after each of its bytes in turn, as a slow cable does.
TEST_P(LinkedForm, ReadFinishesWhereverTheFirstReplyPauses) {
  for (std::size_t byte : {1u, 2u, 3u, 17u, 29u, 32u, 33u}) {
    // A supervision poll may have started the lockout: the user clicks once it ends.
    do clock.Advance(700);
    while (form.Timer1().Enabled());
    form.Model().Working(1).fill(25);
    form.Model().Working(2).fill(25);
    device.SetFault({sim::FaultMode::SplitReply, byte, 120});
    form["RDBut"].Click();
    clock.Advance(600);
    EXPECT_EQ(form.Model().Working(1), Ramp(3)) << byte;
    EXPECT_EQ(form.Model().Working(2), Ramp(30)) << byte;
    EXPECT_EQ(form["lblstat"].Caption(), "Lines Received!") << byte;
    device.SetFault({sim::FaultMode::None});
  }
}

TEST_P(LinkedForm, SendThenRecordLeaveTheControllerHoldingTheShownCurve) {
  clock.Advance(700);
  form.Model().Working(2)[5] = 40;
  form["SDBut"].Click();
  clock.Advance(200);
  EXPECT_EQ(controller.Ram(2)[5], 40);
  EXPECT_EQ(form["lblstat"].Caption(), "LINE 2 SENT");
  EXPECT_FALSE(form["Label34"].Visible());
  EXPECT_TRUE(form["Label35"].Visible());
  clock.Advance(600);
  form["Button6"].Click();
  clock.Advance(200);
  EXPECT_EQ(controller.Eeprom(2)[5], 40);
  EXPECT_EQ(form["lblstat"].Caption(), "LINE 2 SAVED");
  EXPECT_FALSE(form["Label35"].Visible());
}

TEST_P(LinkedForm, AnUnpluggedControllerIsDeclaredLostAndFoundAgainWhenPluggedBack) {
  const bool newer = GetParam() == Variant::Palunor6;
  clock.Advance(700);
  device.SetFault({sim::FaultMode::Unplug});
  // Lost within a poll period and a loss period of its last answer.
  clock.Advance(8000);
  EXPECT_EQ(form.Caption(), "VYN Advance Controller Program (No QZR Present!)");
  EXPECT_EQ(form["lblstat"].Caption(), "Device Disconnected!");
  EXPECT_FALSE(form["RDBut"].Enabled());
  device.SetFault({sim::FaultMode::Replug});
  clock.Advance(newer ? 5500 : 3000);
  EXPECT_NE(form.Caption(), "VYN Advance Controller Program (No QZR Present!)");
  EXPECT_TRUE(form["RDBut"].Enabled());
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, LinkedForm,
                         ::testing::Values(Variant::Palunor6, Variant::Palunor));

}  // namespace
