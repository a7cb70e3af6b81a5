// The point table: both curves as a table dialog of the 26 points (point, RPM on the
// axis in force, Advance 1, Advance 2 in degrees), typed into, or worked on a range of
// rows at a time by its buttons: set to the Degrees box, shift by it, interpolate
// between the ends of the range, smooth. Each button names the curve it works on.
// Every value is held within the controller's limits, and the note line says which
// were; a cell that is not a whole number keeps the dialog open with a note naming it.
#pragma once

#include <array>
#include <optional>

#include "map/curve_model.h"
#include "pointtable/curves_csv.h"
#include "pointtable/point_limits.h"
#include "ui/dialogs.h"

namespace pointtable {

// The table as it opens on `curves`, its buttons and OK bound to the limits.
ui::TableRequest PointTableRequest(const std::array<map::Curve, 2>& curves, const RpmAxis& rpm,
                                   const PointLimits& limits);

// Shows the table: the curves as OK accepted them, or nothing on Cancel.
std::optional<std::array<map::Curve, 2>> EditPoints(ui::Dialogs& dialogs,
                                                    const std::array<map::Curve, 2>& curves,
                                                    const RpmAxis& rpm, const PointLimits& limits);

}  // namespace pointtable
