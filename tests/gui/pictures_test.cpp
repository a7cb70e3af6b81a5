// Guards the glyphs the program draws itself: the two 16 x 16 pulse glyphs pixel for
// pixel (black lines, everything else transparent) and the arrow glyphs' direction.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "gui/pictures.h"
#include "tests/gui/gui_harness.h"

namespace {

using Pixels = std::set<std::pair<int, int>>;

Pixels BlackPixels(const QImage& glyph) {
  Pixels pixels;
  for (int y = 0; y < glyph.height(); ++y) {
    for (int x = 0; x < glyph.width(); ++x) {
      const QRgb p = glyph.pixel(x, y);
      if (qAlpha(p) == 255 && qRed(p) == 0 && qGreen(p) == 0 && qBlue(p) == 0) {
        pixels.insert({x, y});
      } else {
        EXPECT_EQ(qAlpha(p), 0) << x << "," << y;
      }
    }
  }
  return pixels;
}

// Row `low` black at both ends, the two columns from row 3 to 12, row `high` between.
Pixels Pulse(int low, int high) {
  Pixels pixels;
  for (int x = 0; x <= 4; ++x) pixels.insert({x, low});
  for (int x = 11; x <= 15; ++x) pixels.insert({x, low});
  for (int y = 3; y <= 12; ++y) {
    pixels.insert({4, y});
    pixels.insert({11, y});
  }
  for (int x = 4; x <= 11; ++x) pixels.insert({x, high});
  return pixels;
}

TEST(PulseGlyph, PositivePulseIsLowAtBothEndsAndHighInTheMiddle) {
  const QImage glyph = gui::Glyph(ui::Picture::PulsePositive);
  ASSERT_EQ(glyph.size(), QSize(16, 16));
  EXPECT_EQ(BlackPixels(glyph), Pulse(12, 3));
}

TEST(PulseGlyph, NegativePulseIsThePositiveUpsideDown) {
  const QImage glyph = gui::Glyph(ui::Picture::PulseNegative);
  ASSERT_EQ(glyph.size(), QSize(16, 16));
  EXPECT_EQ(BlackPixels(glyph), Pulse(3, 12));
}

int InkInRow(const QImage& glyph, int y) {
  int ink = 0;
  for (int x = 0; x < glyph.width(); ++x) ink += qAlpha(glyph.pixel(x, y)) > 128 ? 1 : 0;
  return ink;
}

int InkInColumn(const QImage& glyph, int x) {
  int ink = 0;
  for (int y = 0; y < glyph.height(); ++y) ink += qAlpha(glyph.pixel(x, y)) > 128 ? 1 : 0;
  return ink;
}

TEST(ArrowGlyph, EachTrianglePointsItsWay) {
  const QImage up = gui::Glyph(ui::Picture::ArrowUp);
  EXPECT_LT(InkInRow(up, 5), InkInRow(up, 11));
  const QImage down = gui::Glyph(ui::Picture::ArrowDown);
  EXPECT_GT(InkInRow(down, 5), InkInRow(down, 11));
  const QImage left = gui::Glyph(ui::Picture::ArrowLeft);
  EXPECT_LT(InkInColumn(left, 5), InkInColumn(left, 11));
  const QImage right = gui::Glyph(ui::Picture::ArrowRight);
  EXPECT_GT(InkInColumn(right, 5), InkInColumn(right, 11));
}

TEST(ControllerPicture, IsDrawnOverTheWholeArea) {
  gui_test::App();
  QImage image(120, 80, QImage::Format_RGB32);
  image.fill(Qt::magenta);
  QPainter painter(&image);
  gui::PaintPicture(painter, ui::Picture::ControllerUnit, image.rect());
  painter.end();
  EXPECT_NE(image.pixel(0, 0), QColor(Qt::magenta).rgb());
  EXPECT_NE(image.pixel(119, 79), QColor(Qt::magenta).rgb());
  EXPECT_TRUE(gui::Glyph(ui::Picture::ControllerUnit).isNull());
}

}  // namespace
