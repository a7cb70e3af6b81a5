// The RPM axis under the 26 curve points: the speed each point stands for, the
// labels of the speed scale, and the point codes a PLX controller takes for Send.
#pragma once

#include <array>
#include <cstdint>

#include "ui/control.h"
#include "ui/variant.h"

namespace map {

// RPM of point p (1..26). Palunor6 lays the axis out to 11000 RPM for firmware 6.x
// (device_version in tenths, 60..69) and to 8000 RPM otherwise; Palunor always to 8000.
int PointRpm(ui::Variant variant, int device_version, int p);

// Gauge period for a speed above 0: 120000 div rpm, the RPM dial's input.
std::uint8_t PeriodOfRpm(int rpm);

// What a PLX controller receives for the selected point instead of a whole curve.
extern const std::array<std::uint8_t, 26> PointCodes;

// Palunor6 only: places, names and shows the speed scale labels under the chart
// (Label1..Label6, Label19, Label20, Label36, Label37) for the axis in force.
void updatelab(ui::ControlSet& controls, int device_version);

}  // namespace map
