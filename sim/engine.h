// The emulator's engine: an RPM that sweeps from idle to redline and back, and the
// live frame the controller makes of it with its active curve.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "protocol/catalogue.h"

namespace sim {

constexpr int kIdleRpm = 800;
// Frames from idle to redline; the sweep then falls back in as many frames.
constexpr std::size_t kSweepFrames = 100;

// Firmware 6.x lays its 26 points out to 11000 RPM, the others to 8000 RPM.
bool Uses11000Axis(int version_tenths);
int RedlineRpm(int version_tenths);
// RPM of point p (1..26) on the firmware's axis.
int PointRpm(int point, int version_tenths);

// Engine speed at live frame n (0 is the first frame after "LON").
int EngineRpm(std::size_t frame, int version_tenths);

// The curve's advance at `rpm`, interpolated between the two points around it and
// held flat below point 1 and above point 26, as a point value.
std::uint8_t AdvanceAt(const protocol::CurvePoints& curve, int rpm, int version_tenths);

// The period byte carries at most 255: the slowest speed the firmware can report.
int IdleRpm(int version_tenths);

// The engine period byte: 120000 / RPM, capped to 255. Firmware 6.x counts in units
// 2.6 times finer (the program multiplies the byte by 10/26), so it sends 312000 / RPM.
std::uint8_t PeriodByte(int rpm, int version_tenths);

// The good frame `frame` spoilt in the n-th way of four that the program must ignore:
// period 0, period 255, advance byte 31 (decodes to 56) and advance byte 128 (153).
std::string InvalidLiveFrame(const std::string& frame, std::size_t n);

}  // namespace sim
