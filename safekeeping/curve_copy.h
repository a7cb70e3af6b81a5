// Copying one working curve over the other and swapping them, within the
// controller's limits.
#pragma once

#include <array>

#include "map/curve_model.h"

namespace safekeeping {

// `curve` with each point held within the limits the controller takes it with.
map::Curve WithinLimits(const map::CurveModel& model, const map::Curve& curve);
// Both working curves after curve `from` is copied over the other.
std::array<map::Curve, 2> CopiedCurves(const map::CurveModel& model, int from);
// Both working curves after they change places.
std::array<map::Curve, 2> SwappedCurves(const map::CurveModel& model);

}  // namespace safekeeping
