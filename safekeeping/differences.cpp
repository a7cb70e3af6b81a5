#include "safekeeping/differences.h"

#include "map/axis.h"
#include "map/curve_editor.h"

namespace safekeeping {

std::vector<PointDifference> Differences(int curve, const map::Curve& other,
                                         const map::Curve& screen) {
  std::vector<PointDifference> found;
  for (std::size_t i = 0; i < screen.size(); ++i) {
    if (other[i] != screen[i])
      found.push_back({curve, static_cast<int>(i) + 1, other[i], screen[i]});
  }
  return found;
}

std::vector<std::string> DifferenceRow(ui::Variant variant, int device_version,
                                       const PointDifference& d) {
  return {"Advance " + std::to_string(d.curve), std::to_string(d.point),
          std::to_string(map::PointRpm(variant, device_version, d.point)),
          map::DegreesText(d.other), map::DegreesText(d.screen)};
}

std::string DifferenceLine(ui::Variant variant, int device_version, const PointDifference& d) {
  return "Point " + std::to_string(d.point) + " (" +
         std::to_string(map::PointRpm(variant, device_version, d.point)) + " RPM): controller " +
         map::DegreesText(d.other) + ", screen " + map::DegreesText(d.screen);
}

}  // namespace safekeeping
