// The pictures the program ships, drawn with GDI: the two pulse glyphs of the input
// polarity button, the arrow glyphs and the controller unit of the status area.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "ui/control.h"

namespace win32gui {

// The edge of a glyph at 96 DPI.
constexpr int kGlyphSize = 16;

// True for the pictures that are glyphs (pulses and arrows).
bool IsGlyph(ui::Picture picture);

// Paints the picture stretched over `area` without filling round a glyph: the
// controller unit is drawn, a glyph is scaled.
void PaintPicture(HDC dc, ui::Picture picture, const RECT& area);

// The glyph at `size` pixels for a button (BCM_SETIMAGELIST): one image per button
// state, the disabled one in `greyed` ink, the rest black; the background is
// transparent. Null for a picture that is not a glyph. The caller destroys it.
HIMAGELIST MakeGlyphImageList(ui::Picture picture, int size, COLORREF greyed);

}  // namespace win32gui
