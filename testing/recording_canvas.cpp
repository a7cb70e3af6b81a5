#include "testing/recording_canvas.h"

#include <utility>

namespace ui {

void RecordingCanvas::Record(DrawKind kind, std::vector<Point> points) {
  if (m_ops.size() >= kMaxOps) m_ops.erase(m_ops.begin(), m_ops.begin() + kMaxOps / 2);
  m_ops.push_back(DrawOp{kind, std::move(points), pen, brush});
}

void RecordingCanvas::FillRect(int x1, int y1, int x2, int y2) {
  Record(DrawKind::FillRect, {{x1, y1}, {x2, y2}});
}

void RecordingCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  Record(DrawKind::Ellipse, {{x1, y1}, {x2, y2}});
}

void RecordingCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  Record(DrawKind::Rectangle, {{x1, y1}, {x2, y2}});
}

void RecordingCanvas::Line(int x1, int y1, int x2, int y2) {
  Record(DrawKind::Line, {{x1, y1}, {x2, y2}});
}

void RecordingCanvas::Polyline(const std::vector<Point>& points) {
  Record(DrawKind::Polyline, points);
}

}  // namespace ui
