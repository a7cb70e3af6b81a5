// Guards the command lockout, every handler's row of the lockout table, and the
// Read, Send and EEPROM sequences with their pending marks.
#include "protocol/transfers.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "map/axis.h"
#include "protocol/link_bench.h"

namespace {

using test::CurveReplyOf;
using test::LinkBench;
using test::Ramp;
using ui::Variant;

TEST(CommandLockout, EndsAtTheSixthTickAndClearsTheTraceLabel) {
  LinkBench bench(Variant::Palunor6);
  bench.Identify();
  bench["Label31"].SetCaption("trace");
  bench["Button6"].Click();
  bench.clock.Advance(500);
  EXPECT_TRUE(bench.Timer1.Enabled());
  EXPECT_EQ(bench["Label31"].Caption(), "trace");
  bench.clock.Advance(100);
  EXPECT_FALSE(bench.Timer1.Enabled());
  EXPECT_EQ(bench.BusyTicks(), 6);
  EXPECT_EQ(bench["Label31"].Caption(), "");
}

// One row of the lockout table.
struct Row {
  const char* name;
  std::function<void(LinkBench&)> click;
  bool restarts_count;
  bool stops_timer3;
  bool opens_port;
  std::string sends;  // the command at a first click, with the options at start
  friend void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }
};

class LockoutTable : public ::testing::TestWithParam<Row> {};

TEST_P(LockoutTable, ARefusedClickSendsNothingAndTreatsTheCountAsTheTableSays) {
  const Row& row = GetParam();
  LinkBench bench(Variant::Palunor6);
  bench.Identify();
  bench["VerBut"].Click();
  bench.TakeWritten();
  bench.clock.Advance(300);
  bench.Timer3.SetEnabled(true);
  row.click(bench);
  EXPECT_EQ(bench.TakeWritten(), "");
  EXPECT_EQ(bench.BusyTicks(), row.restarts_count ? 0 : 3);
  EXPECT_TRUE(bench.Timer3.Enabled());
}

TEST_P(LockoutTable, AnAcceptedClickStartsTheLockoutAndSends) {
  const Row& row = GetParam();
  LinkBench bench(Variant::Palunor6);
  bench.Identify();
  bench.Timer3.SetEnabled(true);
  row.click(bench);
  EXPECT_EQ(bench.TakeWritten(), row.sends);
  EXPECT_TRUE(bench.Timer1.Enabled());
  EXPECT_EQ(bench.BusyTicks(), 0);
  EXPECT_EQ(bench.Timer3.Enabled(), !row.stops_timer3);
}

TEST_P(LockoutTable, AClosedPortIsOpenedFirstOnlyWhereTheTableSaysSo) {
  const Row& row = GetParam();
  LinkBench bench(Variant::Palunor6);
  bench.Identify();
  bench.CPDrv.ClosePort();
  row.click(bench);
  EXPECT_EQ(bench.CPDrv.IsOpen(), row.opens_port);
  EXPECT_EQ(bench.TakeWritten(), row.opens_port ? row.sends : "");
  EXPECT_TRUE(bench.Timer1.Enabled());
}

void Click(LinkBench& bench, const char* name) {
  bench[name].Click();
}

// A button of the options panel, opened and enabled as the user would find it.
void Press(LinkBench& bench, const char* name) {
  bench["Panel2"].SetVisible(true);
  bench[name].SetEnabled(true);
  bench[name].Click();
}

