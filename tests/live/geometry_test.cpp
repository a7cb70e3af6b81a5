// Guards the gauges' arithmetic: rounding halves to even, polar points in screen
// orientation, and the needle angle of each program.
#include "live/geometry.h"

#include <gtest/gtest.h>

namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(live::RoundHalfEven(0.5), 0);
  EXPECT_EQ(live::RoundHalfEven(1.5), 2);
  EXPECT_EQ(live::RoundHalfEven(2.5), 2);
  EXPECT_EQ(live::RoundHalfEven(-0.5), 0);
  EXPECT_EQ(live::RoundHalfEven(-1.5), -2);
  EXPECT_EQ(live::RoundHalfEven(-2.5), -2);
  EXPECT_EQ(live::RoundHalfEven(2.4), 2);
  EXPECT_EQ(live::RoundHalfEven(2.6), 3);
  EXPECT_EQ(live::RoundHalfEven(-2.6), -3);
  EXPECT_EQ(live::RoundHalfEven(0.5000000000000001), 0);
}

TEST(PolarPoint, AnglesGrowClockwiseOnTheScreen) {
  const ui::Point centre = live::GaugeCentre(169, 173);
  EXPECT_EQ(centre, (ui::Point{84, 86}));
  EXPECT_EQ(live::PolarPoint(centre, 0, 80), (ui::Point{164, 86}));
  EXPECT_EQ(live::PolarPoint(centre, 90, 80), (ui::Point{84, 166}));
  EXPECT_EQ(live::PolarPoint(centre, -90, 84), (ui::Point{84, 2}));
  EXPECT_EQ(live::PolarPoint(centre, 180, 18), (ui::Point{66, 86}));
  // cos 60 degrees is a half: 3 * 0.5 = 1.5 rounds to 2, 5 * 0.5 to 2.
  EXPECT_EQ(live::PolarPoint(centre, 60, 3).x, 86);
  EXPECT_EQ(live::PolarPoint(centre, 60, 5).x, 86);
}

TEST(NeedleAngle, Palunor6RoundsHalvesToEven) {
  EXPECT_EQ(live::RoundedNeedleAngle(200), 18);
  EXPECT_EQ(live::RoundedNeedleAngle(120), 30);
  EXPECT_EQ(live::RoundedNeedleAngle(160), 22);
  EXPECT_EQ(live::RoundedNeedleAngle(96), 38);
  EXPECT_EQ(live::RoundedNeedleAngle(254), 14);
  EXPECT_EQ(live::RoundedNeedleAngle(1), 3600);
}

TEST(NeedleAngle, PalunorTruncatesAndDropsToZeroPast260) {
  EXPECT_EQ(live::TruncatedNeedleAngle(96), 37);
  EXPECT_EQ(live::TruncatedNeedleAngle(14), 257);
  EXPECT_EQ(live::TruncatedNeedleAngle(13), 0);
  EXPECT_EQ(live::TruncatedNeedleAngle(1), 0);
}

TEST(TracePoint, SpacesPointsTwentyFourApartAndTwoPixelsPerDegree) {
  EXPECT_EQ(live::TracePoint(18, 0, 25), (ui::Point{18, 67}));
  EXPECT_EQ(live::TracePoint(18, 25, 50), (ui::Point{618, 17}));
  EXPECT_EQ(live::TracePoint(18, 1, 0), (ui::Point{42, 117}));
}

}  // namespace
