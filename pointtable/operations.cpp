#include "pointtable/operations.h"

#include <cmath>

namespace pointtable {

namespace {

std::size_t Index(int row) {
  return static_cast<std::size_t>(row);
}

std::vector<int> HoldRange(CurveDegrees& curve, PointRange range, const PointLimits& limits) {
  std::vector<int> held;
  for (int row = range.first; row <= range.last; ++row) {
    const int p = row + 1;
    int& value = curve[Index(row)];
    if (limits.Holds(p, value)) continue;
    value = limits.Hold(p, value);
    held.push_back(p);
  }
  return held;
}

int Rounded(double value) {
  return static_cast<int>(std::lround(value));
}

}  // namespace

std::vector<int> SetPoints(CurveDegrees& curve, PointRange range, int degrees,
                           const PointLimits& limits) {
  for (int row = range.first; row <= range.last; ++row) curve[Index(row)] = degrees;
  return HoldRange(curve, range, limits);
}

std::vector<int> ShiftPoints(CurveDegrees& curve, PointRange range, int by,
                             const PointLimits& limits) {
  for (int row = range.first; row <= range.last; ++row) curve[Index(row)] += by;
  return HoldRange(curve, range, limits);
}

std::vector<int> InterpolatePoints(CurveDegrees& curve, PointRange range,
                                   const PointLimits& limits) {
  // The ends are held first, so the line runs between values the controller takes.
  std::vector<int> held = HoldRange(curve, {range.first, range.first}, limits);
  if (range.last != range.first) {
    const std::vector<int> last = HoldRange(curve, {range.last, range.last}, limits);
    held.insert(held.end(), last.begin(), last.end());
  }
  const double from = curve[Index(range.first)];
  const double to = curve[Index(range.last)];
  const int steps = range.last - range.first;
  for (int row = range.first + 1; row < range.last; ++row) {
    curve[Index(row)] = Rounded(from + (to - from) * (row - range.first) / steps);
  }
  return held;
}

std::vector<int> SmoothPoints(CurveDegrees& curve, PointRange range, const PointLimits& limits) {
  const CurveDegrees before = curve;
  for (int row = range.first + 1; row < range.last; ++row) {
    curve[Index(row)] =
        Rounded((before[Index(row - 1)] + 2.0 * before[Index(row)] + before[Index(row + 1)]) / 4);
  }
  return HoldRange(curve, range, limits);
}

std::vector<int> HoldWithinLimits(CurveDegrees& curve, const PointLimits& limits) {
  return HoldRange(curve, {0, static_cast<int>(curve.size()) - 1}, limits);
}

}  // namespace pointtable
