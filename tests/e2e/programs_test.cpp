// Guards both programs end to end, as a user meets them with the emulator attached:
// the controller is found, both curves and the options are read, an edited curve is
// sent and recorded, every option is changed on the controller, and a pulled cable
// is noticed and the controller found again when it comes back.
#include <gtest/gtest.h>

#include "map/axis.h"
#include "tests/e2e/e2e_harness.h"

namespace {

using e2e::E2e;
using e2e::EmulatorState;

class BothPrograms : public ::testing::TestWithParam<ui::Variant> {};

INSTANTIATE_TEST_SUITE_P(EndToEnd, BothPrograms,
                         ::testing::Values(ui::Variant::Palunor6, ui::Variant::Palunor),
                         [](const auto& info) {
                           return info.param == ui::Variant::Palunor6 ? "Palunor6" : "Palunor";
                         });

// The controller found and both curves read, as a session begins.
void FindAndRead(E2e& e2e) {
  ASSERT_TRUE(e2e.EmulatorStarted());
  ASSERT_TRUE(e2e.WaitUntilFound()) << e2e.Caption();
  e2e.Click("RDBut");
  ASSERT_TRUE(e2e.WaitForStatus("Lines Received!")) << e2e.Text("lblstat");
}

TEST_P(BothPrograms, FindsTheControllerAndReadsBothCurvesAndItsOptions) {
  E2e e2e(GetParam());
  ASSERT_TRUE(e2e.EmulatorStarted());
  ASSERT_TRUE(e2e.WaitUntilFound()) << e2e.Caption();
  EXPECT_EQ(e2e.Caption(), "VYN Advance Controller Program (QZR Version 6.0, Dual Channel)");
  EXPECT_TRUE(e2e.Shown("pnStatus"));
  EXPECT_TRUE(e2e.Enabled("RDBut"));

  const EmulatorState before = e2e.State();
  ASSERT_NE(before.Curve("ram1"), before.Curve("ram2")) << "the test needs two distinct curves";
  e2e.Click("RDBut");
  ASSERT_TRUE(e2e.WaitForStatus("Lines Received!")) << e2e.Text("lblstat");

  EXPECT_EQ(E2e::Values(e2e.Model().AdvCurves[0]), before.Curve("ram1"));
  EXPECT_EQ(E2e::Values(e2e.Model().AdvCurves[1]), before.Curve("ram2"));
  EXPECT_EQ(e2e.Model().DeviceCurves, e2e.Model().AdvCurves);
  // Curve 2 was shown before the read, and is shown again after it.
  EXPECT_EQ(e2e.Model().CurrentCurve, 2);
  EXPECT_EQ(e2e.ShownCurve(), before.Curve("ram2"));
  EXPECT_FALSE(e2e.Shown("Label34"));

  // The emulator starts at 5 V out, positive input, bypass 4 steps, Vref 3 steps.
  ASSERT_EQ(before.Item("output"), "5");
  ASSERT_EQ(before.Item("bypass_step"), "4");
  EXPECT_EQ(e2e.Text("lblOutV"), "5 V");
  EXPECT_EQ(e2e.Text("lblInV"), "Positive");
  EXPECT_EQ(e2e.Text("lblTV"), "2.0 S");
  EXPECT_EQ(e2e.Text("lblVrV"), "1.0 V");
  EXPECT_EQ(e2e.Text("V5But"), "12 V out");
}

TEST_P(BothPrograms, SendsTheCurveEditedWithTheArrowKeysAndRecordsItInEeprom) {
  E2e e2e(GetParam());
  ASSERT_NO_FATAL_FAILURE(FindAndRead(e2e));

  // Point 4 of the shown curve 2, three degrees more advance. The Read button keeps
  // the focus and swallows keys until a click on the chart's next-point arrow.
  const std::vector<int> read = e2e.ShownCurve();
  e2e.Keys(Qt::Key_Up, 1);
  ASSERT_EQ(e2e.ShownCurve(), read);
  e2e.Click("SpeedButton4");
  e2e.Keys(Qt::Key_Right, 2);
  e2e.Keys(Qt::Key_Up, 3);
  std::vector<int> edited = read;
  edited[3] += 3;
  ASSERT_EQ(e2e.ShownCurve(), edited);
  EXPECT_TRUE(e2e.Shown("Label34"));

  e2e.Click("SDBut");
  ASSERT_TRUE(e2e.WaitForStatus("LINE 2 SENT")) << e2e.Text("lblstat");
  EXPECT_EQ(e2e.State().Curve("ram2"), edited);
  EXPECT_EQ(e2e.State().Curve("eeprom2"), read);
  EXPECT_EQ(E2e::Values(e2e.Model().DeviceCurves[1]), edited);
  EXPECT_FALSE(e2e.Shown("Label34"));
  EXPECT_TRUE(e2e.Shown("Label35"));

  e2e.Click("Button6");
  ASSERT_TRUE(e2e.WaitForStatus("LINE 2 SAVED")) << e2e.Text("lblstat");
  EXPECT_EQ(e2e.State().Curve("eeprom2"), edited);
  EXPECT_EQ(e2e.State().Curve("eeprom1"), e2e.State().Curve("ram1"));
  EXPECT_FALSE(e2e.Shown("Label35"));
}

TEST_P(BothPrograms, ChangesEveryOptionOnTheController) {
  E2e e2e(GetParam());
  ASSERT_NO_FATAL_FAILURE(FindAndRead(e2e));
  e2e.Click("btnAdvSet");
  ASSERT_TRUE(e2e.Shown("Panel2"));

  // 12 V only after the warning is answered OK; back to 5 V without a question.
  e2e.AnswerNextMessageBox(QMessageBox::Ok);
  e2e.Click("V5But");
  EXPECT_EQ(e2e.LastMessage(),
            "                Attention!!!\r\n12V could damage the commutator\r\n"
            "        Do you want to proceed");
  ASSERT_TRUE(e2e.WaitForStatus("Output Volt. Changed!"));
  EXPECT_EQ(e2e.State().Item("output"), "12");
  EXPECT_EQ(e2e.Text("lblOutV"), "12 V");
  EXPECT_EQ(e2e.Text("V5But"), " 5 V out");
  e2e.Click("V5But");
  ASSERT_TRUE(e2e.WaitForState([](const EmulatorState& s) { return s.Item("output") == "5"; }));
  ASSERT_TRUE(e2e.WaitFor([&] { return e2e.Text("lblOutV") == "5 V"; }));
  EXPECT_EQ(e2e.Text("V5But"), "12 V out");

  e2e.Click("btnPN");
  ASSERT_TRUE(
      e2e.WaitForState([](const EmulatorState& s) { return s.Item("input") == "negative"; }));
  ASSERT_TRUE(e2e.WaitForStatus("Input Signal Changed!"));
  EXPECT_EQ(e2e.Text("lblInV"), "Negative");

  // The read left the bypass chooser at 4; one step down and set.
  e2e.ClickArrow("UpDown3", false);
  EXPECT_EQ(e2e.Text("lblTime"), "Time: 1.5sec");
  e2e.Click("btnSetTime");
  ASSERT_TRUE(e2e.WaitForStatus("Time Changed!"));
  EXPECT_EQ(e2e.State().Item("bypass_step"), "3");
  EXPECT_EQ(e2e.Text("lblTV"), "1.5 S");
  EXPECT_FALSE(e2e.Enabled("btnSetTime"));

  e2e.Click("chTen");
  ASSERT_TRUE(e2e.WaitForState([](const EmulatorState& s) { return s.Item("bypass") == "off"; }));
  ASSERT_TRUE(e2e.WaitFor([&] { return e2e.Text("lblTV") == "OFF"; }));
  e2e.Click("chTen");
  ASSERT_TRUE(e2e.WaitForState([](const EmulatorState& s) { return s.Item("bypass") == "on"; }));
  ASSERT_TRUE(e2e.WaitFor([&] { return e2e.Text("lblTV") == "1.5 S"; }));
  EXPECT_EQ(e2e.State().Item("bypass_step"), "3");

  e2e.ClickArrow("UpDown4", true);
  EXPECT_EQ(e2e.Text("lblVref"), "1.33V");
  e2e.Click("btnSVref");
  ASSERT_TRUE(e2e.WaitForStatus("Vref Changed!"));
  EXPECT_EQ(e2e.State().Item("vref_step"), "4");
  EXPECT_EQ(e2e.Text("lblVrV"), "1.33 V");

  e2e.Click("btnAdvSet");
  EXPECT_FALSE(e2e.Shown("Panel2"));
}

TEST_P(BothPrograms, DeclaresTheControllerLostWhenUnpluggedAndFindsItAgain) {
  E2e e2e(GetParam());
  ASSERT_TRUE(e2e.EmulatorStarted());
  ASSERT_TRUE(e2e.WaitUntilFound()) << e2e.Caption();

  ASSERT_TRUE(e2e.Controller().Unplug());
  ASSERT_TRUE(e2e::WaitUntil(
      [&] { return e2e.Caption() == "VYN Advance Controller Program (No QZR Present!)"; },
      e2e::kSupervisionLimit));
  EXPECT_EQ(e2e.Text("lblstat"), "Device Disconnected!");
  EXPECT_FALSE(e2e.Enabled("RDBut"));
  EXPECT_FALSE(e2e.Enabled("SDBut"));

  // Plugged in again on the same port: found with no action by the user.
  ASSERT_TRUE(e2e.Controller().Replug());
  ASSERT_TRUE(e2e.WaitUntilFound()) << e2e.Caption();
  EXPECT_TRUE(e2e.Enabled("RDBut"));
  e2e.Click("RDBut");
  ASSERT_TRUE(e2e.WaitForStatus("Lines Received!"));
  EXPECT_EQ(E2e::Values(e2e.Model().AdvCurves[0]), e2e.State().Curve("ram1"));
}

// Palunor6 also knows the PLX model: identified by it, read with "RD", and sent the
// point code of the selected point instead of a curve.
TEST(Palunor6WithPlx, FindsReadsAndSendsThePointCode) {
  E2e e2e(ui::Variant::Palunor6, {"--model", "PLX", "--version", "52"});
  ASSERT_TRUE(e2e.EmulatorStarted());
  ASSERT_TRUE(e2e.WaitUntilFound("PLX")) << e2e.Caption();
  EXPECT_EQ(e2e.Caption(), "VYN Advance Controller Program (PLX Version 5.2)");

  e2e.Click("RDBut");
  ASSERT_TRUE(e2e.WaitForStatus("Lines Received!"));
  EXPECT_EQ(E2e::Values(e2e.Model().AdvCurves[0]), e2e.State().Curve("ram1"));

  e2e.Click("SpeedButton4");
  e2e.Keys(Qt::Key_Right, 4);
  ASSERT_EQ(e2e.Model().SelectedPoint, 6);
  e2e.Click("SDBut");
  ASSERT_TRUE(e2e.WaitForStatus("LINE 2 SENT")) << e2e.Text("lblstat");
  EXPECT_EQ(e2e.State().Item("point_code"), std::to_string(map::PointCodes[5]));
}

}  // namespace
