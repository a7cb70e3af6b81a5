// How the owner-painted controls look: labels (text in the design's font, colour,
// alignment and background), images (canvas or picture), bevels and panels. A control
// that is transparent, or an image nobody has drawn yet, shows what lies beneath it:
// its parent's colour and the earlier siblings it overlaps, painted first.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/control.h"
#include "win32gui/fonts.h"

namespace win32gui {

// Design pixels to the window's pixels at `dpi`.
int Scale(int design, int dpi);
// The window's pixels at `dpi` back to design pixels.
int Unscale(int pixels, int dpi);

struct PaintContext {
  FontCache& fonts;
  int dpi;
};

// Paints `control` and everything it shows through into `dc`, whose origin is the
// control's top left corner; `siblings` are the controls that share its parent, in
// creation order.
void PaintOwnerDrawn(HDC dc, const PaintContext& context, const ui::Control& control,
                     const std::vector<const ui::Control*>& siblings);

// A panel's face and bevel over `client`.
void PaintPanel(HDC dc, const ui::Control& panel, const RECT& client);

// The colour the children of `parent` (null: the window) stand on.
ui::Color BackgroundOf(const ui::Control* parent);

// True for the kinds whose pictures this front end paints itself.
bool IsOwnerDrawn(ui::ControlKind kind);

// True when the two controls' design rectangles overlap.
bool Overlap(const ui::Control& a, const ui::Control& b);

}  // namespace win32gui
