// The limits the controller reports for a curve's points, as the editor holds them:
// MaxAdvance above 0 degrees, MaxRetard below it, point 1 by FirstPointRetard.
#pragma once

#include <string>
#include <vector>

#include "map/curve_model.h"

namespace map {

// The retard limit of point p (1..26) in whole degrees.
int RetardLimit(const CurveModel& model, int p);
// The points (1..26) of `curve` that lie outside the limits.
std::vector<int> PointsOutsideLimits(const CurveModel& model, const Curve& curve);
// "3", "3 and 7", "3, 7 and 26".
std::string PointList(const std::vector<int>& points);
// The limits as the user reads them: "+20 to -18 degrees, point 1 to -15".
std::string LimitsText(const CurveModel& model);

}  // namespace map