INSTANTIATE_TEST_SUITE_P(
    EveryHandler, LockoutTable,
    ::testing::Values(
        Row{"Read", [](LinkBench& b) { Click(b, "RDBut"); }, true, true, true, "RD1"},
        Row{"Send", [](LinkBench& b) { Click(b, "SDBut"); }, false, true, true,
            "SD2" + std::string(26, '\0')},
        Row{"Eeprom", [](LinkBench& b) { Click(b, "Button6"); }, true, true, true, "EW2"},
        Row{"Voltage", [](LinkBench& b) { Press(b, "V5But"); }, true, true, true, "O05"},
        Row{"Polarity", [](LinkBench& b) { Press(b, "btnPN"); }, true, true, false, "IPF"},
        Row{"SetTime", [](LinkBench& b) { Press(b, "btnSetTime"); }, false, true, true, "TT\x01"},
        Row{"SetVref", [](LinkBench& b) { Press(b, "btnSVref"); }, false, true, true, "PR\x03"},
        Row{"TimeOff", [](LinkBench& b) { b["chTen"].SetChecked(false); }, false, false, true,
            "TTS"},
        Row{"Version", [](LinkBench& b) { Click(b, "VerBut"); }, false, false, true, "VER"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LockoutTable, CheckingTheTimeBoxSendsTheTimeAndStopsTheSupervision) {
  LinkBench bench(Variant::Palunor6);
  bench.Identify();
  bench["chTen"].SetChecked(false);
  bench.clock.Advance(700);
  bench.TakeWritten();
  bench.Timer3.SetEnabled(true);
  bench["chTen"].SetChecked(true);
  EXPECT_EQ(bench.TakeWritten(), "TT\x01");
  EXPECT_FALSE(bench.Timer3.Enabled());
  EXPECT_FALSE(bench["UpDown3"].Enabled());
}

TEST(ReadSequence, ReadWhileCurveTwoIsShownAsksBothCurvesAndShowsCurveTwoAgain) {
  LinkBench bench(Variant::Palunor6);
  bench.Identify();
  bench.model.Working(2)[4] = 40;  // an edit the controller has not seen
  bench["Label34"].SetVisible(true);
  bench["RDBut"].Click();
  EXPECT_EQ(bench.TakeWritten(), "RD1");
  // The curve shown stays the one the editor acts on until a reply shows another.
  EXPECT_EQ(bench.model.CurrentCurve, 2);
  EXPECT_EQ(bench.model.CurveBeforeRead, 2);
  EXPECT_EQ(bench["lblstat"].Caption(), "");
  EXPECT_FALSE(bench.Timer3.Enabled());
  bench.clock.Advance(100);
  bench.Receive(CurveReplyOf(Ramp(3)));
  EXPECT_EQ(bench.TakeWritten(), "RD2");
  // The second request is part of the Read: no lockout test, no restart of the count.
  EXPECT_EQ(bench.BusyTicks(), 1);
  EXPECT_EQ(bench.model.CurrentCurve, 1);
  EXPECT_EQ(bench["Button2"].Caption(), "Advance &2");
  // Curve 2 still holds the edit: the mark stays until its reply replaces it.
  EXPECT_TRUE(bench["Label34"].Visible());
  EXPECT_EQ(bench.model.GaugeAdvance, Ramp(3)[0]);
  bench.clock.Advance(100);
  bench.Receive(CurveReplyOf(Ramp(9)));
  EXPECT_EQ(bench.model.CurrentCurve, 2);
  EXPECT_EQ(bench.model.DeviceCurves, bench.model.AdvCurves);
  EXPECT_TRUE(bench.model.CurvesInSync);
  EXPECT_FALSE(bench["Label34"].Visible());
  EXPECT_EQ(bench["lblstat"].Caption(), "Lines Received!");
  EXPECT_TRUE(bench.Timer3.Enabled());
}

TEST(ReadSequence, ReadWhileCurveOneIsShownEndsWithCurveOneShown) {
  LinkBench bench(Variant::Palunor);
  bench.Identify();
  bench.model.CurrentCurve = 1;
  bench["RDBut"].Click();
  bench.Receive(CurveReplyOf(Ramp(3)));
  bench.Receive(CurveReplyOf(Ramp(9)));
  EXPECT_EQ(bench.TakeWritten(), "RD1RD2");
  EXPECT_EQ(bench.model.CurrentCurve, 1);
  EXPECT_EQ(bench.model.Working(1), Ramp(3));
}

TEST(ReadSequence, APlxControllerIsAskedWithRdAndItsReplyFillsCurveOne) {
  LinkBench bench(Variant::Palunor6);
  bench.Identify("PLX");
  bench["RDBut"].Click();
  EXPECT_EQ(bench.TakeWritten(), "RD");
  bench.Receive(CurveReplyOf(Ramp(3)));
  EXPECT_EQ(bench.TakeWritten(), "RD2");
  EXPECT_EQ(bench.model.Working(1), Ramp(3));
}

TEST(ReadSequence, ARefusedReadLeavesTheCurveNumbersAndTheReadUnderWay) {
  LinkBench bench(Variant::Palunor6);
  bench.Identify();
  bench["RDBut"].Click();
  bench.Receive(CurveReplyOf(Ramp(3)));
  bench.TakeWritten();
  bench["RDBut"].Click();  // within the lockout of the first click
  EXPECT_EQ(bench.TakeWritten(), "");
  EXPECT_EQ(bench.model.CurrentCurve, 1);
  EXPECT_EQ(bench.model.CurveBeforeRead, 2);
  bench.Receive(CurveReplyOf(Ramp(9)));
  EXPECT_EQ(bench.model.Working(1), Ramp(3));
  EXPECT_EQ(bench.model.Working(2), Ramp(9));
  EXPECT_EQ(bench.model.CurrentCurve, 2);
}

TEST(ReadSequence, ReadEmptiesTheBufferAfterItsRequest) {
  LinkBench bench(Variant::Palunor6);
  bench.Identify();
  ASSERT_FALSE(bench.RxBuffer().empty());
  bench["RDBut"].Click();
  EXPECT_EQ(bench.RxBuffer(), "");
}

TEST(ReadSequence, AnUnopenablePortIsReportedAndTheLockoutStillRuns) {
  LinkBench bench(Variant::Palunor6);
  bench.Identify();
  bench.CPDrv.ClosePort();
  bench.wire->available = false;
  bench["RDBut"].Click();
  EXPECT_EQ(bench.dialogs.History().size(), 1u);
  EXPECT_EQ(bench.TakeWritten(), "");
  EXPECT_TRUE(bench.Timer1.Enabled());
  EXPECT_FALSE(bench.form.Recogniser().CurveAwaited());
}

TEST(SendSequence, SendWritesTheCurrentCurveAsPointBytes) {
  LinkBench bench(Variant::Palunor6);
  bench.Identify();
  bench.model.CurrentCurve = 1;
  bench.model.Working(1)[1] = 26;
  bench.model.Working(1)[2] = 24;
  bench["SDBut"].Click();
  std::string expected = "SD1";
  expected += '\0';
  expected += '\x01';
  expected += '\x81';
  expected += std::string(23, '\0');
  EXPECT_EQ(bench.TakeWritten(), expected);
}

TEST(SendSequence, APlxControllerIsSentThePointCodeOfTheSelectedPoint) {
  LinkBench bench(Variant::Palunor6);
  bench.Identify("PLX");
  bench.model.SelectedPoint = 7;
  bench["SDBut"].Click();
  EXPECT_EQ(bench.TakeWritten(), std::string("SD") + static_cast<char>(map::PointCodes[6]));
}

TEST(SendSequence, WithNoControllerIdentifiedNothingIsWrittenButTheLockoutStarts) {
  LinkBench bench(Variant::Palunor6);
  bench["SDBut"].Click();
  EXPECT_EQ(bench.TakeWritten(), "");
  EXPECT_TRUE(bench.Timer1.Enabled());
  // Palunor knows one model only and always sends the curve.
  LinkBench older(Variant::Palunor);
  older["SDBut"].Click();
  EXPECT_EQ(older.TakeWritten().substr(0, 3), "SD2");
}

TEST(SendSequence, ASecondSendWithinTheLockoutSendsNothingButBlanksTheStatusLine) {
  LinkBench bench(Variant::Palunor6);
  bench.Identify();
  bench["SDBut"].Click();
  bench.TakeWritten();
  bench.options.StatusText = "LINE 2 SENT";
  bench["lblstat"].SetCaption("LINE 2 SENT");
  bench.clock.Advance(300);
  bench["SDBut"].Click();
  EXPECT_EQ(bench.TakeWritten(), "");
  EXPECT_EQ(bench["lblstat"].Caption(), "");
  EXPECT_EQ(bench["lblstat"].FontColor(), ui::kBlack);
}

TEST(SendSequence, OkForCurveOneKeepsTheSendMarkWhileCurveTwoHasUnsentEdits) {
  LinkBench bench(Variant::Palunor6);
  bench.Identify();
  bench.model.CurrentCurve = 1;
  bench.model.Working(1)[0] = 30;
  bench.model.Working(2)[3] = 20;
  bench["SDBut"].Click();
  bench.Receive("OK");
  EXPECT_EQ(bench.model.Device(1), bench.model.Working(1));
  EXPECT_FALSE(bench.model.CurvesInSync);
  EXPECT_TRUE(bench["Label34"].Visible());
  EXPECT_TRUE(bench["Label35"].Visible());
  EXPECT_EQ(bench["lblstat"].Caption(), "LINE 1 SENT");
  EXPECT_EQ(bench["lblstat"].FontColor(), ui::kAqua);
  EXPECT_TRUE(bench.Timer3.Enabled());
  bench.clock.Advance(700);
  bench["Button6"].Click();
  EXPECT_EQ(bench.TakeWritten().substr(29), "EW1");
  bench.Receive("RECOK");
  EXPECT_FALSE(bench["Label35"].Visible());
  EXPECT_TRUE(bench.model.CurvesStored);
  EXPECT_EQ(bench["lblstat"].Caption(), "LINE 1 SAVED");
}

}  // namespace
