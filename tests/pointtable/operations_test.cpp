// Guards the point table's operations as properties over random curves, limits and
// ranges: results within the limits, the rest of the curve untouched, interpolation
// through both ends, a shift undone by the opposite shift, straight lines kept by
// smoothing; and the degrees people type.
#include "pointtable/operations.h"

#include <gtest/gtest.h>

#include <random>

#include "pointtable/degrees_text.h"

namespace pointtable {
namespace {

struct Case {
  CurveDegrees curve{};
  PointLimits limits;
  PointRange range;
  int value = 0;
};

Case RandomCase(std::mt19937& rng) {
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  Case c;
  c.limits = {pick(5, 25), pick(5, 25), pick(0, 15)};
  for (int& v : c.curve) v = pick(-40, 40);
  c.range.first = pick(0, 25);
  c.range.last = pick(c.range.first, 25);
  c.value = pick(-40, 40);
  return c;
}

bool InRange(PointRange range, std::size_t i) {
  return static_cast<int>(i) >= range.first && static_cast<int>(i) <= range.last;
}

TEST(PointOperations, ResultsLieWithinTheLimitsAndLeaveTheRestAlone) {
  for (std::uint32_t seed = 1; seed <= 400; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    Case c = RandomCase(rng);
    for (int operation = 0; operation < 4; ++operation) {
      CurveDegrees curve = c.curve;
      std::vector<int> held;
      if (operation == 0) held = SetPoints(curve, c.range, c.value, c.limits);
      if (operation == 1) held = ShiftPoints(curve, c.range, c.value, c.limits);
      if (operation == 2) held = InterpolatePoints(curve, c.range, c.limits);
      if (operation == 3) held = SmoothPoints(curve, c.range, c.limits);
      for (std::size_t i = 0; i < curve.size(); ++i) {
        const int p = static_cast<int>(i) + 1;
        if (!InRange(c.range, i)) {
          EXPECT_EQ(curve[i], c.curve[i]) << "operation " << operation << " point " << p;
          continue;
        }
        EXPECT_LE(curve[i], c.limits.max_advance) << "operation " << operation << " point " << p;
        const int retard = p == 1 ? std::min(c.limits.first_point_retard, c.limits.max_retard)
                                  : c.limits.max_retard;
        EXPECT_GE(curve[i], -retard) << "operation " << operation << " point " << p;
      }
      // Set and shift report exactly the points whose wish the limits refused.
      for (std::size_t i = 0; operation < 2 && i < curve.size(); ++i) {
        if (!InRange(c.range, i)) continue;
        const int wished = operation == 0 ? c.value : c.curve[i] + c.value;
        const bool reported =
            std::find(held.begin(), held.end(), static_cast<int>(i) + 1) != held.end();
        EXPECT_EQ(reported, wished != curve[i]) << "operation " << operation << " point " << i + 1;
      }
    }
  }
}

TEST(PointOperations, InterpolationRunsThroughBothEndsOnTheNearestWholeDegrees) {
  for (std::uint32_t seed = 1; seed <= 300; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    Case c = RandomCase(rng);
    HoldWithinLimits(c.curve, c.limits);
    CurveDegrees curve = c.curve;
    EXPECT_TRUE(InterpolatePoints(curve, c.range, c.limits).empty());
    const int from = c.curve[static_cast<std::size_t>(c.range.first)];
    const int to = c.curve[static_cast<std::size_t>(c.range.last)];
    EXPECT_EQ(curve[static_cast<std::size_t>(c.range.first)], from);
    EXPECT_EQ(curve[static_cast<std::size_t>(c.range.last)], to);
    for (int row = c.range.first + 1; row < c.range.last; ++row) {
      const double exact =
          from + (to - from) * double(row - c.range.first) / (c.range.last - c.range.first);
      EXPECT_LE(std::abs(curve[static_cast<std::size_t>(row)] - exact), 0.5) << "row " << row;
    }
  }
}

TEST(PointOperations, AShiftNotHeldIsUndoneByTheOppositeShift) {
  int undone = 0;
  for (std::uint32_t seed = 1; seed <= 400; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    Case c = RandomCase(rng);
    HoldWithinLimits(c.curve, c.limits);
    c.value = std::uniform_int_distribution<int>(-6, 6)(rng);
    CurveDegrees curve = c.curve;
    if (!ShiftPoints(curve, c.range, c.value, c.limits).empty()) continue;
    EXPECT_TRUE(ShiftPoints(curve, c.range, -c.value, c.limits).empty());
    EXPECT_EQ(curve, c.curve);
    ++undone;
  }
  EXPECT_GT(undone, 50);  // the property was put to the test, not skipped
}

TEST(PointOperations, SmoothingKeepsAStraightLineAndSoftensAStep) {
  const PointLimits limits{25, 25, 15};
  for (int slope = -1; slope <= 1; ++slope) {
    CurveDegrees line{};
    for (std::size_t i = 0; i < line.size(); ++i)
      line[i] = slope * static_cast<int>(i) - 10 * slope;
    CurveDegrees smoothed = line;
    EXPECT_TRUE(SmoothPoints(smoothed, {0, 25}, limits).empty());
    EXPECT_EQ(smoothed, line) << "slope " << slope;
  }
  CurveDegrees step{};
  for (std::size_t i = 13; i < step.size(); ++i) step[i] = 12;
  SmoothPoints(step, {10, 16}, limits);
  EXPECT_EQ(step[12], 3);  // (0 + 0 + 12) / 4
  EXPECT_EQ(step[13], 9);  // (0 + 24 + 12) / 4
  EXPECT_EQ(step[10], 0);  // the ends stay
  EXPECT_EQ(step[16], 12);
}

TEST(DegreesText, ReadsWholeDegreesAsPeopleAndSpreadsheetsWriteThem) {
  const std::pair<const char*, int> wholes[] = {
      {"12", 12}, {" +12 ", 12}, {"-3", -3}, {"12.0", 12}, {"-7,00", -7}, {"99999999999", 99999}};
  for (const auto& [text, value] : wholes) {
    EXPECT_EQ(ParseDegrees(text).kind, NumberKind::Whole) << text;
    EXPECT_EQ(ParseDegrees(text).value, value) << text;
  }
  for (const char* text : {"12.5", "0,25"}) {
    EXPECT_EQ(ParseDegrees(text).kind, NumberKind::Fraction) << text;
  }
  for (const char* text : {"", "-", "12.", ".5", "1e1", "1 2", "12 deg"}) {
    EXPECT_EQ(ParseDegrees(text).kind, NumberKind::NotANumber) << '"' << text << '"';
  }
}

}  // namespace
}  // namespace pointtable
