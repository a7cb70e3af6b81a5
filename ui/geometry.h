// Pixel geometry shared by controls and canvases.
#pragma once

namespace ui {

struct Point {
  int x = 0;
  int y = 0;
  friend constexpr bool operator==(Point, Point) = default;
};

// A control's bounds in its parent, or a rectangle on a canvas (right and bottom
// exclusive, as the platform's drawing calls take them).
struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend constexpr bool operator==(Rect, Rect) = default;
};

}  // namespace ui
