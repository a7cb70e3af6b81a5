// The pictures the program ships, drawn here: the two pulse glyphs of the input
// polarity button, the arrow glyphs and the controller unit of the status area.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>

#include "ui/control.h"

namespace gui {

// A 16 x 16 glyph with transparent background: pulses and arrows. Null for a picture
// that is not a glyph.
QImage Glyph(ui::Picture picture);

// Paints the picture stretched over `area`; ControllerUnit is drawn, glyphs scaled.
void PaintPicture(QPainter& painter, ui::Picture picture, const QRect& area);

}  // namespace gui
