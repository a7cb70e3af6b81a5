// The drawing surface of an image control on Qt: a QImage drawn with QPainter, with
// the pixel rules of the platform the design was drawn on (right and bottom edges
// excluded, 1 px lines without their last pixel, dotted 1 px pens).
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <functional>
#include <memory>

#include "ui/canvas.h"
#include "ui/control.h"

namespace gui {

// Drawing takes the core's logical coordinates; the image holds `pixel_ratio` device
// pixels per logical pixel, so a gauge on a scaled screen is as sharp as the text.
class QtCanvas : public ui::Canvas {
 public:
  QtCanvas(int width, int height, qreal pixel_ratio = 1.0);

  int Width() const override { return m_width; }
  int Height() const override { return m_height; }
  void FillRect(int x1, int y1, int x2, int y2) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void Line(int x1, int y1, int x2, int y2) override;
  void Polyline(const std::vector<ui::Point>& points) override;
  void Changed() override;

  // The rasterised drawing, with its device pixel ratio set.
  const QImage& Image() const { return m_image; }
  // An image nobody has drawn on yet shows its parent through it, as an empty picture
  // does.
  bool Drawn() const { return m_drawn; }
  // The view showing this canvas repaints from here.
  std::function<void()> OnChanged;

 private:
  // A 1 px line from (x1, y1) up to, not including, (x2, y2); `step` carries the
  // position in the dot pattern along a polyline.
  void ThinLine(int x1, int y1, int x2, int y2, int& step);
  void Plot(int x, int y, const QColor& color);
  void Shape(bool ellipse, int x1, int y1, int x2, int y2);
  // A painter in logical coordinates; above one device pixel per logical pixel it
  // smooths the edges the core draws as diagonals and curves.
  void Begin(QPainter& painter);
  // A 1 px pen: one device pixel at ratio 1, one logical pixel above it.
  QPen ThinPen() const;

  int m_width;
  int m_height;
  QImage m_image;
  bool m_drawn = false;
};

// Canvases at the highest device pixel ratio of the application's screens.
class QtCanvasFactory : public ui::CanvasFactory {
 public:
  std::unique_ptr<ui::Canvas> Make(int width, int height) override;
};

QColor ToQColor(ui::Color color);

}  // namespace gui
