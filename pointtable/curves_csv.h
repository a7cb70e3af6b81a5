// Both advance curves as CSV, for spreadsheets and the command line: a header row,
// then one line per point with its number, its RPM on the axis in force, and the
// advance of curve 1 and curve 2 in signed whole degrees:
//
//   Point,RPM,Advance 1,Advance 2
//   1,600,0,-3
//   ...
//   26,11000,12,10
//
// Written with commas and CRLF line ends. Read as spreadsheets write it back: comma or
// semicolon between values (the first line decides; a decimal comma needs the
// semicolon, or quotes), dot or comma as decimal mark, CR, LF or CRLF line ends, a
// UTF-8 byte order mark, quoted values, blank lines and empty trailing cells. The
// header is optional. The points must come in order 1 to 26. The RPM column must hold
// numbers but is not compared with the axis: the controller's axis is fixed, and a
// curve moves between axes by point number. Advance values are whole degrees, as the
// controller takes them: "12.0" reads as 12, "12.5" is refused rather than rounded.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "map/curve_model.h"
#include "pointtable/point_limits.h"
#include "ui/variant.h"

namespace pointtable {

// The RPM of points 1..26.
using RpmAxis = std::array<int, protocol::kPoints>;

// The axis the program shows for the controller it knows (map::PointRpm).
RpmAxis AxisInForce(ui::Variant variant, int device_version);

// Far more than a curve file ever holds; a larger file is refused unread.
constexpr std::size_t kCsvSizeLimit = 64 * 1024;

std::string CurvesCsv(const std::array<map::Curve, 2>& curves, const RpmAxis& rpm);

// Both curves from a CSV text, or why not: one sentence naming the line at fault
// ("Line 5: ..."). A text longer than kCsvSizeLimit is refused.
struct CsvCurves {
  std::optional<std::array<map::Curve, 2>> curves;
  std::string error;
};
CsvCurves ReadCurvesCsv(std::string_view text, const PointLimits& limits);

}  // namespace pointtable
