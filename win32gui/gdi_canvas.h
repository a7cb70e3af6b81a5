// The drawing surface of an image control on Windows: GDI drawing into a 32-bpp
// top-down DIB section, with the pixel rules of the platform the design was drawn on
// (right and bottom edges excluded, 1 px lines without their last pixel, dotted 1 px
// pens that draw three pixels and skip three, wider pens solid whatever their style).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "ui/canvas.h"
#include "ui/control.h"

namespace win32gui {

class GdiCanvas : public ui::Canvas {
 public:
  // White, as a new image is.
  GdiCanvas(int width, int height);
  ~GdiCanvas() override;
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  int Width() const override { return m_width; }
  int Height() const override { return m_height; }
  void FillRect(int x1, int y1, int x2, int y2) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void Line(int x1, int y1, int x2, int y2) override;
  void Polyline(const std::vector<ui::Point>& points) override;
  void Changed() override;

  // 0x00RRGGBB; outside the image, 0.
  std::uint32_t Pixel(int x, int y) const;
  // An image nobody has drawn on yet shows its parent through it, as an empty picture
  // does.
  bool Drawn() const { return m_drawn; }
  // Copies the image to (x, y, w, h) of `dc`, stretched when w or h differ from its
  // size (a scaled screen).
  void PaintTo(HDC dc, int x, int y, int w, int h) const;
  // The view showing this canvas repaints from here.
  std::function<void()> OnChanged;

 private:
  // A 1 px line from (x1, y1) up to, not including, (x2, y2); `step` carries the
  // position in the dot pattern along a polyline.
  void ThinLine(int x1, int y1, int x2, int y2, int& step);
  // A segment of a pen wider than 1 px, with round ends.
  void WideSegment(double x1, double y1, double x2, double y2);
  void Shape(bool ellipse, int x1, int y1, int x2, int y2);
  // A shape with a pen wider than 1 px centred on the outline through (x1, y1) and
  // (x2, y2), both inside.
  void WideShape(bool ellipse, int x1, int y1, int x2, int y2);

  int m_width;
  int m_height;
  HDC m_dc = nullptr;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_old_bitmap = nullptr;
  std::uint32_t* m_bits = nullptr;
  bool m_drawn = false;
};

class GdiCanvasFactory : public ui::CanvasFactory {
 public:
  std::unique_ptr<ui::Canvas> Make(int width, int height) override;
};

// The GDI colour of a core colour.
COLORREF ToColorRef(ui::Color color);

}  // namespace win32gui
