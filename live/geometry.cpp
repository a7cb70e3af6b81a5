#include "live/geometry.h"

#include <cmath>
#include <numbers>

namespace live {

int RoundHalfEven(double value) {
  const double floor = std::floor(value);
  const double above = value - floor;
  if (std::fabs(above - 0.5) < 1e-9) {
    const long whole = static_cast<long>(floor);
    return static_cast<int>(whole % 2 == 0 ? whole : whole + 1);
  }
  return static_cast<int>(std::lround(value));
}

ui::Point GaugeCentre(int width, int height) {
  return {width / 2, height / 2};
}

ui::Point PolarPoint(ui::Point centre, double degrees, double radius) {
  const double radians = degrees * std::numbers::pi / 180.0;
  return {centre.x + RoundHalfEven(radius * std::cos(radians)),
          centre.y + RoundHalfEven(radius * std::sin(radians))};
}

ui::Point RingCorner(ui::Point centre, int radius, int m) {
  const double radians = 30.0 * m * std::numbers::pi / 180.0;
  return {centre.x + RoundHalfEven(radius * std::sin(radians)),
          centre.y + RoundHalfEven(radius * std::cos(radians))};
}

int RoundedNeedleAngle(int period) {
  const int whole = 3600 / period;
  const int twice_rest = 2 * (3600 % period);
  if (twice_rest > period || (twice_rest == period && whole % 2 != 0)) return whole + 1;
  return whole;
}

int TruncatedNeedleAngle(int period) {
  const int angle = 3600 / period;
  return angle > 260 ? 0 : angle;
}

}  // namespace live
