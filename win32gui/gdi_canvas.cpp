#include "win32gui/gdi_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "ui/thin_line.h"

namespace win32gui {

namespace {

// Wide pens and the shapes they outline take a pixel when its centre is covered.
constexpr double kPixelCentre = 0.5;
constexpr double kPi = 3.14159265358979323846;

std::uint32_t ToPixel(ui::Color color) {
  return (std::uint32_t{color.r} << 16) | (std::uint32_t{color.g} << 8) | color.b;
}

// Selects an object into a DC for one drawing call and deletes it afterwards.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : m_dc(dc), m_object(object), m_old(SelectObject(dc, object)) {}
  ~Selected() {
    SelectObject(m_dc, m_old);
    DeleteObject(m_object);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC m_dc;
  HGDIOBJ m_object;
  HGDIOBJ m_old;
};

}  // namespace

COLORREF ToColorRef(ui::Color color) {
  return RGB(color.r, color.g, color.b);
}

GdiCanvas::GdiCanvas(int width, int height) : m_width(width), m_height(height) {
  // GDI makes no bitmap of no pixels; an empty canvas keeps one it never draws on.
  const int stride = std::max(width, 1);
  const int rows = std::max(height, 1);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = stride;
  // Negative: top-down, so row y starts at m_bits + y * width.
  info.bmiHeader.biHeight = -rows;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  m_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  m_dc = CreateCompatibleDC(nullptr);
  if (m_bitmap == nullptr || m_dc == nullptr) std::abort();
  m_bits = static_cast<std::uint32_t*>(bits);
  m_old_bitmap = SelectObject(m_dc, m_bitmap);
  std::fill(m_bits, m_bits + static_cast<std::size_t>(stride) * rows, ToPixel(ui::kWhite));
}

GdiCanvas::~GdiCanvas() {
  SelectObject(m_dc, m_old_bitmap);
  DeleteDC(m_dc);
  DeleteObject(m_bitmap);
}

std::uint32_t GdiCanvas::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
  GdiFlush();
  return m_bits[static_cast<std::size_t>(y) * m_width + x] & 0x00FFFFFFu;
}

// Thin lines are plotted here rather than with LineTo: GDI's own dotted pens fill the
// gaps with the background colour, and their pattern and the choice of pixels on a
// diagonal would otherwise rest on the GDI at hand; these are the same pixels the other
// front end plots.
void GdiCanvas::ThinLine(int x1, int y1, int x2, int y2, int& step) {
  GdiFlush();
  const std::uint32_t color = ToPixel(pen.color);
  ui::ThinLinePixels(x1, y1, x2, y2, pen.style == ui::PenStyle::Dot, step, [&](int x, int y) {
    if (x >= 0 && y >= 0 && x < m_width && y < m_height) {
      m_bits[static_cast<std::size_t>(y) * m_width + x] = color;
    }
  });
}

// Wide lines are plotted here too: GDI's wide pens place the pixels of a slanted edge by
// a rounding of their own, a pixel off the other front end's along whole edges, and
// not the same in every GDI. A pixel is the pen's when its centre lies within half the
// pen's width of the segment; the round ends of the segments make a polyline's round
// joins.
void GdiCanvas::WideSegment(double x1, double y1, double x2, double y2) {
  GdiFlush();
  const std::uint32_t color = ToPixel(pen.color);
  const double half = pen.width / 2.0;
  const int reach = static_cast<int>(std::ceil(half)) + 1;
  const int left = std::max(0, static_cast<int>(std::floor(std::min(x1, x2))) - reach);
  const int right = std::min(m_width - 1, static_cast<int>(std::ceil(std::max(x1, x2))) + reach);
  const int top = std::max(0, static_cast<int>(std::floor(std::min(y1, y2))) - reach);
  const int bottom = std::min(m_height - 1, static_cast<int>(std::ceil(std::max(y1, y2))) + reach);
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  const double length2 = dx * dx + dy * dy;
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      const double sx = x + kPixelCentre - x1;
      const double sy = y + kPixelCentre - y1;
      const double t = length2 == 0 ? 0 : std::clamp((sx * dx + sy * dy) / length2, 0.0, 1.0);
      const double ex = sx - t * dx;
      const double ey = sy - t * dy;
      if (ex * ex + ey * ey <= half * half) {
        m_bits[static_cast<std::size_t>(y) * m_width + x] = color;
      }
    }
  }
}

