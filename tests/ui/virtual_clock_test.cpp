// Guards the virtual clock that every timing test stands on: ticks fire in time
// order, timers started inside a tick fire in the same advance, and the timer rules
// (enable twice, restart on interval change, interval 0) hold.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/virtual_clock.h"
#include "ui/event_loop.h"

namespace {

TEST(VirtualClock, FiresDueTicksInTimeOrder) {
  ui::VirtualClock clock;
  std::vector<std::string> log;
  ui::Timer fast(clock, 50, true);
  ui::Timer slow(clock, 120, true);
  fast.OnTimer = [&] { log.push_back(std::string("f").append(std::to_string(clock.Now()))); };
  slow.OnTimer = [&] { log.push_back(std::string("s").append(std::to_string(clock.Now()))); };
  clock.Advance(250);
  EXPECT_EQ(log, (std::vector<std::string>{"f50", "f100", "s120", "f150", "f200", "s240", "f250"}));
  EXPECT_EQ(clock.Now(), 250u);
}

TEST(VirtualClock, TimerStartedInsideATickFiresInTheSameAdvance) {
  ui::VirtualClock clock;
  std::vector<std::uint64_t> fired;
  ui::Timer second(clock, 100, false);
  second.OnTimer = [&] { fired.push_back(clock.Now()); };
  ui::Timer first(clock, 30, true);
  first.OnTimer = [&] {
    first.SetEnabled(false);
    second.SetEnabled(true);
  };
  clock.Advance(300);
  EXPECT_EQ(fired, (std::vector<std::uint64_t>{130, 230}));
}

TEST(VirtualClock, EnablingARunningTimerKeepsItsPeriod) {
  ui::VirtualClock clock;
  int ticks = 0;
  ui::Timer timer(clock, 500, true);
  timer.OnTimer = [&] { ++ticks; };
  clock.Advance(400);
  timer.SetEnabled(true);
  clock.Advance(100);
  EXPECT_EQ(ticks, 1);
}

TEST(VirtualClock, ChangingTheIntervalRestartsThePeriod) {
  ui::VirtualClock clock;
  std::vector<std::uint64_t> fired;
  ui::Timer timer(clock, 100, true);
  timer.OnTimer = [&] { fired.push_back(clock.Now()); };
  clock.Advance(80);
  timer.SetInterval(50);
  clock.Advance(100);
  EXPECT_EQ(fired, (std::vector<std::uint64_t>{130, 180}));
}

TEST(VirtualClock, IntervalZeroAndDisabledTimersNeverFire) {
  ui::VirtualClock clock;
  int ticks = 0;
  ui::Timer zero(clock, 0, true);
  ui::Timer off(clock, 10, false);
  zero.OnTimer = [&] { ++ticks; };
  off.OnTimer = [&] { ++ticks; };
  clock.Advance(1000);
  EXPECT_EQ(ticks, 0);
  EXPECT_EQ(clock.ScheduledCount(), 0u);
}

TEST(VirtualClock, BusyHandlerCoalescesMissedTicks) {
  ui::VirtualClock clock;
  clock.SetTickQueryStep(1);
  std::vector<std::uint64_t> fired;
  ui::Timer timer(clock, 50, true);
  timer.OnTimer = [&] {
    fired.push_back(clock.Now());
    if (fired.size() == 1) {
      // Keep the thread busy for about 180 ms, as a stalled write does.
      const std::uint32_t start = clock.TickCount();
      while (clock.TickCount() - start < 180) {
      }
    }
  };
  clock.Advance(400);
  ASSERT_GE(fired.size(), 2u);
  EXPECT_EQ(fired[0], 50u);
  // The ticks due at 100, 150 and 200 collapse into one at the end of the busy spell.
  EXPECT_GE(fired[1], 231u);
  EXPECT_LT(fired[1], 250u);
  EXPECT_EQ(fired[2], 250u);
}

TEST(VirtualClock, DestroyedTimerIsForgotten) {
  ui::VirtualClock clock;
  {
    ui::Timer timer(clock, 10, true);
    EXPECT_EQ(clock.ScheduledCount(), 1u);
  }
  EXPECT_EQ(clock.ScheduledCount(), 0u);
  clock.Advance(100);
}

}  // namespace
