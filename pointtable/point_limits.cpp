#include "pointtable/point_limits.h"

#include <algorithm>

#include "map/limits.h"

namespace pointtable {

CurveDegrees ToDegrees(const map::Curve& curve) {
  CurveDegrees degrees{};
  for (std::size_t i = 0; i < curve.size(); ++i) degrees[i] = curve[i] - kZeroDegrees;
  return degrees;
}

map::Curve ToCurve(const CurveDegrees& degrees) {
  map::Curve curve{};
  for (std::size_t i = 0; i < curve.size(); ++i) {
    curve[i] = static_cast<std::uint8_t>(std::clamp(degrees[i] + kZeroDegrees, 0, 255));
  }
  return curve;
}

PointLimits PointLimits::Of(const map::CurveModel& model) {
  return {model.MaxAdvance, model.MaxRetard, model.FirstPointRetard};
}

int PointLimits::Highest(int) const {
  return max_advance;
}

int PointLimits::Lowest(int p) const {
  return -(p == 1 ? std::min(first_point_retard, max_retard) : max_retard);
}

int PointLimits::Hold(int p, int degrees) const {
  // Never std::clamp: limits a controller reports below 0 would leave it no range.
  return std::max(Lowest(p), std::min(degrees, Highest(p)));
}

std::string PointLimits::Text() const {
  // The same words as the editor's and Send's warnings.
  map::CurveModel model;
  model.MaxAdvance = max_advance;
  model.MaxRetard = max_retard;
  model.FirstPointRetard = static_cast<std::uint8_t>(first_point_retard);
  return map::LimitsText(model);
}

}  // namespace pointtable
