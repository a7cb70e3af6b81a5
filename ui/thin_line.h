// The pixels a 1 px pen sets, shared by the front ends' canvases so that a line, a
// dotted grid line or a polyline covers the same pixels on every platform.
#pragma once

#include <cstdlib>

namespace ui {

// A dotted 1 px pen sets this many pixels, then leaves as many alone.
constexpr int kDotRun = 3;

// Calls plot(x, y) for each pixel from (x1, y1) up to, not including, (x2, y2), in
// order along the line. A dotted pen plots only the set runs of its pattern; `step`
// is the position in the pattern, carried on from one segment of a polyline to the
// next so the pattern runs on across the corners.
template <typename Plot>
void ThinLinePixels(int x1, int y1, int x2, int y2, bool dotted, int& step, Plot&& plot) {
  const int dx = std::abs(x2 - x1);
  const int dy = -std::abs(y2 - y1);
  const int sx = x1 < x2 ? 1 : -1;
  const int sy = y1 < y2 ? 1 : -1;
  int error = dx + dy;
  int x = x1;
  int y = y1;
  while (x != x2 || y != y2) {
    if (!dotted || (step / kDotRun) % 2 == 0) plot(x, y);
    ++step;
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x += sx;
    }
    if (twice <= dx) {
      error += dx;
      y += sy;
    }
  }
}

}  // namespace ui
