// The drawing surface of an image control: immediate-mode drawing with a pen and a
// brush that keep their state between calls, as the window's image canvases do.
#pragma once

#include <vector>

#include "ui/color.h"
#include "ui/geometry.h"

namespace ui {

enum class PenStyle { Solid, Dot };

struct Pen {
  Color color = kBlack;
  int width = 1;
  PenStyle style = PenStyle::Solid;
  friend bool operator==(const Pen&, const Pen&) = default;
};

struct Brush {
  Color color = kWhite;
  friend bool operator==(const Brush&, const Brush&) = default;
};

// Coordinates are canvas pixels; rectangles and ellipses take (x1, y1) to (x2, y2)
// with the right and bottom edges excluded. A pen wider than 1 pixel draws solid
// whatever its style, as on the platform the design was drawn on.
class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual int Width() const = 0;
  virtual int Height() const = 0;

  // Fills with the brush, no outline.
  virtual void FillRect(int x1, int y1, int x2, int y2) = 0;
  // Outline with the pen, filled with the brush.
  virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
  virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
  // A line from (x1, y1) up to, not including, (x2, y2).
  virtual void Line(int x1, int y1, int x2, int y2) = 0;
  virtual void Polyline(const std::vector<Point>& points) = 0;
  // Ends a drawing operation: the view repaints from the canvas.
  virtual void Changed() {}

  void MoveTo(int x, int y) { m_pen_pos = {x, y}; }
  void LineTo(int x, int y) {
    Line(m_pen_pos.x, m_pen_pos.y, x, y);
    m_pen_pos = {x, y};
  }

  Pen pen;
  Brush brush;

 private:
  Point m_pen_pos;
};

}  // namespace ui
