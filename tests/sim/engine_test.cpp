// Guards the engine model behind the live stream: the sweep from idle to redline and
// back, the advance looked up on the firmware's RPM axis, and the period byte.
#include "sim/engine.h"

#include <gtest/gtest.h>

namespace {

TEST(EngineModel, SweepsFromIdleToRedlineAndBack) {
  EXPECT_EQ(sim::EngineRpm(0, 52), sim::kIdleRpm);
  EXPECT_EQ(sim::EngineRpm(sim::kSweepFrames, 52), 8000);
  EXPECT_EQ(sim::EngineRpm(sim::kSweepFrames, 60), 11000);
  EXPECT_EQ(sim::EngineRpm(2 * sim::kSweepFrames, 60), sim::IdleRpm(60));
  EXPECT_EQ(sim::EngineRpm(sim::kSweepFrames / 2, 52),
            sim::EngineRpm(3 * sim::kSweepFrames / 2, 52));
  for (std::size_t frame = 1; frame <= sim::kSweepFrames; ++frame) {
    EXPECT_GT(sim::EngineRpm(frame, 60), sim::EngineRpm(frame - 1, 60)) << frame;
  }
}

TEST(EngineModel, PointsSitOnTheFirmwaresAxis) {
  EXPECT_EQ(sim::PointRpm(1, 60), 1500);
  EXPECT_EQ(sim::PointRpm(13, 60), 4500);
  EXPECT_EQ(sim::PointRpm(14, 60), 5000);
  EXPECT_EQ(sim::PointRpm(26, 60), 11000);
  EXPECT_EQ(sim::PointRpm(1, 52), 750);
  EXPECT_EQ(sim::PointRpm(22, 52), 6000);
  EXPECT_EQ(sim::PointRpm(23, 52), 6500);
  EXPECT_EQ(sim::PointRpm(26, 52), 8000);
}

TEST(EngineModel, AdvanceIsInterpolatedBetweenTheNeighbouringPoints) {
  protocol::CurvePoints curve;
  curve.fill(25);
  curve[1] = 35;                                  // point 2: 1000 RPM on the 8000 axis
  EXPECT_EQ(sim::AdvanceAt(curve, 500, 52), 25);  // below point 1: held
  EXPECT_EQ(sim::AdvanceAt(curve, 875, 52), 30);  // half way from point 1 to 2
  EXPECT_EQ(sim::AdvanceAt(curve, 1000, 52), 35);
  EXPECT_EQ(sim::AdvanceAt(curve, 1125, 52), 30);  // half way back down to point 3
  curve[25] = 0;
  EXPECT_EQ(sim::AdvanceAt(curve, 9000, 52), 0);  // above point 26: held
}

TEST(EngineModel, PeriodByteIsCappedAndFinerForFirmwareSix) {
  EXPECT_EQ(sim::PeriodByte(1000, 52), 120);
  EXPECT_EQ(sim::PeriodByte(8000, 52), 15);
  EXPECT_EQ(sim::PeriodByte(400, 52), 255);
  // The program shows 120000 / (byte * 10 / 26) for firmware 6.x.
  EXPECT_EQ(sim::PeriodByte(6000, 60), 52);
  EXPECT_EQ(120000 / (sim::PeriodByte(6000, 60) * 10 / 26), 6000);
  EXPECT_EQ(sim::PeriodByte(1000, 60), 255);
}

}  // namespace
