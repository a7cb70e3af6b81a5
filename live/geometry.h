// Pure geometry of the gauges and the curve trace: polar points rounded halves to
// even, the needle angle from the engine period, and the trace's point positions.
#pragma once

#include <cstdint>

#include "ui/geometry.h"

namespace live {

// Nearest integer, halves to even. Values within a billionth of a half count as the
// half, so that r * cos(60 degrees) is exactly r / 2 whatever the library's last bit.
int RoundHalfEven(double value);

// Centre of an image of that size: (W div 2, H div 2).
ui::Point GaugeCentre(int width, int height);

// The point at angle degrees (clockwise on the screen, 90 straight down) and radius.
ui::Point PolarPoint(ui::Point centre, double degrees, double radius);

// Corner m of a hub ring: starts straight below the centre and steps 30 degrees.
ui::Point RingCorner(ui::Point centre, int radius, int m);

// Palunor6's needle angle for a period above 0: 3600 / period rounded halves to
// even, before the dial's stop at kNeedleStop.
int RoundedNeedleAngle(int period);
constexpr int kNeedleStop = 290;  // 50 degrees past the "8" mark

// Palunor's needle angle for a period above 0: 3600 div period, and 0 above 260
// (the needle falls back to the zero mark).
int TruncatedNeedleAngle(int period);

// Chart position of curve point i (0..25) of value v, x0 being point 1's x.
constexpr ui::Point TracePoint(int x0, int i, int value) {
  return {x0 + 24 * i, 117 - 2 * value};
}

}  // namespace live
