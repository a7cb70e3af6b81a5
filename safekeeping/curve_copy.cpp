#include "safekeeping/curve_copy.h"

#include <algorithm>

#include "map/limits.h"

namespace safekeeping {

namespace {

constexpr int kZero = 25;  // the point value of 0 degrees

}  // namespace

map::Curve WithinLimits(const map::CurveModel& model, const map::Curve& curve) {
  map::Curve held = curve;
  for (std::size_t i = 0; i < held.size(); ++i) {
    const int p = static_cast<int>(i) + 1;
    // The limits Send checks; and a byte never wraps round when a controller reports
    // limits beyond 25 degrees.
    const int retard = std::min(map::RetardLimit(model, p), model.MaxRetard);
    const int low = std::max(0, kZero - retard);
    const int high = std::clamp(kZero + model.MaxAdvance, low, 255);
    held[i] = static_cast<std::uint8_t>(std::clamp(static_cast<int>(held[i]), low, high));
  }
  return held;
}

std::array<map::Curve, 2> CopiedCurves(const map::CurveModel& model, int from) {
  std::array<map::Curve, 2> curves = model.AdvCurves;
  const map::Curve copied = WithinLimits(model, model.AdvCurves[from == 1 ? 0 : 1]);
  curves[from == 1 ? 1 : 0] = copied;
  return curves;
}

std::array<map::Curve, 2> SwappedCurves(const map::CurveModel& model) {
  return {WithinLimits(model, model.AdvCurves[1]), WithinLimits(model, model.AdvCurves[0])};
}

}  // namespace safekeeping