void GdiCanvas::FillRect(int x1, int y1, int x2, int y2) {
  const RECT rect{x1, y1, x2, y2};
  HBRUSH fill = CreateSolidBrush(ToColorRef(brush.color));
  ::FillRect(m_dc, &rect, fill);
  DeleteObject(fill);
}

// GDI's shapes stop short of x2 and y2 with a 1 px pen, pixel for pixel as the other
// front end's do. A wider pen is centred on the outline through the last pixels
// inside, and is plotted here as wide lines are.
void GdiCanvas::Shape(bool ellipse, int x1, int y1, int x2, int y2) {
  if (pen.width > 1) {
    WideShape(ellipse, x1, y1, x2 - 1, y2 - 1);
    return;
  }
  const Selected outline(m_dc, CreatePen(PS_SOLID, 1, ToColorRef(pen.color)));
  const Selected fill(m_dc, CreateSolidBrush(ToColorRef(brush.color)));
  if (ellipse) {
    ::Ellipse(m_dc, x1, y1, x2, y2);
  } else {
    ::Rectangle(m_dc, x1, y1, x2, y2);
  }
}

// The brush inside the outline from (x1, y1) to (x2, y2), then the pen along it.
void GdiCanvas::WideShape(bool ellipse, int x1, int y1, int x2, int y2) {
  const double cx = (x1 + x2) / 2.0;
  const double cy = (y1 + y2) / 2.0;
  const double rx = (x2 - x1) / 2.0;
  const double ry = (y2 - y1) / 2.0;
  GdiFlush();
  const std::uint32_t fill = ToPixel(brush.color);
  for (int y = std::max(0, y1); y <= std::min(m_height - 1, y2); ++y) {
    for (int x = std::max(0, x1); x <= std::min(m_width - 1, x2); ++x) {
      const double nx = rx > 0 ? (x + kPixelCentre - cx) / rx : 0;
      const double ny = ry > 0 ? (y + kPixelCentre - cy) / ry : 0;
      const bool inside = ellipse ? nx * nx + ny * ny <= 1 : std::abs(nx) <= 1 && std::abs(ny) <= 1;
      if (inside) m_bits[static_cast<std::size_t>(y) * m_width + x] = fill;
    }
  }
  if (!ellipse) {
    WideSegment(x1, y1, x2, y1);
    WideSegment(x2, y1, x2, y2);
    WideSegment(x2, y2, x1, y2);
    WideSegment(x1, y2, x1, y1);
    return;
  }
  // The outline as a polygon of sides much shorter than a pixel.
  const int sides = 4 * (static_cast<int>(std::max(rx, ry)) + 1);
  const double turn = 2 * kPi / sides;
  double x = cx + rx;
  double y = cy;
  for (int i = 1; i <= sides; ++i) {
    const double next_x = cx + rx * std::cos(i * turn);
    const double next_y = cy + ry * std::sin(i * turn);
    WideSegment(x, y, next_x, next_y);
    x = next_x;
    y = next_y;
  }
}

void GdiCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  Shape(true, x1, y1, x2, y2);
}

void GdiCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  Shape(false, x1, y1, x2, y2);
}

void GdiCanvas::Line(int x1, int y1, int x2, int y2) {
  if (pen.width > 1) {
    WideSegment(x1, y1, x2, y2);
    return;
  }
  int step = 0;
  ThinLine(x1, y1, x2, y2, step);
}

void GdiCanvas::Polyline(const std::vector<ui::Point>& points) {
  if (points.size() < 2) return;
  if (pen.width > 1) {
    for (std::size_t i = 1; i < points.size(); ++i) {
      WideSegment(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
    }
    return;
  }
  int step = 0;
  for (std::size_t i = 1; i < points.size(); ++i) {
    ThinLine(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y, step);
  }
}

void GdiCanvas::Changed() {
  m_drawn = true;
  if (OnChanged) OnChanged();
}

void GdiCanvas::PaintTo(HDC dc, int x, int y, int w, int h) const {
  GdiFlush();
  if (w == m_width && h == m_height) {
    BitBlt(dc, x, y, w, h, m_dc, 0, 0, SRCCOPY);
    return;
  }
  // Whole pixels, never blended: the gauges keep their hard edges on a scaled screen.
  const int old_mode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, x, y, w, h, m_dc, 0, 0, m_width, m_height, SRCCOPY);
  SetStretchBltMode(dc, old_mode);
}

std::unique_ptr<ui::Canvas> GdiCanvasFactory::Make(int width, int height) {
  return std::make_unique<GdiCanvas>(width, height);
}

}  // namespace win32gui
