#include "win32gui/control_painting.h"

#include "win32gui/gdi_canvas.h"
#include "win32gui/pictures.h"
#include "win32gui/text.h"

namespace win32gui {

namespace {

void Fill(HDC dc, const RECT& rect, ui::Color color) {
  HBRUSH brush = CreateSolidBrush(ToColorRef(color));
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

UINT TextFormat(const ui::ControlSpec& design) {
  UINT format = DT_NOPREFIX | DT_TOP;
  switch (design.align) {
    case ui::Align::Right:
      format |= DT_RIGHT;
      break;
    case ui::Align::Center:
      format |= DT_CENTER;
      break;
    case ui::Align::Left:
      format |= DT_LEFT;
      break;
  }
  return format | (design.word_wrap ? DT_WORDBREAK : DT_SINGLELINE);
}

// The label's own face, without what lies beneath it.
void PaintLabel(HDC dc, const PaintContext& context, const ui::Control& label, RECT area) {
  const ui::ControlSpec& design = label.Design();
  if (!design.transparent) Fill(dc, area, design.color);
  // A right-aligned text stops 2 px short of the edge, where a control may follow (the
  // bypass time stands against its up-down).
  if (design.align == ui::Align::Right) area.right -= Scale(2, context.dpi);
  const std::wstring text = Wide(label.Caption());
  HGDIOBJ old_font = SelectObject(dc, context.fonts.Get(label.GetFont(), context.dpi));
  SetBkMode(dc, TRANSPARENT);
  // The design's colour for an enabled label only: a disabled one takes the system's
  // greyed text, or nobody could tell it from an enabled one.
  SetTextColor(dc, label.Enabled() ? ToColorRef(label.FontColor()) : GetSysColor(COLOR_GRAYTEXT));
  const int stretch = FontStretch(label.GetFont());
  if (stretch == 100) {
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, TextFormat(design));
  } else {
    // Squeezed by a transform rather than a narrower font width, which GDI renders
    // with the digits' spacing of the unsqueezed face.
    const int saved = SaveDC(dc);
    SetGraphicsMode(dc, GM_ADVANCED);
    const float scale = static_cast<float>(stretch) / 100.0F;
    const XFORM squeeze{scale, 0, 0, 1, static_cast<float>(area.left), 0};
    SetWorldTransform(dc, &squeeze);
    RECT wide{0, area.top, (area.right - area.left) * 100 / stretch, area.bottom};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &wide, TextFormat(design));
    RestoreDC(dc, saved);
  }
  SelectObject(dc, old_font);
}

void PaintImage(HDC dc, const ui::Control& image, const RECT& area) {
  if (image.GetPicture() != ui::Picture::None) {
    PaintPicture(dc, image.GetPicture(), area);
    return;
  }
  const auto* canvas = dynamic_cast<const GdiCanvas*>(image.GetCanvas());
  if (canvas != nullptr && canvas->Drawn()) {
    canvas->PaintTo(dc, area.left, area.top, area.right - area.left, area.bottom - area.top);
  }
}

// A bevel is a lowered box round the controls it groups.
void PaintBevel(HDC dc, const RECT& area) {
  RECT edge = area;
  DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
}

void PaintSelf(HDC dc, const PaintContext& context, const ui::Control& control, const RECT& area) {
  switch (control.Kind()) {
    case ui::ControlKind::Label:
      PaintLabel(dc, context, control, area);
      break;
    case ui::ControlKind::Image:
      PaintImage(dc, control, area);
      break;
    case ui::ControlKind::Bevel:
      PaintBevel(dc, area);
      break;
    case ui::ControlKind::Panel:
      PaintPanel(dc, control, area);
      break;
    default:
      break;
  }
}

bool Opaque(const ui::Control& control) {
  return control.Kind() == ui::ControlKind::Label && !control.Design().transparent;
}

}  // namespace

int Scale(int design, int dpi) {
  return MulDiv(design, dpi, 96);
}

int Unscale(int pixels, int dpi) {
  return MulDiv(pixels, 96, dpi);
}

bool IsOwnerDrawn(ui::ControlKind kind) {
  return kind == ui::ControlKind::Label || kind == ui::ControlKind::Image ||
         kind == ui::ControlKind::Bevel;
}

bool Overlap(const ui::Control& a, const ui::Control& b) {
  return a.Left() < b.Left() + b.Width() && b.Left() < a.Left() + a.Width() &&
         a.Top() < b.Top() + b.Height() && b.Top() < a.Top() + a.Height();
}

ui::Color BackgroundOf(const ui::Control* parent) {
  if (parent != nullptr && parent->Kind() == ui::ControlKind::Panel) return parent->Design().color;
  return ui::kButtonFace;
}

void PaintPanel(HDC dc, const ui::Control& panel, const RECT& client) {
  Fill(dc, client, panel.Design().color);
  RECT edge = client;
  switch (panel.Design().bevel) {
    case ui::BevelStyle::Raised:
      DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
      break;
    case ui::BevelStyle::Lowered:
      DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
      break;
    case ui::BevelStyle::None:
      break;
  }
}

void PaintOwnerDrawn(HDC dc, const PaintContext& context, const ui::Control& control,
                     const std::vector<const ui::Control*>& siblings) {
  const int dpi = context.dpi;
  const RECT own{0, 0, Scale(control.Width(), dpi), Scale(control.Height(), dpi)};
  if (!Opaque(control)) {
    Fill(dc, own, BackgroundOf(control.Parent()));
    for (const ui::Control* below : siblings) {
      if (below == &control) break;
      if (!below->Visible() || !IsOwnerDrawn(below->Kind()) || !Overlap(*below, control)) continue;
      const int left = Scale(below->Left() - control.Left(), dpi);
      const int top = Scale(below->Top() - control.Top(), dpi);
      const RECT area{left, top, left + Scale(below->Width(), dpi),
                      top + Scale(below->Height(), dpi)};
      PaintSelf(dc, context, *below, area);
    }
  }
  PaintSelf(dc, context, control, own);
}

}  // namespace win32gui
