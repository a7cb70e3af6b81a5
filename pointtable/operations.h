// What the point table does to a range of a curve's points: set them, shift them,
// interpolate between the range's ends, smooth them, and hold every value within the
// controller's limits. Each returns the points (1..26) it had to hold, in order.
#pragma once

#include <vector>

#include "pointtable/point_limits.h"

namespace pointtable {

// Points first..last as rows of the table: 0-based, first <= last < 26.
struct PointRange {
  int first = 0;
  int last = 0;
};

std::vector<int> SetPoints(CurveDegrees& curve, PointRange range, int degrees,
                           const PointLimits& limits);
std::vector<int> ShiftPoints(CurveDegrees& curve, PointRange range, int by,
                             const PointLimits& limits);
// The points between the ends on the straight line from the first to the last (held
// first), rounded to whole degrees, halves away from 0.
std::vector<int> InterpolatePoints(CurveDegrees& curve, PointRange range,
                                   const PointLimits& limits);
// Each point between the ends becomes a quarter of each neighbour and half of itself,
// rounded as interpolation does: steps soften, a straight line stays as it is, and
// the ends stay where they are.
std::vector<int> SmoothPoints(CurveDegrees& curve, PointRange range, const PointLimits& limits);
// Every point of the curve held within the limits.
std::vector<int> HoldWithinLimits(CurveDegrees& curve, const PointLimits& limits);

}  // namespace pointtable
