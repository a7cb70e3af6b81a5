// Guards the point table and the CSV commands on the whole form of either program
// against the emulated controller: what the table and an import change reaches the
// controller on Send; Cancel, a refused cell or a refused file change nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "map/curve_model.h"
#include "shell/form.h"
#include "shell/form_harness.h"
#include "shell/platform.h"
#include "sim/controller.h"
#include "sim/emulated_port.h"
#include "testing/recording_help_viewer.h"
#include "testing/scripted_dialogs.h"
#include "testing/virtual_clock.h"

namespace {

using ui::Variant;

protocol::CurvePoints Flat() {
  protocol::CurvePoints points{};
  points.fill(25);
  return points;
}

// A curve within limits of +20 and -12 degrees.
protocol::CurvePoints Ramp(int first) {
  protocol::CurvePoints points{};
  for (std::size_t i = 0; i < points.size(); ++i) {
    points[i] = static_cast<std::uint8_t>(13 + (first + static_cast<int>(i)) % 32);
  }
  return points;
}

class PointTableForm : public ::testing::TestWithParam<Variant> {
 protected:
  PointTableForm() {
    std::filesystem::create_directories(m_dir);
    controller.SetLimits(20, 12);
    controller.Ram(1) = Flat();
    controller.Ram(2) = Flat();
    form.FormCreate();
    form.Activated();
    clock.Advance(700);  // the controller is identified and its limits known
  }
  ~PointTableForm() override { std::filesystem::remove_all(m_dir); }

  // The user chooses an item of the context menu on the chart.
  void Choose(const std::string& caption) {
    dialogs.AnswerMenu(caption);
    form["Image1"].MouseUp(ui::MouseButton::Right, 40, 40);
  }
  // Send with each curve shown in turn, as the user sends both.
  void SendBoth() {
    for (int i = 0; i < 2; ++i) {
      form["SDBut"].Click();
      clock.Advance(700);
      form["Button2"].Click();
    }
  }
  void Read() {
    form["RDBut"].Click();
    clock.Advance(700);
  }
  std::string Export(const std::string& name) {
    dialogs.AnswerFile(name);
    Choose("E&xport CSV...");
    std::ifstream in(m_dir / name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  void Import(const std::string& name) {
    dialogs.AnswerFile(name);
    Choose("&Import CSV...");
  }
  void Write(const std::string& name, const std::string& text) {
    std::ofstream(m_dir / name, std::ios::binary) << text;
  }

  std::filesystem::path m_dir = std::filesystem::temp_directory_path() /
                                ("palunor-table-" + std::to_string(std::random_device{}()));
  ui::VirtualClock clock;
  ui::ScriptedDialogs dialogs;
  ui::RecordingHelpViewer help;
  shell_test::RecordingCanvases canvases;
  sim::Controller controller;
  sim::EmulatedDevice device{clock, controller};
  shell::Platform platform{
      clock,         dialogs, help, canvases, device.PortFactory(), (m_dir / "Palunor6").string(),
      m_dir.string()};
  shell::TForm1 form{GetParam(), platform};
};

TEST_P(PointTableForm, TypedAndSetPointsReachTheControllerHeldWithinItsLimitsAndCancelDoesNot) {
  // A cell that is not a number keeps the table open; a value beyond the limits typed
  // just before OK is held and shown, not applied; then the user cancels.
  dialogs.AnswerTable([](const ui::TableRequest& request, ui::TableState& state) {
    state.rows[4][3] = "abc";
    EXPECT_FALSE(request.ok(state));
    EXPECT_EQ(state.note, "Advance 2 of point 5, \"abc\", is not a whole number of degrees.");
    state.rows[4][3] = "40";
    EXPECT_FALSE(request.ok(state));
    EXPECT_EQ(state.rows[4][3], "20");
    return false;
  });
  Choose("&Edit points...");
  std::string held_note;
  dialogs.AnswerTable([&](const ui::TableRequest& request, ui::TableState& state) {
    EXPECT_EQ(state.rows[25][1], GetParam() == Variant::Palunor6 ? "11000" : "8000");
    state.rows[13][3] = "+12";  // point 14 of Advance 2
    state.rows[20][2] = "30";   // beyond the controller's +20
    state.first_row = 1;
    state.last_row = 4;
    state.value = "-3";
    request.act(0, state);  // Set Advance 1
    EXPECT_NE(state.note.find("Advance 1 point 21"), std::string::npos) << state.note;
    state.first_row = 0;
    state.last_row = 0;
    state.value = "-14";
    request.act(4, state);  // Set Advance 2: point 1 goes no lower than -12
    held_note = state.note;
    return true;
  });
  Choose("&Edit points...");
  SendBoth();
  EXPECT_NE(held_note.find("Advance 2 point 1."), std::string::npos) << held_note;

  protocol::CurvePoints one = Flat();
  one[1] = one[2] = one[3] = one[4] = 22;
  one[20] = 45;
  protocol::CurvePoints two = Flat();
  two[13] = 37;
  two[0] = 13;
  EXPECT_EQ(controller.Ram(1), one);
  EXPECT_EQ(controller.Ram(2), two);
}

TEST_P(PointTableForm, ExportedCurvesImportedAgainReachTheController) {
  controller.Ram(1) = Ramp(3);
  controller.Ram(2) = Ramp(20);
  Read();
  const std::string exported = Export("unit 7.csv");
  EXPECT_TRUE(exported.starts_with("Point,RPM,Advance 1,Advance 2\r\n1,")) << exported;

  controller.Ram(1) = Flat();
  controller.Ram(2) = Flat();
  Read();
  Import("unit 7.csv");
  SendBoth();
  EXPECT_EQ(controller.Ram(1), Ramp(3));
  EXPECT_EQ(controller.Ram(2), Ramp(20));
  EXPECT_EQ(dialogs.History().size(), 4u);  // two menus and two file dialogs, no message
}

TEST_P(PointTableForm, ARefusedImportSaysWhyAndChangesNothing) {
  controller.Ram(1) = Ramp(3);
  controller.Ram(2) = Ramp(20);
  Read();
  const std::string before = Export("before.csv");
  const std::string rows = before.substr(before.find('\n') + 1);
  struct Refused {
    std::string text;
    const char* says;
  };
  for (const Refused& refused :
       {Refused{before.substr(0, before.find("\r\n11,") + 2),
                "The file ends at line 11 after 10 points"},
        Refused{"Point,RPM,Advance 1,Advance 2\n" + rows.substr(0, rows.find("\r\n")) + ",9\r\n",
                "Line 2: 5 values"},
        Refused{before.substr(0, before.rfind(",")) + ",-13\r\n",
                "Line 27: advance 2 of point 26 is -13 degrees"},
        Refused{std::string(70000, ','), "larger than 64 KB"}}) {
    Write("refused.csv", refused.text);
    dialogs.ClearHistory();
    Import("refused");  // the extension is added as the dialog would
    ASSERT_EQ(dialogs.History().back().kind, "MessageBox");
    EXPECT_NE(dialogs.History().back().text.find(refused.says), std::string::npos)
        << dialogs.History().back().text;
    EXPECT_EQ(Export("after.csv"), before) << refused.says;
  }
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, PointTableForm,
                         ::testing::Values(Variant::Palunor6, Variant::Palunor));

}  // namespace
