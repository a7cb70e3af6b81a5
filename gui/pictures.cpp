#include "gui/pictures.h"

#include <QPainterPath>
#include <QPolygon>

namespace gui {

namespace {

constexpr int kGlyphSize = 16;

// Black lines on white, with white the transparent colour as on the button.
QImage PulseGlyph(bool positive) {
  QImage image(kGlyphSize, kGlyphSize, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  const QRgb black = qRgb(0, 0, 0);
  const int low = positive ? 12 : 3;
  const int high = positive ? 3 : 12;
  for (int x = 0; x <= 4; ++x) image.setPixel(x, low, black);
  for (int x = 11; x <= 15; ++x) image.setPixel(x, low, black);
  for (int y = 3; y <= 12; ++y) {
    image.setPixel(4, y, black);
    image.setPixel(11, y, black);
  }
  for (int x = 4; x <= 11; ++x) image.setPixel(x, high, black);
  return image;
}

QImage ArrowGlyph(ui::Picture picture) {
  QImage image(kGlyphSize, kGlyphSize, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPolygon triangle;
  switch (picture) {
    case ui::Picture::ArrowUp:
      triangle << QPoint(8, 3) << QPoint(14, 12) << QPoint(2, 12);
      break;
    case ui::Picture::ArrowDown:
      triangle << QPoint(2, 4) << QPoint(14, 4) << QPoint(8, 13);
      break;
    case ui::Picture::ArrowLeft:
      triangle << QPoint(3, 8) << QPoint(12, 2) << QPoint(12, 14);
      break;
    default:
      triangle << QPoint(4, 2) << QPoint(13, 8) << QPoint(4, 14);
      break;
  }
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  painter.drawPolygon(triangle);
  return image;
}

// A small grey box with a connector at its side and a cable leaving it, the model
// code on the front; drawn on a 100 x 60 design and stretched.
void PaintControllerUnit(QPainter& painter, const QRect& area) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(area, QColor(236, 236, 236));
  painter.translate(area.topLeft());
  painter.scale(area.width() / 100.0, area.height() / 60.0);
  // Cable.
  QPainterPath cable;
  cable.moveTo(84, 30);
  cable.cubicTo(95, 30, 92, 50, 99, 56);
  painter.setPen(QPen(QColor(30, 30, 30), 3));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(cable);
  // Connector.
  painter.setPen(QPen(QColor(60, 60, 60), 1));
  painter.setBrush(QColor(150, 150, 160));
  painter.drawRect(QRectF(76, 24, 9, 12));
  // Box.
  QLinearGradient body(0, 10, 0, 50);
  body.setColorAt(0, QColor(95, 100, 110));
  body.setColorAt(1, QColor(45, 48, 55));
  painter.setBrush(body);
  painter.setPen(QPen(QColor(20, 20, 20), 1.2));
  painter.drawRoundedRect(QRectF(10, 12, 66, 36), 4, 4);
  // Label plate.
  painter.setBrush(QColor(230, 200, 40));
  painter.setPen(Qt::NoPen);
  painter.drawRoundedRect(QRectF(18, 20, 40, 20), 2, 2);
  QFont font = painter.font();
  font.setBold(true);
  font.setPixelSize(13);
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(QRectF(18, 20, 40, 20), Qt::AlignCenter, "QZR");
  // Status lamp.
  painter.setBrush(QColor(220, 40, 40));
  painter.drawEllipse(QPointF(67, 20), 2.5, 2.5);
  painter.restore();
}

}  // namespace

QImage Glyph(ui::Picture picture) {
  switch (picture) {
    case ui::Picture::PulsePositive:
      return PulseGlyph(true);
    case ui::Picture::PulseNegative:
      return PulseGlyph(false);
    case ui::Picture::ArrowUp:
    case ui::Picture::ArrowDown:
    case ui::Picture::ArrowLeft:
    case ui::Picture::ArrowRight:
      return ArrowGlyph(picture);
    case ui::Picture::ControllerUnit:
    case ui::Picture::None:
      break;
  }
  return QImage();
}

void PaintPicture(QPainter& painter, ui::Picture picture, const QRect& area) {
  if (picture == ui::Picture::ControllerUnit) {
    PaintControllerUnit(painter, area);
    return;
  }
  const QImage glyph = Glyph(picture);
  if (!glyph.isNull()) painter.drawImage(area, glyph);
}

}  // namespace gui
