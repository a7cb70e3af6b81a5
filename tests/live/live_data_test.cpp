// Guards the live data toggle on the whole form: "LON" and "LOF" under the command
// lockout, the buttons and status line it changes, and the supervision resting while
// the stream runs, with a port that opens and one that does not.
#include "live/live_data.h"

#include <gtest/gtest.h>

#include <string>

#include "protocol/link_bench.h"

namespace {

using test::LinkBench;
using ui::Variant;

const char* const kLockedButtons[] = {"RDBut", "SDBut", "V5But", "btnPN", "Button6", "btnAdvSet"};

class LiveDataTest : public ::testing::TestWithParam<Variant> {
 protected:
  void SetUp() override { bench.Identify(); }

  LinkBench bench{GetParam()};
};

TEST_P(LiveDataTest, StartingSendsLonAndLocksTheCommandsThatWouldDisturbTheStream) {
  bench["btnAdvSet"].Click();
  ASSERT_TRUE(bench["Panel2"].Visible());
  bench.clock.Advance(700);

  bench["Button3"].Click();

  EXPECT_EQ(bench.TakeWritten(), "LON");
  EXPECT_TRUE(bench.live.LiveMode);
  EXPECT_TRUE(bench.live.LiveDataExpected);
  EXPECT_FALSE(bench.live.LiveFrameSeen);
  EXPECT_EQ(bench["Button3"].Caption(), "Stop Data");
  EXPECT_EQ(bench["lblstat"].Caption(), "Connecting...");
  EXPECT_EQ(bench["lblstat"].FontColor(), ui::kYellow);
  EXPECT_EQ(bench.options.StatusText, "Connecting...");
  for (const char* name : kLockedButtons) EXPECT_FALSE(bench[name].Enabled()) << name;
  EXPECT_FALSE(bench["Panel2"].Visible());
  EXPECT_EQ(bench["btnAdvSet"].Caption(), "&Advanced>>");
  EXPECT_FALSE(bench.Timer3.Enabled());
  EXPECT_TRUE(bench.Timer1.Enabled());
}

TEST_P(LiveDataTest, StoppingSendsLofUnlocksTheCommandsAndRestartsTheSupervision) {
  bench["Button3"].Click();
  bench.Receive(std::string("\x78\x19", 2));
  bench.clock.Advance(700);
  bench.TakeWritten();

  bench["Button3"].Click();

  EXPECT_EQ(bench.TakeWritten(), "LOF");
  EXPECT_FALSE(bench.live.LiveMode);
  EXPECT_FALSE(bench.live.LiveDataExpected);
  EXPECT_EQ(bench["Button3"].Caption(), "Live Data");
  EXPECT_EQ(bench["lblstat"].Caption(), "");
  EXPECT_EQ(bench["lblstat"].FontColor(), ui::kBlack);
  for (const char* name : kLockedButtons) EXPECT_TRUE(bench[name].Enabled()) << name;
  EXPECT_EQ(bench["btnAdvSet"].Caption(), "&Advanced>>");
  EXPECT_TRUE(bench.Timer3.Enabled());
}

TEST_P(LiveDataTest, TheControllerIsNotPolledWhileLiveDataRunsAndIsAgainAfterwards) {
  bench["Button3"].Click();
  EXPECT_EQ(bench.TakeWritten(), "LON");
  for (int frame = 0; frame < 100; ++frame) {
    bench.Receive(std::string("\x78\x19", 2));
    bench.clock.Advance(100);
  }
  EXPECT_EQ(bench.TakeWritten(), "");
  EXPECT_FALSE(bench.Timer3.Enabled());

  bench["Button3"].Click();
  EXPECT_EQ(bench.TakeWritten(), "LOF");
  bench.clock.Advance(6000);
  EXPECT_NE(bench.TakeWritten().find("VER"), std::string::npos);
}

TEST_P(LiveDataTest, AClickDuringTheLockoutSendsNothingAndRestartsItsCount) {
  bench["Button3"].Click();
  bench.TakeWritten();
  bench.clock.Advance(400);
  ASSERT_EQ(bench.BusyTicks(), 4);

  bench["Button3"].Click();

  EXPECT_EQ(bench.TakeWritten(), "");
  EXPECT_TRUE(bench.live.LiveMode);
  EXPECT_EQ(bench["Button3"].Caption(), "Stop Data");
  EXPECT_EQ(bench.BusyTicks(), 0);
  // Without the restart the lockout would have ended 600 ms after the first click.
  bench.clock.Advance(550);
  EXPECT_TRUE(bench.Timer1.Enabled());
  bench.clock.Advance(50);
  EXPECT_FALSE(bench.Timer1.Enabled());
  bench["Button3"].Click();
  EXPECT_EQ(bench.TakeWritten(), "LOF");
}

TEST_P(LiveDataTest, AClosedPortThatCannotBeOpenedStillTogglesButSendsNothing) {
  bench.wire->available = false;
  bench.CPDrv.ClosePort();
  bench.clock.Advance(700);
  bench.dialogs.ClearHistory();

  bench["Button3"].Click();

  ASSERT_EQ(bench.dialogs.History().size(), 1u);
  EXPECT_EQ(bench.dialogs.History().back().title, "COM Port Error");
  EXPECT_EQ(bench.TakeWritten(), "");
  EXPECT_TRUE(bench.live.LiveMode);
  EXPECT_TRUE(bench.live.LiveDataExpected);
  EXPECT_EQ(bench["Button3"].Caption(), "Stop Data");
  EXPECT_FALSE(bench.Timer3.Enabled());

  bench.clock.Advance(700);
  bench["Button3"].Click();
  EXPECT_EQ(bench.TakeWritten(), "");
  EXPECT_FALSE(bench.live.LiveMode);
  EXPECT_EQ(bench["Button3"].Caption(), "Live Data");
  EXPECT_TRUE(bench.Timer3.Enabled());
}

TEST_P(LiveDataTest, AClosedPortThatOpensAgainCarriesTheCommand) {
  bench.CPDrv.ClosePort();
  bench.clock.Advance(700);
  bench.dialogs.ClearHistory();

  bench["Button3"].Click();

  EXPECT_TRUE(bench.CPDrv.IsOpen());
  EXPECT_TRUE(bench.dialogs.History().empty());
  EXPECT_EQ(bench.TakeWritten(), "LON");
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, LiveDataTest,
                         ::testing::Values(Variant::Palunor6, Variant::Palunor));

}  // namespace
