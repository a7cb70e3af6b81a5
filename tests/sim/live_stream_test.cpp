// Guards the emulator's live stream against what the program makes of it: one frame
// per poll at most, the period byte that firmware 6.x counts finer, the advance of
// the active curve, and the InvalidLiveReadings fault among good frames.
#include <gtest/gtest.h>

#include <string>

#include "protocol/catalogue.h"
#include "sim/engine.h"
#include "sim/fault.h"
#include "sim_harness.h"

namespace {

// The period the program takes from a frame's byte: 120000 div period is its RPM.
int ShownPeriod(std::uint8_t period, int version_tenths) {
  return version_tenths / 10 == 6 ? period * 10 / 26 : period;
}

TEST(LiveStream, ReadsBackAsTheEngineSpeedAndTheActiveCurvesAdvanceOverAWholeSweep) {
  for (int version : {52, 60}) {
    sim::Controller controller;
    controller.SetVersion(version);
    controller.SetActiveCurve(2);
    for (std::size_t n = 0; n < 2 * sim::kSweepFrames; ++n) {
      const int rpm = controller.EngineRpmNow();
      const auto frame = protocol::LiveFrame::Decode(controller.NextLiveFrame());
      ASSERT_TRUE(frame.has_value());
      // Neither 0 nor 255 after the program's scaling: every frame is a reading.
      const int period = ShownPeriod(frame->period, version);
      ASSERT_GT(period, 0);
      ASSERT_LT(period, 255);
      // Whole counts, and for firmware 6.x the scaling, cost at most two counts.
      EXPECT_LE(rpm, 120000 / period + 1) << version << " frame " << n;
      EXPECT_GE(rpm, 120000 / (period + 2)) << version << " frame " << n;
      EXPECT_EQ(frame->advance, sim::AdvanceAt(controller.Ram(2), rpm, version));
      EXPECT_LT(frame->advance, 56);
    }
  }
}

TEST(LiveStream, TheSlowestSpeedOfFirmwareSixStillFitsItsPeriodByte) {
  EXPECT_EQ(sim::IdleRpm(52), sim::kIdleRpm);
  EXPECT_EQ(sim::IdleRpm(60), 1224);
  EXPECT_LT(sim::PeriodByte(sim::IdleRpm(60), 60), 255);
}

TEST(LiveStream, FramesComeEvery100MsSoThePollNeverJoinsTwo) {
  simtest::Bench bench;
  bench.Send("LON");
  bench.After(10);
  int frames = 0;
  for (int poll = 0; poll < 40; ++poll) {
    const std::string chunk = bench.After(50);
    ASSERT_TRUE(chunk.empty() || chunk.size() == 2) << poll;
    frames += chunk.empty() ? 0 : 1;
  }
  EXPECT_EQ(frames, 20);
}

TEST(InvalidLiveReadings, EveryOtherFrameCarriesNoReadingInFourWays) {
  const auto fault = sim::ParseFault("invalidlivereadings");
  ASSERT_TRUE(fault.has_value());
  EXPECT_EQ(fault->mode, sim::FaultMode::InvalidLiveReadings);
  EXPECT_FALSE(sim::ParseFault("InvalidLiveReadings=3").has_value());

  simtest::Bench bench;
  bench.device.SetFault(*fault);
  bench.Send("LON");
  std::string stream;
  for (int poll = 0; poll < 20; ++poll) stream += bench.After(50);
  ASSERT_GE(stream.size(), 16u);

  int bad_periods = 0;
  int bad_advances = 0;
  for (std::size_t i = 0; i + 1 < 16; i += 2) {
    const auto frame = protocol::LiveFrame::Decode(stream.substr(i, 2));
    ASSERT_TRUE(frame.has_value());
    const bool no_reading = frame->period == 0 || frame->period == 255 || frame->advance >= 56;
    EXPECT_EQ(no_reading, (i / 2) % 2 == 1) << "frame " << i / 2;
    bad_periods += frame->period == 0 || frame->period == 255 ? 1 : 0;
    bad_advances += frame->advance >= 56 ? 1 : 0;
  }
  EXPECT_EQ(bad_periods, 2);
  EXPECT_EQ(bad_advances, 2);
  EXPECT_EQ(sim::FaultName(sim::FaultMode::InvalidLiveReadings), "InvalidLiveReadings");
}

}  // namespace
