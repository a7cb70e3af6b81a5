// What palunorctl writes about curves: a table for people, JSON for programs, and the differences
// between a map and the controller.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "map/curve_model.h"
#include "protocol/catalogue.h"
#include "ui/variant.h"

namespace cli {

// The controller as `info` and the table's first line name it: "QZR 6.0, two channels".
std::string ControllerText(const protocol::VersionReply& version);
// "output 5 V, input positive, bypass 2.0 s, Vref 1.0 V"; an option the controller
// reported out of range reads "?".
std::string OptionsText(const protocol::OptionStatus& options);

// Point, RPM on the axis in force, and both curves in degrees, one row a point.
std::string CurveTable(ui::Variant variant, int version, const std::array<map::Curve, 2>& curves);
// Controller, limits, options and the 26 points as one JSON object.
std::string CurvesJson(ui::Variant variant, const protocol::VersionReply& version,
                       const map::CurveModel& limits, const std::array<map::Curve, 2>& curves,
                       const std::optional<protocol::OptionStatus>& options);

// One line a point that differs in the curves chosen (indices 0 and 1 of `which`):
// "Advance 1, point 14 (4250 RPM): file +12, controller +10". Empty when equal.
std::vector<std::string> Differences(ui::Variant variant, int version,
                                     const std::array<map::Curve, 2>& file,
                                     const std::array<map::Curve, 2>& controller,
                                     std::array<bool, 2> which);

// A point value in degrees with its sign: 37 -> "+12", 25 -> "0", 20 -> "-5".
std::string Degrees(std::uint8_t value);

}  // namespace cli
