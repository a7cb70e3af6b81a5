// Guards the options panel and the status panel: the option commands with their
// texts and the 12 V warning, the controller's confirmations, and the option status
// that ends a Read, applied in its order and within the choosers' ranges.
#include "live/options_panel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "live/status_panel.h"
#include "protocol/link_bench.h"
#include "testing/recording_canvas.h"

namespace {

using test::CurveReplyOf;
using test::LinkBench;
using test::Ramp;
using ui::Variant;

constexpr const char* kWarning =
    "                Attention!!!\r\n12V could damage the commutator\r\n        Do you want to "
    "proceed";

// Runs a whole Read whose second reply carries the given option bytes; the lockout
// of the Read has run out before the second reply arrives.
void ReadWithOptions(LinkBench& bench, char polarity, int voltage, int vref, int bypass) {
  bench["RDBut"].Click();
  bench.Receive(CurveReplyOf(Ramp(1)));
  bench.clock.Advance(700);
  bench.Receive(CurveReplyOf(Ramp(2), polarity, voltage, vref, bypass));
}

class OptionsPanelTest : public ::testing::TestWithParam<Variant> {
 protected:
  // A controller is identified and the user has opened the options panel.
  void SetUp() override {
    bench.Identify();
    bench["btnAdvSet"].Click();
  }
  LinkBench bench{GetParam()};
};

TEST_P(OptionsPanelTest, SwitchingTo12VolsAsksFirstAndOnlyOkSends) {
  bench.options.Output5V = true;
  bench.dialogs.Answer(ui::DialogResult::Cancel);
  bench["V5But"].Click();
  ASSERT_EQ(bench.dialogs.History().size(), 1u);
  const auto& dialog = bench.dialogs.History().back();
  EXPECT_EQ(dialog.kind, "MessageDlg");
  EXPECT_EQ(dialog.text, kWarning);
  EXPECT_EQ(dialog.icon, ui::DialogIcon::Warning);
  EXPECT_EQ(dialog.buttons, ui::DialogButtons::OkCancel);
  EXPECT_EQ(bench.TakeWritten(), "");
  EXPECT_TRUE(bench.Timer1.Enabled());
  // Nothing was written: the supervision goes on watching the link.
  EXPECT_TRUE(bench.Timer3.Enabled());
  bench.clock.Advance(700);
  bench.dialogs.Answer(ui::DialogResult::Ok);
  bench["V5But"].Click();
  EXPECT_EQ(bench.TakeWritten(), "O12");
}

TEST_P(OptionsPanelTest, SwitchingTo5VoltsSendsAtOnce) {
  bench["V5But"].Click();
  EXPECT_EQ(bench.TakeWritten(), "O05");
  EXPECT_TRUE(bench.dialogs.History().empty());
}

TEST_P(OptionsPanelTest, PolarityIsNotSentOnAClosedPortWhichStaysClosed) {
  bench.options.InputPositive = true;
  bench.CPDrv.ClosePort();
  bench["btnPN"].Click();
  EXPECT_FALSE(bench.CPDrv.IsOpen());
  EXPECT_TRUE(bench.dialogs.History().empty());
  EXPECT_FALSE(bench.Timer3.Enabled());
  EXPECT_TRUE(bench.Timer1.Enabled());
  bench.CPDrv.OpenPort();
  bench.clock.Advance(700);
  bench["btnPN"].Click();
  EXPECT_EQ(bench.TakeWritten(), "INF");
}

TEST_P(OptionsPanelTest, TheBypassChooserShowsHalfSecondsAndSetTimeSendsTheStep) {
  const std::vector<std::string> times = {"Time: 0.5sec", "Time: 1.0sec", "Time: 1.5sec",
                                          "Time: 2.0sec"};
  const std::vector<std::string> shown = {"0.5 S", "1.0 S", "1.5 S", "2.0 S"};
  for (int step = 2; step <= 4; ++step) {
    bench["UpDown3"].UpDownClick(true);
    EXPECT_EQ(bench.options.BypassStep, step);
    EXPECT_EQ(bench["lblTime"].Caption(), times[step - 1]);
    EXPECT_TRUE(bench["btnSetTime"].Enabled());
  }
  bench["UpDown3"].UpDownClick(true);  // no wrap-around past 4
  EXPECT_EQ(bench.options.BypassStep, 4);
  for (int step = 1; step <= 4; ++step) {
    bench.options.BypassStep = step;
    bench.status.SRefresh(ui::kRed, live::StatusItem::BypassTime);
    EXPECT_EQ(bench["lblTV"].Caption(), shown[step - 1]);
  }
  bench.options.BypassStep = 4;
  bench["btnSetTime"].Click();
  EXPECT_EQ(bench.TakeWritten(), "TT\x04");
  EXPECT_FALSE(bench["UpDown3"].Enabled());
}

TEST_P(OptionsPanelTest, TheReferenceChooserShowsEveryStepInHundredthsOfAVolt) {
  const std::vector<std::string> texts = {"1.0V",  "1.33V", "1.67V", "2.0V",  "2.33V",
                                          "2.67V", "3.0V",  "3.33V", "3.67V", "4.0V",
                                          "4.33V", "4.67V", "5.0V"};
  for (int step = 4; step <= 15; ++step) {
    bench["UpDown4"].UpDownClick(true);
    EXPECT_EQ(bench["lblVref"].Caption(), texts[static_cast<std::size_t>(step - 3)]) << step;
    EXPECT_TRUE(bench["btnSVref"].Enabled());
  }
  bench["btnSVref"].Click();
  EXPECT_EQ(bench.TakeWritten(), "PR\x0f");
  EXPECT_FALSE(bench["UpDown4"].Enabled());
  bench.Receive("CHR");
  EXPECT_TRUE(bench["UpDown4"].Enabled());
  EXPECT_FALSE(bench["btnSVref"].Enabled());
  EXPECT_EQ(bench["lblVrV"].Caption(), "5.0 V");
  EXPECT_EQ(bench["lblstat"].Caption(), "Vref Changed!");
}

TEST_P(OptionsPanelTest, ConfirmationsChangeTheOptionAndShowTheirMessage) {
  struct Case {
    const char* reply;
    const char* label;
    const char* value;
    const char* message;
  };
  const Case cases[] = {
      {"CH05", "lblOutV", "5 V", "Output Volt. Changed!"},
      {"CH12", "lblOutV", "12 V", "Output Volt. Changed!"},
      {"CHPF", "lblInV", "Positive", "Input Signal Changed!"},
      {"CHNF", "lblInV", "Negative", "Input Signal Changed!"},
  };
  for (const Case& c : cases) {
    bench.Timer3.SetEnabled(false);
    bench.Receive(c.reply);
    EXPECT_EQ(bench[c.label].Caption(), c.value) << c.reply;
    EXPECT_EQ(bench[c.label].FontColor(), ui::kRed) << c.reply;
    EXPECT_EQ(bench["lblstat"].Caption(), c.message) << c.reply;
    EXPECT_EQ(bench["lblstat"].FontColor(), ui::kGreen) << c.reply;
    EXPECT_TRUE(bench.Timer3.Enabled()) << c.reply;
  }
  bench.Receive("CH05");
  EXPECT_TRUE(bench.options.Output5V);
  EXPECT_EQ(bench["V5But"].Caption(), "12 V out");
  bench.Receive("CHPF");
  EXPECT_TRUE(bench.options.InputPositive);
  EXPECT_EQ(bench["btnPN"].GetPicture(), ui::Picture::PulseNegative);
  bench.Receive("CHNF");
  EXPECT_EQ(bench["btnPN"].GetPicture(), ui::Picture::PulsePositive);
}

TEST_P(OptionsPanelTest, TimeOffShowsOffUntilTheNextTimeIsConfirmed) {
  bench["chTen"].SetChecked(false);
  EXPECT_EQ(bench.TakeWritten(), "TTS");
  EXPECT_TRUE(bench.Timer3.Enabled());
  bench.Receive("CHS");
  EXPECT_EQ(bench["lblTV"].Caption(), "OFF");
  EXPECT_FALSE(bench["btnSetTime"].Enabled());
  EXPECT_FALSE(bench["lblTime"].Enabled());
  EXPECT_FALSE(bench["UpDown3"].Enabled());
  EXPECT_EQ(bench["lblstat"].Caption(), "Time Changed!");
  bench.Receive("CHT");
  EXPECT_EQ(bench["lblTV"].Caption(), "0.5 S");
  EXPECT_TRUE(bench["UpDown3"].Enabled());
  EXPECT_TRUE(bench["lblTime"].Enabled());
}

TEST_P(OptionsPanelTest, TheOptionStatusKeepsTheChoosersWithinTheirRanges) {
  ReadWithOptions(bench, 'N', 12, 1, 20);
  EXPECT_EQ(bench["UpDown3"].Position(), 4);
  EXPECT_EQ(bench.options.BypassStep, 4);
  EXPECT_EQ(bench["lblTV"].Caption(), "2.0 S");
  EXPECT_EQ(bench["UpDown4"].Position(), 3);
  EXPECT_EQ(bench.options.VrefStep, 3);
  EXPECT_EQ(bench["lblVref"].Caption(), "1.0V");
  EXPECT_EQ(bench["lblVrV"].Caption(), "1.0 V");
  EXPECT_EQ(bench["lblOutV"].Caption(), "12 V");
  EXPECT_EQ(bench["lblInV"].Caption(), "Negative");
}

TEST_P(OptionsPanelTest, AReferenceByteMovesTheChooser) {
  ReadWithOptions(bench, 'P', 5, 6, 2);
  EXPECT_EQ(bench["UpDown4"].Position(), 6);
  EXPECT_EQ(bench["lblVref"].Caption(), "2.0V");
  EXPECT_EQ(bench["lblVrV"].Caption(), "2.0 V");
  EXPECT_EQ(bench["lblVrV"].FontColor(), ui::kRed);
  EXPECT_TRUE(bench["btnSVref"].Enabled());
  EXPECT_EQ(bench["V5But"].Caption(), "12 V out");
  EXPECT_EQ(bench["btnPN"].GetPicture(), ui::Picture::PulseNegative);
}

TEST_P(OptionsPanelTest, OutOfRangeOptionBytesAreIgnored) {
  bench.options.Output5V = true;
  bench.options.InputPositive = true;
  ReadWithOptions(bench, 'x', 7, 16, 0);
  EXPECT_TRUE(bench.options.Output5V);
  EXPECT_TRUE(bench.options.InputPositive);
  EXPECT_EQ(bench.options.VrefStep, 3);
  EXPECT_EQ(bench.options.BypassStep, 1);
  EXPECT_TRUE(bench["chTen"].Checked());
  EXPECT_EQ(bench["lblstat"].Caption(), "Lines Received!");
}

TEST_P(OptionsPanelTest, TimeOffInTheOptionStatusUnchecksTheBoxWhichSendsOutsideTheLockout) {
  ReadWithOptions(bench, 'P', 5, 3, 'S');
  EXPECT_FALSE(bench["chTen"].Checked());
  EXPECT_EQ(bench["lblTV"].Caption(), "OFF");
  EXPECT_FALSE(bench["btnSetTime"].Enabled());
  EXPECT_EQ(bench.TakeWritten(), "RD1RD2TTS");
}

TEST_P(OptionsPanelTest, AnOptionStatusWithinTheLockoutChangesTheBoxButSendsNothing) {
  bench["chTen"].SetChecked(false);
  bench.clock.Advance(700);
  bench.TakeWritten();
  bench["RDBut"].Click();
  bench.Receive(CurveReplyOf(Ramp(1)));
  bench.Receive(CurveReplyOf(Ramp(2), 'P', 5, 3, 3));
  EXPECT_TRUE(bench["chTen"].Checked());
  EXPECT_EQ(bench.TakeWritten(), "RD1RD2");
  EXPECT_EQ(bench["lblTime"].Caption(), "Time: 1.5sec");
}

TEST_P(OptionsPanelTest, ThePanelToggledTwiceIsHiddenAgain) {
  bench["btnAdvSet"].Click();
  ASSERT_FALSE(bench["Panel2"].Visible());
  bench["btnAdvSet"].Click();
  EXPECT_TRUE(bench["Panel2"].Visible());
  EXPECT_EQ(bench["btnAdvSet"].Caption(), "&Advanced<<");
  bench["btnAdvSet"].Click();
  EXPECT_FALSE(bench["Panel2"].Visible());
  EXPECT_EQ(bench["btnAdvSet"].Caption(), "&Advanced>>");
}

TEST_P(OptionsPanelTest, ItemsThreeAndSevenChangeNothing) {
  bench.options.StatusText = "kept";
  std::vector<std::string> changed;
  bench.controls.Subscribe([&](ui::Control& c, ui::Property) { changed.push_back(c.Name()); });
  bench.status.SRefresh(ui::kRed, 3);
  bench.status.SRefresh(ui::kRed, 7);
  bench.status.SRefresh(ui::kRed, 0);
  EXPECT_TRUE(changed.empty());
  EXPECT_EQ(bench.options.StatusText, "kept");
}

TEST_P(OptionsPanelTest, TheInputItemDrawsThePulseOfThePolarity) {
  auto& canvas = static_cast<ui::RecordingCanvas&>(*bench["imgInV"].GetCanvas());
  const int w = canvas.Width();
  const int h = canvas.Height();
  for (bool positive : {true, false}) {
    canvas.Clear();
    bench.options.InputPositive = positive;
    bench.status.SRefresh(ui::kYellow, live::StatusItem::InputSignal);
    ASSERT_EQ(canvas.Ops().size(), 2u);
    EXPECT_EQ(canvas.Ops()[0].kind, ui::DrawKind::FillRect);
    EXPECT_EQ(canvas.Ops()[0].brush.color, ui::kBlack);
    const ui::DrawOp& line = canvas.Ops()[1];
    EXPECT_EQ(line.kind, ui::DrawKind::Polyline);
    EXPECT_EQ(line.pen.color, ui::kYellow);
    EXPECT_EQ(line.pen.width, 2);
    const int low = h - 2;
    const int high = 2;
    const int ends = positive ? low : high;
    const int middle = positive ? high : low;
    const std::vector<ui::Point> expected = {{w - 2, ends}, {w - 7, ends}, {w - 7, middle},
                                             {7, middle},   {7, ends},     {2, ends}};
    EXPECT_EQ(line.points, expected);
    EXPECT_EQ(bench["lblInV"].Caption(), positive ? "Positive" : "Negative");
  }
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, OptionsPanelTest,
                         ::testing::Values(Variant::Palunor6, Variant::Palunor));

}  // namespace
