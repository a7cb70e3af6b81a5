// Guards what a live frame does to the window while live data runs: the speed text and
// the needle from the period byte (with the 6.x scaling), the advance gauge from the
// point byte, readings the gauges must not take, and the first frame's enabling.
#include <gtest/gtest.h>

#include <string>

#include "live/option_state.h"
#include "protocol/link_bench.h"

namespace {

using test::LinkBench;
using ui::Variant;

// Identified with the given firmware, live data switched on, the lockout run out.
void StartLiveData(LinkBench& bench, int tenths = 52) {
  bench.Identify("QZR", tenths);
  bench["Button3"].Click();
  ASSERT_EQ(bench.TakeWritten(), "LON");
  bench.clock.Advance(700);
}

std::string Frame(int period, int advance_byte) {
  return {static_cast<char>(period), static_cast<char>(advance_byte)};
}

class BothPrograms : public ::testing::TestWithParam<Variant> {};

TEST_P(BothPrograms, TheFirstFrameEnablesTheCommandsAndSaysDataIsComing) {
  LinkBench bench(GetParam());
  StartLiveData(bench);
  for (const char* name : {"SDBut", "V5But", "btnPN", "Button6"}) {
    EXPECT_FALSE(bench[name].Enabled()) << name;
  }
  EXPECT_EQ(bench["lblstat"].Caption(), "Connecting...");
  bench.Receive(Frame(120, 0));
  for (const char* name : {"SDBut", "V5But", "btnPN", "Button6"}) {
    EXPECT_TRUE(bench[name].Enabled()) << name;
  }
  EXPECT_FALSE(bench["RDBut"].Enabled());
  EXPECT_EQ(bench["lblstat"].Caption(), "Receiving...");
  EXPECT_EQ(bench["lblstat"].FontColor(), ui::kGreen);
  EXPECT_FALSE(bench.Timer3.Enabled());
}

TEST_P(BothPrograms, ThePeriodGivesTheSpeedTextRoundedDownToTens) {
  LinkBench bench(GetParam());
  StartLiveData(bench);
  const struct {
    int period;
    const char* text;
  } cases[] = {{120, "1000"}, {240, "500"}, {15, "8000"}, {12, "10000"}, {7, "17140"}};
  for (const auto& c : cases) {
    bench.Receive(Frame(c.period, 0));
    EXPECT_EQ(bench["Label30"].Caption(), c.text) << c.period;
    EXPECT_EQ(bench.model.RpmPeriod, c.period);
  }
}

TEST_P(BothPrograms, PeriodsZeroAndFullShowTheirTextButLeaveTheNeedle) {
  LinkBench bench(GetParam());
  StartLiveData(bench);
  bench.Receive(Frame(120, 0));
  ASSERT_EQ(bench.live.NeedleAngle, 30);
  bench.Receive(Frame(0, 0));
  EXPECT_EQ(bench["Label30"].Caption(), "240");
  EXPECT_EQ(bench.live.NeedleAngle, 30);
  bench.Receive(Frame(255, 0));
  EXPECT_EQ(bench["Label30"].Caption(), "470");
  EXPECT_EQ(bench.live.NeedleAngle, 30);
}

TEST_P(BothPrograms, TheAdvanceByteMovesTheAdvanceGaugeOnlyForAReading) {
  LinkBench bench(GetParam());
  StartLiveData(bench);
  const struct {
    int byte;
    const char* degrees;
  } cases[] = {{0, "0"}, {25, "25"}, {30, "30"}, {153, "-25"}};
  for (const auto& c : cases) {
    bench.Receive(Frame(120, c.byte));
    EXPECT_EQ(bench["Label28"].Caption(), c.degrees) << c.byte;
  }
  // 31 decodes to 56 and 128 to 153: no reading, both gauges stay, the text follows.
  for (int byte : {31, 128}) {
    bench.Receive(Frame(240, byte));
    EXPECT_EQ(bench["Label28"].Caption(), "-25") << byte;
    EXPECT_EQ(bench.live.NeedleAngle, 30) << byte;
    EXPECT_EQ(bench["Label30"].Caption(), "500") << byte;
  }
}

TEST_P(BothPrograms, NoPollGoesOutWhileLiveDataRuns) {
  LinkBench bench(GetParam());
  StartLiveData(bench);
  for (int i = 0; i < 100; ++i) {
    bench.Receive(Frame(60, 5));
    bench.clock.Advance(100);
  }
  EXPECT_EQ(bench.TakeWritten(), "");
  EXPECT_FALSE(bench.Timer3.Enabled());
}

TEST(LiveFrame, Firmware6PeriodsAreScaledByTenOver26) {
  LinkBench bench(Variant::Palunor6);
  StartLiveData(bench, 60);
  bench.Receive(Frame(120, 0));
  ASSERT_EQ(bench.live.NeedleAngle, 78);  // period 46
  bench.Receive(Frame(200, 0));
  EXPECT_EQ(bench.model.RpmPeriod, 76);
  EXPECT_EQ(bench["Label30"].Caption(), "1570");
  bench.Receive(Frame(2, 0));
  EXPECT_EQ(bench.model.RpmPeriod, 0);
  EXPECT_EQ(bench["Label30"].Caption(), "240");
  EXPECT_EQ(bench.live.NeedleAngle, 47);  // period 76's, left where it was
}

TEST(LiveFrame, TheOlderProgramNeitherScalesNorDrivesTheNeedlePastItsDial) {
  LinkBench bench(Variant::Palunor);
  StartLiveData(bench, 60);
  bench.Receive(Frame(200, 0));
  EXPECT_EQ(bench.model.RpmPeriod, 200);
  EXPECT_EQ(bench["Label30"].Caption(), "600");
  bench.Receive(Frame(12, 0));
  EXPECT_EQ(bench["Label30"].Caption(), "10000");
  EXPECT_EQ(bench.live.NeedleAngle, 0);  // 300 lies past the dial: back to the zero mark
}

TEST(LiveFrame, PeriodTwelveShowsItsAngleAndStopsTheNeedleAtTheDialsEnd) {
  LinkBench bench(Variant::Palunor6);
  StartLiveData(bench);
  bench.Receive(Frame(12, 0));
  EXPECT_EQ(bench["Label33"].Caption(), "300");
  EXPECT_EQ(bench.live.NeedleAngle, 290);
}

INSTANTIATE_TEST_SUITE_P(Programs, BothPrograms,
                         ::testing::Values(Variant::Palunor6, Variant::Palunor));

}  // namespace
