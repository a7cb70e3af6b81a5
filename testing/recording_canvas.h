// The headless canvas: it records every drawing operation with the pen and brush in
// force, so tests assert geometry (segment end points, colours, widths).
#pragma once

#include <cstddef>
#include <vector>

#include "ui/canvas.h"

namespace ui {

enum class DrawKind { FillRect, Ellipse, Rectangle, Line, Polyline };

struct DrawOp {
  DrawKind kind;
  std::vector<Point> points;  // two corners for shapes, end points for lines
  Pen pen;
  Brush brush;
};

class RecordingCanvas : public Canvas {
 public:
  RecordingCanvas(int width, int height) : m_width(width), m_height(height) {}

  int Width() const override { return m_width; }
  int Height() const override { return m_height; }
  void FillRect(int x1, int y1, int x2, int y2) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void Line(int x1, int y1, int x2, int y2) override;
  void Polyline(const std::vector<Point>& points) override;
  void Changed() override { ++m_changes; }

  // Operations since the last Clear(); the oldest are dropped past kMaxOps so a long
  // run does not grow without end.
  const std::vector<DrawOp>& Ops() const { return m_ops; }
  void Clear() { m_ops.clear(); }
  std::size_t Changes() const { return m_changes; }

  static constexpr std::size_t kMaxOps = 4096;

 private:
  void Record(DrawKind kind, std::vector<Point> points);

  int m_width;
  int m_height;
  std::vector<DrawOp> m_ops;
  std::size_t m_changes = 0;
};

}  // namespace ui
