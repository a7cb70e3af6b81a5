// Guards the pixel rules of the GDI canvas: fills and shapes stop short of their right
// and bottom edges, 1 px lines leave out their last pixel, dotted 1 px pens draw three
// pixels and skip three, and wider pens draw solid whatever their style.
#include <gtest/gtest.h>

#include "win32gui/gdi_canvas.h"

namespace {

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kWhite = 0xFFFFFF;

void Blacken(win32gui::GdiCanvas& canvas) {
  canvas.brush.color = ui::kBlack;
  canvas.FillRect(0, 0, canvas.Width(), canvas.Height());
}

TEST(GdiCanvas, StartsWhiteAndReadsColoursAsRgb) {
  win32gui::GdiCanvas canvas(6, 4);
  EXPECT_EQ(canvas.Pixel(0, 0), kWhite);
  EXPECT_EQ(canvas.Pixel(5, 3), kWhite);
  canvas.brush.color = ui::Color{0x12, 0x34, 0x56};
  canvas.FillRect(0, 0, 6, 4);
  EXPECT_EQ(canvas.Pixel(5, 3), 0x123456u);
}

TEST(GdiCanvas, FillRectCoversItsRectangleWithoutTheRightAndBottomEdges) {
  win32gui::GdiCanvas canvas(10, 10);
  Blacken(canvas);
  canvas.brush.color = ui::kRed;
  canvas.FillRect(2, 3, 5, 6);
  EXPECT_EQ(canvas.Pixel(2, 3), kRed);
  EXPECT_EQ(canvas.Pixel(4, 5), kRed);
  EXPECT_EQ(canvas.Pixel(5, 5), kBlack);
  EXPECT_EQ(canvas.Pixel(4, 6), kBlack);
  EXPECT_EQ(canvas.Pixel(1, 3), kBlack);
}

TEST(GdiCanvas, ThinLineLeavesOutItsLastPixelInEveryDirection) {
  win32gui::GdiCanvas canvas(10, 10);
  Blacken(canvas);
  canvas.pen = {ui::kRed, 1, ui::PenStyle::Solid};
  canvas.Line(1, 4, 6, 4);
  for (int x = 1; x < 6; ++x) EXPECT_EQ(canvas.Pixel(x, 4), kRed) << x;
  EXPECT_EQ(canvas.Pixel(6, 4), kBlack);
  EXPECT_EQ(canvas.Pixel(0, 4), kBlack);
  canvas.Line(8, 8, 8, 2);  // upwards
  EXPECT_EQ(canvas.Pixel(8, 8), kRed);
  EXPECT_EQ(canvas.Pixel(8, 3), kRed);
  EXPECT_EQ(canvas.Pixel(8, 2), kBlack);
  canvas.Line(0, 9, 4, 5);  // a diagonal
  for (int i = 0; i < 4; ++i) EXPECT_EQ(canvas.Pixel(i, 9 - i), kRed) << i;
  EXPECT_EQ(canvas.Pixel(4, 5), kBlack);
}

TEST(GdiCanvas, LinesPastTheEdgesAreClippedNotWrapped) {
  win32gui::GdiCanvas canvas(8, 4);
  Blacken(canvas);
  canvas.pen = {ui::kRed, 1, ui::PenStyle::Solid};
  canvas.Line(-5, 1, 20, 1);
  EXPECT_EQ(canvas.Pixel(0, 1), kRed);
  EXPECT_EQ(canvas.Pixel(7, 1), kRed);
  EXPECT_EQ(canvas.Pixel(0, 2), kBlack);  // the row below holds no wrapped pixels
  EXPECT_EQ(canvas.Pixel(7, 0), kBlack);
}

TEST(GdiCanvas, DottedThinPenDrawsThreePixelsAndSkipsThreeLeavingTheGapsAlone) {
  win32gui::GdiCanvas canvas(20, 4);
  Blacken(canvas);
  canvas.pen = {ui::kSilver, 1, ui::PenStyle::Dot};
  canvas.Line(0, 1, 18, 1);
  for (int x = 0; x < 18; ++x) {
    EXPECT_EQ(canvas.Pixel(x, 1), (x / 3) % 2 == 0 ? 0xC0C0C0u : kBlack) << x;
  }
}

TEST(GdiCanvas, DotPatternRunsOnAcrossTheCornersOfAPolyline) {
  win32gui::GdiCanvas canvas(10, 10);
  Blacken(canvas);
  canvas.pen = {ui::kRed, 1, ui::PenStyle::Dot};
  canvas.Polyline({{0, 0}, {4, 0}, {4, 8}});
  // Pixels 0..2 on, 3 off, then the second segment starts at step 4: 4, 5 off, 6.. on.
  EXPECT_EQ(canvas.Pixel(2, 0), kRed);
  EXPECT_EQ(canvas.Pixel(3, 0), kBlack);
  EXPECT_EQ(canvas.Pixel(4, 0), kBlack);
  EXPECT_EQ(canvas.Pixel(4, 1), kBlack);
  EXPECT_EQ(canvas.Pixel(4, 2), kRed);
}

TEST(GdiCanvas, WidePenDrawsSolidEvenWhenDotted) {
  win32gui::GdiCanvas canvas(30, 10);
  Blacken(canvas);
  canvas.pen = {ui::kRed, 3, ui::PenStyle::Dot};
  canvas.Polyline({{2, 5}, {26, 5}});
  for (int x = 3; x < 26; ++x) {
    EXPECT_EQ(canvas.Pixel(x, 5), kRed) << x;
    EXPECT_EQ(canvas.Pixel(x, 4), kRed) << x;
    EXPECT_EQ(canvas.Pixel(x, 6), kRed) << x;
  }
  EXPECT_EQ(canvas.Pixel(14, 8), kBlack);
  EXPECT_EQ(canvas.Pixel(14, 2), kBlack);
}

TEST(GdiCanvas, WideLineIsOneColourWithoutBlendedEdges) {
  win32gui::GdiCanvas canvas(40, 40);
  Blacken(canvas);
  canvas.pen = {ui::kAqua, 2, ui::PenStyle::Solid};
  canvas.Line(3, 5, 35, 31);
  int drawn = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x) {
      const std::uint32_t pixel = canvas.Pixel(x, y);
      EXPECT_TRUE(pixel == kBlack || pixel == 0x00FFFFu) << x << "," << y;
      drawn += pixel != kBlack;
    }
  }
  EXPECT_GT(drawn, 60);
}

