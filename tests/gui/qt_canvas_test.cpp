// Guards the pixel rules of the Qt canvas: fills and shapes stop short of their right
// and bottom edges, 1 px lines leave out their last pixel, dotted 1 px pens draw three
// pixels and skip three, and wider pens draw solid whatever their style.
#include <gtest/gtest.h>

#include "gui/qt_canvas.h"

namespace {

QRgb At(const gui::QtCanvas& canvas, int x, int y) {
  return canvas.Image().pixel(x, y);
}

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kBlue = qRgb(0, 0, 255);

gui::QtCanvas BlackCanvas(int width, int height) {
  gui::QtCanvas canvas(width, height);
  canvas.brush.color = ui::kBlack;
  canvas.FillRect(0, 0, width, height);
  return canvas;
}

TEST(QtCanvas, FillRectCoversItsRectangleWithoutTheRightAndBottomEdges) {
  gui::QtCanvas canvas = BlackCanvas(10, 10);
  canvas.brush.color = ui::kRed;
  canvas.FillRect(2, 3, 5, 6);
  EXPECT_EQ(At(canvas, 2, 3), kRed);
  EXPECT_EQ(At(canvas, 4, 5), kRed);
  EXPECT_EQ(At(canvas, 5, 5), kBlack);
  EXPECT_EQ(At(canvas, 4, 6), kBlack);
  EXPECT_EQ(At(canvas, 1, 3), kBlack);
}

TEST(QtCanvas, ThinLineLeavesOutItsLastPixel) {
  gui::QtCanvas canvas = BlackCanvas(10, 10);
  canvas.pen = {ui::kRed, 1, ui::PenStyle::Solid};
  canvas.Line(1, 4, 6, 4);
  for (int x = 1; x < 6; ++x) EXPECT_EQ(At(canvas, x, 4), kRed) << x;
  EXPECT_EQ(At(canvas, 6, 4), kBlack);
  EXPECT_EQ(At(canvas, 0, 4), kBlack);
}

TEST(QtCanvas, DottedThinPenDrawsThreePixelsAndSkipsThree) {
  gui::QtCanvas canvas = BlackCanvas(20, 4);
  canvas.pen = {ui::kSilver, 1, ui::PenStyle::Dot};
  canvas.Line(0, 1, 18, 1);
  const QRgb silver = qRgb(192, 192, 192);
  for (int x = 0; x < 18; ++x) {
    EXPECT_EQ(At(canvas, x, 1), (x / 3) % 2 == 0 ? silver : kBlack) << x;
  }
}

TEST(QtCanvas, DotPatternRunsOnAcrossTheCornersOfAPolyline) {
  gui::QtCanvas canvas = BlackCanvas(10, 10);
  canvas.pen = {ui::kRed, 1, ui::PenStyle::Dot};
  canvas.Polyline({{0, 0}, {4, 0}, {4, 8}});
  // Pixels 0..2 on, 3 off, then the second segment starts at step 4: 4, 5 off, 6.. on.
  EXPECT_EQ(At(canvas, 2, 0), kRed);
  EXPECT_EQ(At(canvas, 3, 0), kBlack);
  EXPECT_EQ(At(canvas, 4, 0), kBlack);
  EXPECT_EQ(At(canvas, 4, 1), kBlack);
  EXPECT_EQ(At(canvas, 4, 2), kRed);
}

TEST(QtCanvas, WidePenDrawsSolidEvenWhenDotted) {
  gui::QtCanvas canvas = BlackCanvas(30, 10);
  canvas.pen = {ui::kRed, 3, ui::PenStyle::Dot};
  canvas.Polyline({{2, 5}, {26, 5}});
  for (int x = 3; x < 26; ++x) {
    EXPECT_EQ(At(canvas, x, 5), kRed) << x;
    EXPECT_EQ(At(canvas, x, 4), kRed) << x;
    EXPECT_EQ(At(canvas, x, 6), kRed) << x;
  }
  EXPECT_EQ(At(canvas, 14, 8), kBlack);
}

TEST(QtCanvas, EllipseFitsInsideItsBoxWithoutTheRightAndBottomEdges) {
  gui::QtCanvas canvas(21, 21);
  canvas.brush.color = ui::kBlack;
  canvas.pen = {ui::kBlue, 1, ui::PenStyle::Solid};
  canvas.brush.color = ui::kWhite;
  canvas.FillRect(0, 0, 21, 21);
  canvas.brush.color = ui::kBlack;
  canvas.Ellipse(0, 0, 20, 20);
  EXPECT_EQ(At(canvas, 10, 10), kBlack);  // filled with the brush
  EXPECT_EQ(At(canvas, 0, 10), kBlue);    // outline on the left edge
  EXPECT_EQ(At(canvas, 19, 10), kBlue);   // and on the last column inside the box
  EXPECT_EQ(At(canvas, 20, 10), qRgb(255, 255, 255));
  EXPECT_EQ(At(canvas, 10, 20), qRgb(255, 255, 255));
  EXPECT_EQ(At(canvas, 0, 0), qRgb(255, 255, 255));  // corners stay outside
}

TEST(QtCanvas, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
  gui::QtCanvas canvas = BlackCanvas(10, 10);
  canvas.pen = {ui::kBlue, 1, ui::PenStyle::Solid};
  canvas.brush.color = ui::kRed;
  canvas.Rectangle(1, 1, 6, 6);
  EXPECT_EQ(At(canvas, 1, 1), kBlue);
  EXPECT_EQ(At(canvas, 5, 5), kBlue);
  EXPECT_EQ(At(canvas, 3, 3), kRed);
  EXPECT_EQ(At(canvas, 6, 6), kBlack);
}

TEST(QtCanvas, ChangedTellsTheViewAndMarksTheImageDrawn) {
  gui::QtCanvas canvas(4, 4);
  int repaints = 0;
  canvas.OnChanged = [&repaints] { ++repaints; };
  EXPECT_FALSE(canvas.Drawn());
  canvas.FillRect(0, 0, 4, 4);
  canvas.Changed();
  EXPECT_EQ(repaints, 1);
  EXPECT_TRUE(canvas.Drawn());
}

TEST(QtCanvasFactory, MakesCanvasesOfTheAskedSize) {
  gui::QtCanvasFactory factory;
  auto canvas = factory.Make(647, 128);
  EXPECT_EQ(canvas->Width(), 647);
  EXPECT_EQ(canvas->Height(), 128);
}

TEST(QtCanvas, AtTwoDevicePixelsPerPixelDrawsTheSameShapesSharper) {
  gui::QtCanvas canvas(10, 10, 2.0);
  EXPECT_EQ(canvas.Width(), 10);
  EXPECT_EQ(canvas.Height(), 10);
  EXPECT_EQ(canvas.Image().size(), QSize(20, 20));
  EXPECT_EQ(canvas.Image().devicePixelRatio(), 2.0);
  canvas.brush.color = ui::kBlack;
  canvas.FillRect(0, 0, 10, 10);
  // A 1 px line covers two device pixels square per pixel, still without its last.
  canvas.pen = {ui::kRed, 1, ui::PenStyle::Solid};
  canvas.Line(1, 4, 6, 4);
  for (int x = 2; x < 12; ++x) {
    EXPECT_EQ(canvas.Image().pixel(x, 8), kRed) << x;
    EXPECT_EQ(canvas.Image().pixel(x, 9), kRed) << x;
  }
  EXPECT_EQ(canvas.Image().pixel(12, 8), kBlack);
  // A circle's edge is smoothed by the finer pixels, not stepped.
  canvas.pen = {ui::kBlue, 2, ui::PenStyle::Solid};
  canvas.brush.color = ui::kBlue;
  canvas.Ellipse(0, 0, 10, 10);
  bool blended = false;
  for (int y = 0; y < 20 && !blended; ++y) {
    for (int x = 0; x < 20 && !blended; ++x) {
      const QRgb pixel = canvas.Image().pixel(x, y);
      blended = qBlue(pixel) > 0 && qBlue(pixel) < 255 && qRed(pixel) == 0;
    }
  }
  EXPECT_TRUE(blended);
}

}  // namespace
