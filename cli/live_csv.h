// Live data as CSV, in the columns of the window's live-data recorder, so one reader
// takes both: time since the start in milliseconds, local date and time, RPM as the
// window computes it, advance in degrees, the two raw bytes, whether the gauges take
// the frame, and the curve shown (none from the command line). Comment lines ahead of
// the header name the controller and hold both curves at the start.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "map/curve_model.h"
#include "protocol/catalogue.h"
#include "ui/variant.h"

namespace cli {

std::string LiveCsvHeader(const std::string& controller, const std::string& limits,
                          const std::array<map::Curve, 2>& curves);

// One frame's row; `curve_shown` 0 leaves its column empty.
std::string LiveCsvRow(ui::Variant variant, int version, std::uint32_t ms,
                       const std::string& local_time, const protocol::LiveFrame& frame,
                       int curve_shown);

}  // namespace cli
