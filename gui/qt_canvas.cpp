#include "gui/qt_canvas.h"

#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "ui/thin_line.h"

namespace gui {

namespace {

QPen WidePen(const ui::Pen& pen) {
  return QPen(ToQColor(pen.color), pen.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

}  // namespace

QColor ToQColor(ui::Color color) {
  return QColor(color.r, color.g, color.b);
}

QtCanvas::QtCanvas(int width, int height, qreal pixel_ratio)
    : m_width(width),
      m_height(height),
      m_image(static_cast<int>(std::ceil(width * pixel_ratio)),
              static_cast<int>(std::ceil(height * pixel_ratio)), QImage::Format_RGB32) {
  m_image.setDevicePixelRatio(pixel_ratio);
  m_image.fill(Qt::white);
}

void QtCanvas::Begin(QPainter& painter) {
  painter.begin(&m_image);
  if (m_image.devicePixelRatio() > 1.0) painter.setRenderHint(QPainter::Antialiasing);
}

QPen QtCanvas::ThinPen() const {
  return QPen(ToQColor(pen.color), m_image.devicePixelRatio() > 1.0 ? 1 : 0);
}

// One logical pixel: the block of device pixels it covers.
void QtCanvas::Plot(int x, int y, const QColor& color) {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
  const qreal ratio = m_image.devicePixelRatio();
  const int left = static_cast<int>(std::floor(x * ratio));
  const int right = std::min(m_image.width(), static_cast<int>(std::floor((x + 1) * ratio)));
  const int top = static_cast<int>(std::floor(y * ratio));
  const int bottom = std::min(m_image.height(), static_cast<int>(std::floor((y + 1) * ratio)));
  for (int row = top; row < bottom; ++row) {
    for (int column = left; column < right; ++column) m_image.setPixel(column, row, color.rgb());
  }
}

void QtCanvas::ThinLine(int x1, int y1, int x2, int y2, int& step) {
  const QColor color = ToQColor(pen.color);
  ui::ThinLinePixels(x1, y1, x2, y2, pen.style == ui::PenStyle::Dot, step,
                     [&](int x, int y) { Plot(x, y, color); });
}

void QtCanvas::FillRect(int x1, int y1, int x2, int y2) {
  QPainter painter(&m_image);
  painter.fillRect(QRect(x1, y1, x2 - x1, y2 - y1), ToQColor(brush.color));
}

void QtCanvas::Shape(bool ellipse, int x1, int y1, int x2, int y2) {
  QPainter painter;
  Begin(painter);
  painter.setBrush(ToQColor(brush.color));
  painter.setPen(pen.width > 1 ? WidePen(pen) : ThinPen());
  // A 1 px outline of QRect(x, y, w, h) covers w + 1 by h + 1 pixels; the shape must
  // stop short of x2 and y2.
  const QRect box(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
  if (ellipse) {
    painter.drawEllipse(box);
  } else {
    painter.drawRect(box);
  }
}

void QtCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  Shape(true, x1, y1, x2, y2);
}

void QtCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  Shape(false, x1, y1, x2, y2);
}

void QtCanvas::Line(int x1, int y1, int x2, int y2) {
  if (pen.width > 1) {
    QPainter painter;
    Begin(painter);
    painter.setPen(WidePen(pen));
    painter.drawLine(x1, y1, x2, y2);
    return;
  }
  int step = 0;
  ThinLine(x1, y1, x2, y2, step);
}

void QtCanvas::Polyline(const std::vector<ui::Point>& points) {
  if (points.size() < 2) return;
  if (pen.width > 1) {
    QPolygon polygon;
    for (const ui::Point& p : points) polygon << QPoint(p.x, p.y);
    QPainter painter;
    Begin(painter);
    painter.setPen(WidePen(pen));
    painter.drawPolyline(polygon);
    return;
  }
  int step = 0;
  for (std::size_t i = 1; i < points.size(); ++i) {
    ThinLine(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y, step);
  }
}

void QtCanvas::Changed() {
  m_drawn = true;
  if (OnChanged) OnChanged();
}

std::unique_ptr<ui::Canvas> QtCanvasFactory::Make(int width, int height) {
  return std::make_unique<QtCanvas>(width, height, qGuiApp->devicePixelRatio());
}

}  // namespace gui
