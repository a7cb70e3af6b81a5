// The controller's limits for the points of a curve in whole degrees, as the point
// table and CSV import hold values within them: MaxAdvance above 0, MaxRetard below,
// point 1 by its own retard limit (never beyond MaxRetard).
#pragma once

#include <array>
#include <string>

#include "map/curve_model.h"
#include "protocol/catalogue.h"

namespace pointtable {

// One curve in signed degrees: index 0 is point 1.
using CurveDegrees = std::array<int, protocol::kPoints>;

// The point value of 0 degrees.
constexpr int kZeroDegrees = 25;

CurveDegrees ToDegrees(const map::Curve& curve);
// Values must lie within 0..255 (any value within the limits does).
map::Curve ToCurve(const CurveDegrees& degrees);

struct PointLimits {
  int max_advance = 25;
  int max_retard = 25;
  int first_point_retard = 15;

  static PointLimits Of(const map::CurveModel& model);

  // The highest and lowest degrees point p (1..26) may hold.
  int Highest(int p) const;
  int Lowest(int p) const;
  bool Holds(int p, int degrees) const { return degrees >= Lowest(p) && degrees <= Highest(p); }
  // `degrees` moved to the nearest value point p may hold.
  int Hold(int p, int degrees) const;
  // "+20 to -18 degrees, point 1 to -15".
  std::string Text() const;
};

}  // namespace pointtable