TEST(GdiCanvas, EllipseFitsInsideItsBoxWithoutTheRightAndBottomEdges) {
  win32gui::GdiCanvas canvas(21, 21);
  canvas.pen = {ui::kBlue, 1, ui::PenStyle::Solid};
  canvas.brush.color = ui::kBlack;
  canvas.Ellipse(0, 0, 20, 20);
  EXPECT_EQ(canvas.Pixel(10, 10), kBlack);  // filled with the brush
  EXPECT_EQ(canvas.Pixel(0, 10), kBlue);    // outline on the left edge
  EXPECT_EQ(canvas.Pixel(19, 10), kBlue);   // and on the last column inside the box
  EXPECT_EQ(canvas.Pixel(20, 10), kWhite);
  EXPECT_EQ(canvas.Pixel(10, 20), kWhite);
  EXPECT_EQ(canvas.Pixel(0, 0), kWhite);  // corners stay outside
}

TEST(GdiCanvas, WidePenIsCentredOnTheOutlineThroughTheLastPixelsInside) {
  win32gui::GdiCanvas canvas(22, 22);
  canvas.pen = {ui::kBlue, 2, ui::PenStyle::Solid};
  canvas.brush.color = ui::kBlack;
  canvas.Ellipse(0, 0, 20, 20);
  EXPECT_EQ(canvas.Pixel(0, 10), kBlue);
  EXPECT_EQ(canvas.Pixel(19, 10), kBlue);
  EXPECT_EQ(canvas.Pixel(10, 19), kBlue);
  EXPECT_EQ(canvas.Pixel(20, 10), kWhite);  // half the pen lies outside, one pixel
  EXPECT_EQ(canvas.Pixel(3, 10), kBlack);
  EXPECT_EQ(canvas.Pixel(10, 10), kBlack);
  EXPECT_EQ(canvas.Pixel(1, 1), kWhite);
  canvas.Rectangle(2, 2, 8, 8);  // the outline through 2 and 7: 1 .. 7 at 2 px
  EXPECT_EQ(canvas.Pixel(1, 4), kBlue);
  EXPECT_EQ(canvas.Pixel(2, 4), kBlue);
  EXPECT_EQ(canvas.Pixel(3, 4), kBlack);
  EXPECT_EQ(canvas.Pixel(7, 4), kBlue);
  EXPECT_EQ(canvas.Pixel(8, 4), kBlack);
}

TEST(GdiCanvas, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
  win32gui::GdiCanvas canvas(10, 10);
  Blacken(canvas);
  canvas.pen = {ui::kBlue, 1, ui::PenStyle::Solid};
  canvas.brush.color = ui::kRed;
  canvas.Rectangle(1, 1, 6, 6);
  EXPECT_EQ(canvas.Pixel(1, 1), kBlue);
  EXPECT_EQ(canvas.Pixel(5, 5), kBlue);
  EXPECT_EQ(canvas.Pixel(3, 3), kRed);
  EXPECT_EQ(canvas.Pixel(6, 6), kBlack);
}

TEST(GdiCanvas, DottedPenOutlinesShapesSolid) {
  win32gui::GdiCanvas canvas(12, 12);
  Blacken(canvas);
  canvas.pen = {ui::kBlue, 1, ui::PenStyle::Dot};
  canvas.brush.color = ui::kBlack;
  canvas.Rectangle(0, 0, 11, 11);
  for (int x = 0; x < 11; ++x) EXPECT_EQ(canvas.Pixel(x, 0), kBlue) << x;
}

TEST(GdiCanvas, ChangedTellsTheViewAndMarksTheImageDrawn) {
  win32gui::GdiCanvas canvas(4, 4);
  int repaints = 0;
  canvas.OnChanged = [&repaints] { ++repaints; };
  EXPECT_FALSE(canvas.Drawn());
  canvas.FillRect(0, 0, 4, 4);
  canvas.Changed();
  EXPECT_EQ(repaints, 1);
  EXPECT_TRUE(canvas.Drawn());
}

TEST(GdiCanvas, PaintsItselfOntoAnotherDcAtItsSizeAndStretched) {
  win32gui::GdiCanvas source(4, 2);
  Blacken(source);
  source.brush.color = ui::kRed;
  source.FillRect(2, 0, 4, 2);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 8, -4, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  source.PaintTo(dc, 0, 0, 8, 4);  // twice the size: whole pixels doubled
  EXPECT_EQ(GetPixel(dc, 3, 3), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 4, 0), RGB(255, 0, 0));
  source.PaintTo(dc, 0, 0, 4, 2);
  EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 2, 1), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 4, 1), RGB(255, 0, 0));  // left from the stretched copy
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

TEST(GdiCanvasFactory, MakesCanvasesOfTheAskedSize) {
  win32gui::GdiCanvasFactory factory;
  auto canvas = factory.Make(647, 128);
  EXPECT_EQ(canvas->Width(), 647);
  EXPECT_EQ(canvas->Height(), 128);
}

}  // namespace
