// The areas of the main window's layout table, each appending its rows in creation
// order; layout.cpp puts them together.
#pragma once

#include "shell/layout_row.h"
#include "ui/variant.h"

namespace shell {

// OpenBut .. Button4 at the left, with the two pending-mark frames behind SDBut and
// Button6.
void AddCommandColumn(Rows& rows);
// imgStatus, the status panel pnStatus with its labels, and btnAdvSet.
void AddStatusArea(Rows& rows);
// The curve strip Panel4: chart, point markers, selection labels and the RPM axis.
void AddChart(Rows& rows, ui::Variant variant);
// The gauge panel Panel3: both gauges, their scales, read-outs, arrows and Button3.
void AddGauges(Rows& rows);
// The options panel Panel2, hidden until btnAdvSet shows it.
void AddOptionsPanel(Rows& rows);
// Hidden diagnostic labels and glyph holders, Label33, and the focus sink Panel1.
void AddDiagnostics(Rows& rows, ui::Variant variant);

}  // namespace shell
