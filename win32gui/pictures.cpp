#include "win32gui/pictures.h"

#include <algorithm>
#include <array>

namespace win32gui {

namespace {

// Transparent in the glyph bitmaps handed to the image list.
constexpr COLORREF kKeyColour = RGB(255, 0, 255);
// Images of a button's image list: normal, hot, pressed, disabled, default, stylus hot.
constexpr int kButtonStates = 6;
constexpr int kDisabledState = 3;

// Maps design coordinates of a `design` x `design` picture onto `area`.
class Scaler {
 public:
  Scaler(const RECT& area, int design_width, int design_height)
      : m_area(area), m_width(design_width), m_height(design_height) {}
  int X(int x) const { return m_area.left + MulDiv(x, m_area.right - m_area.left, m_width); }
  int Y(int y) const { return m_area.top + MulDiv(y, m_area.bottom - m_area.top, m_height); }
  RECT Rect(int x1, int y1, int x2, int y2) const { return {X(x1), Y(y1), X(x2), Y(y2)}; }
  int Size(int size) const {
    return std::max(1, MulDiv(size, m_area.bottom - m_area.top, m_height));
  }

 private:
  RECT m_area;
  int m_width;
  int m_height;
};

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

// A square wave step: low at both ends, high in the middle (or the reverse).
void PaintPulse(HDC dc, const Scaler& s, bool positive, COLORREF ink) {
  const int low = positive ? 12 : 3;
  const int high = positive ? 3 : 12;
  Fill(dc, s.Rect(0, low, 5, low + 1), ink);
  Fill(dc, s.Rect(11, low, 16, low + 1), ink);
  Fill(dc, s.Rect(4, 3, 5, 13), ink);
  Fill(dc, s.Rect(11, 3, 12, 13), ink);
  Fill(dc, s.Rect(4, high, 12, high + 1), ink);
}

void PaintArrow(HDC dc, const Scaler& s, ui::Picture picture, COLORREF ink) {
  std::array<POINT, 3> triangle;
  switch (picture) {
    case ui::Picture::ArrowUp:
      triangle = {{{s.X(8), s.Y(3)}, {s.X(14), s.Y(12)}, {s.X(2), s.Y(12)}}};
      break;
    case ui::Picture::ArrowDown:
      triangle = {{{s.X(2), s.Y(4)}, {s.X(14), s.Y(4)}, {s.X(8), s.Y(13)}}};
      break;
    case ui::Picture::ArrowLeft:
      triangle = {{{s.X(3), s.Y(8)}, {s.X(12), s.Y(2)}, {s.X(12), s.Y(14)}}};
      break;
    default:
      triangle = {{{s.X(4), s.Y(2)}, {s.X(13), s.Y(8)}, {s.X(4), s.Y(14)}}};
      break;
  }
  HBRUSH brush = CreateSolidBrush(ink);
  HPEN pen = CreatePen(PS_SOLID, 1, ink);
  HGDIOBJ old_brush = SelectObject(dc, brush);
  HGDIOBJ old_pen = SelectObject(dc, pen);
  Polygon(dc, triangle.data(), static_cast<int>(triangle.size()));
  SelectObject(dc, old_pen);
  SelectObject(dc, old_brush);
  DeleteObject(pen);
  DeleteObject(brush);
}

void PaintGlyph(HDC dc, ui::Picture picture, const RECT& area, COLORREF ink) {
  const Scaler s(area, kGlyphSize, kGlyphSize);
  if (picture == ui::Picture::PulsePositive || picture == ui::Picture::PulseNegative) {
    PaintPulse(dc, s, picture == ui::Picture::PulsePositive, ink);
  } else {
    PaintArrow(dc, s, picture, ink);
  }
}

// A small grey box with a connector at its side and a cable leaving it, the model
// code on a yellow plate; drawn on a 100 x 60 design and stretched.
void PaintControllerUnit(HDC dc, const RECT& area) {
  const Scaler s(area, 100, 60);
  Fill(dc, area, RGB(236, 236, 236));
  const int saved = SaveDC(dc);

  // Cable.
  HPEN cable = CreatePen(PS_SOLID, s.Size(3), RGB(30, 30, 30));
  SelectObject(dc, cable);
  const POINT curve[] = {
      {s.X(84), s.Y(30)}, {s.X(95), s.Y(30)}, {s.X(92), s.Y(50)}, {s.X(99), s.Y(56)}};
  PolyBezier(dc, curve, 4);

  // Connector.
  HPEN outline = CreatePen(PS_SOLID, 1, RGB(60, 60, 60));
  HBRUSH connector = CreateSolidBrush(RGB(150, 150, 160));
  SelectObject(dc, outline);
  SelectObject(dc, connector);
  Rectangle(dc, s.X(76), s.Y(24), s.X(85), s.Y(36));

  // Box: a vertical gradient inside rounded corners.
  const RECT box = s.Rect(10, 12, 76, 48);
  HRGN rounded =
      CreateRoundRectRgn(box.left, box.top, box.right + 1, box.bottom + 1, s.Size(8), s.Size(8));
  SelectClipRgn(dc, rounded);
  const int top = box.top;
  const int height = std::max<int>(1, box.bottom - box.top);
  for (int y = top; y < box.bottom; ++y) {
    const int t = y - top;
    const auto mix = [&](int from, int to) { return from + (to - from) * t / height; };
    const RECT line{box.left, y, box.right, y + 1};
    Fill(dc, line, RGB(mix(95, 45), mix(100, 48), mix(110, 55)));
  }
  SelectClipRgn(dc, nullptr);
  DeleteObject(rounded);
  HPEN edge = CreatePen(PS_SOLID, 1, RGB(20, 20, 20));
  SelectObject(dc, edge);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  RoundRect(dc, box.left, box.top, box.right, box.bottom, s.Size(8), s.Size(8));

  // Label plate with the model code.
  HBRUSH plate = CreateSolidBrush(RGB(230, 200, 40));
  SelectObject(dc, plate);
  SelectObject(dc, GetStockObject(NULL_PEN));
  RECT plate_rect = s.Rect(18, 20, 58, 40);
  RoundRect(dc, plate_rect.left, plate_rect.top, plate_rect.right, plate_rect.bottom, s.Size(4),
            s.Size(4));
  HFONT font = CreateFontW(-s.Size(13), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH,
                           L"DejaVu Sans Condensed");
  SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  DrawTextW(dc, L"QZR", 3, &plate_rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

  // Status lamp.
  HBRUSH lamp = CreateSolidBrush(RGB(220, 40, 40));
  SelectObject(dc, lamp);
  Ellipse(dc, s.X(65), s.Y(18), s.X(70), s.Y(23));

  RestoreDC(dc, saved);
  for (HGDIOBJ object :
       {static_cast<HGDIOBJ>(cable), static_cast<HGDIOBJ>(outline), static_cast<HGDIOBJ>(connector),
        static_cast<HGDIOBJ>(edge), static_cast<HGDIOBJ>(plate), static_cast<HGDIOBJ>(font),
        static_cast<HGDIOBJ>(lamp)}) {
    DeleteObject(object);
  }
}

// One glyph image in `ink` on the key colour.
HBITMAP GlyphBitmap(HDC screen, ui::Picture picture, int size, COLORREF ink) {
  HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  const RECT area{0, 0, size, size};
  Fill(dc, area, kKeyColour);
  PaintGlyph(dc, picture, area, ink);
  SelectObject(dc, old);
  DeleteDC(dc);
  return bitmap;
}

}  // namespace

bool IsGlyph(ui::Picture picture) {
  return picture != ui::Picture::None && picture != ui::Picture::ControllerUnit;
}

void PaintPicture(HDC dc, ui::Picture picture, const RECT& area) {
  if (picture == ui::Picture::ControllerUnit) {
    PaintControllerUnit(dc, area);
  } else if (IsGlyph(picture)) {
    PaintGlyph(dc, picture, area, RGB(0, 0, 0));
  }
}

HIMAGELIST MakeGlyphImageList(ui::Picture picture, int size, COLORREF greyed) {
  if (!IsGlyph(picture)) return nullptr;
  HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, kButtonStates, 0);
  HDC screen = GetDC(nullptr);
  for (int state = 0; state < kButtonStates; ++state) {
    const COLORREF ink = state == kDisabledState ? greyed : RGB(0, 0, 0);
    HBITMAP bitmap = GlyphBitmap(screen, picture, size, ink);
    ImageList_AddMasked(list, bitmap, kKeyColour);
    DeleteObject(bitmap);
  }
  ReleaseDC(nullptr, screen);
  return list;
}

}  // namespace win32gui
