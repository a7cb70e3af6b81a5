// The points where the curves on screen differ from another copy of them: the
// controller's, a map file's or a backup's.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "map/curve_model.h"
#include "ui/variant.h"

namespace safekeeping {

struct PointDifference {
  int curve = 1;  // 1 or 2
  int point = 1;  // 1 to 26
  std::uint8_t other = 25;
  std::uint8_t screen = 25;
};

// The points of curve `curve` where `screen` differs from `other`, point 1 first.
std::vector<PointDifference> Differences(int curve, const map::Curve& other,
                                         const map::Curve& screen);
// A difference as a row of the differences table: curve, point, RPM on the axis in
// force, the other copy and the screen in degrees.
std::vector<std::string> DifferenceRow(ui::Variant variant, int device_version,
                                       const PointDifference& d);
// A difference as a line of a message: "Point 3 (1500 RPM): controller 5, screen 7".
std::string DifferenceLine(ui::Variant variant, int device_version, const PointDifference& d);

}  // namespace safekeeping
