#include "map/limits.h"

#include <algorithm>

namespace map {

namespace {

constexpr int kZero = 25;  // the point value of 0 degrees

}  // namespace

int RetardLimit(const CurveModel& model, int p) {
  return p == 1 ? model.FirstPointRetard : model.MaxRetard;
}

std::vector<int> PointsOutsideLimits(const CurveModel& model, const Curve& curve) {
  std::vector<int> outside;
  for (std::size_t i = 0; i < curve.size(); ++i) {
    const int p = static_cast<int>(i) + 1;
    const int value = curve[i];
    // Point 1 keeps its own limit, never beyond the controller's retard limit (the older
    // program's editor lets it reach 15 degrees whatever the controller reports).
    const int retard = std::min(RetardLimit(model, p), model.MaxRetard);
    if (value > kZero + model.MaxAdvance || value < kZero - retard) {
      outside.push_back(p);
    }
  }
  return outside;
}

std::string PointList(const std::vector<int>& points) {
  std::string text;
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (i > 0) text += i + 1 == points.size() ? " and " : ", ";
    text += std::to_string(points[i]);
  }
  return text;
}

std::string LimitsText(const CurveModel& model) {
  return "+" + std::to_string(model.MaxAdvance) + " to -" + std::to_string(model.MaxRetard) +
         " degrees, point 1 to -" +
         std::to_string(std::min<int>(model.FirstPointRetard, model.MaxRetard));
}

}  // namespace map
