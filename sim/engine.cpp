#include "sim/engine.h"

#include <algorithm>

namespace sim {

bool Uses11000Axis(int version_tenths) {
  return version_tenths / 10 == 6;
}

int RedlineRpm(int version_tenths) {
  return Uses11000Axis(version_tenths) ? 11000 : 8000;
}

int PointRpm(int point, int version_tenths) {
  if (Uses11000Axis(version_tenths))
    return 1250 + 250 * point + (point > 13 ? 250 * (point - 13) : 0);
  return 500 + 250 * point + (point > 22 ? 250 * (point - 22) : 0);
}

int EngineRpm(std::size_t frame, int version_tenths) {
  const std::size_t phase = frame % (2 * kSweepFrames);
  const std::size_t step = phase <= kSweepFrames ? phase : 2 * kSweepFrames - phase;
  const int span = RedlineRpm(version_tenths) - kIdleRpm;
  return kIdleRpm + static_cast<int>(static_cast<long>(span) * static_cast<long>(step) /
                                     static_cast<long>(kSweepFrames));
}

std::uint8_t AdvanceAt(const protocol::CurvePoints& curve, int rpm, int version_tenths) {
  if (rpm <= PointRpm(1, version_tenths)) return curve.front();
  for (int p = 1; p < static_cast<int>(protocol::kPoints); ++p) {
    const int low = PointRpm(p, version_tenths);
    const int high = PointRpm(p + 1, version_tenths);
    if (rpm > high) continue;
    const int from = curve[static_cast<std::size_t>(p - 1)];
    const int to = curve[static_cast<std::size_t>(p)];
    // Rounded to the nearest value; a half goes to the point above.
    const int scaled = (to - from) * (rpm - low) * 2 / (high - low);
    return static_cast<std::uint8_t>(from + (scaled + (scaled >= 0 ? 1 : -1)) / 2);
  }
  return curve.back();
}

std::uint8_t PeriodByte(int rpm, int version_tenths) {
  const long counts = Uses11000Axis(version_tenths) ? 312000 : 120000;
  return static_cast<std::uint8_t>(std::min<long>(255, counts / std::max(rpm, 1)));
}

}  // namespace sim
