#include "sim/engine.h"

#include <algorithm>

namespace sim {

namespace {

constexpr long kMaxPeriod = 255;

// Period counts per minute: the period byte is this divided by the RPM.
long Counts(int version_tenths) {
  return Uses11000Axis(version_tenths) ? 312000 : 120000;
}

}  // namespace

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
  const int idle = IdleRpm(version_tenths);
  const int span = RedlineRpm(version_tenths) - idle;
  return idle + static_cast<int>(static_cast<long>(span) * static_cast<long>(step) /
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

int IdleRpm(int version_tenths) {
  // Firmware 6.x counts 312000 per minute: below 1224 RPM its byte would overflow,
  // and the capped 255 would read as 1224 RPM.
  const long slowest = (Counts(version_tenths) + kMaxPeriod - 1) / kMaxPeriod;
  return std::max(kIdleRpm, static_cast<int>(slowest));
}

std::uint8_t PeriodByte(int rpm, int version_tenths) {
  return static_cast<std::uint8_t>(
      std::min<long>(kMaxPeriod, Counts(version_tenths) / std::max(rpm, 1)));
}

std::string InvalidLiveFrame(const std::string& frame, std::size_t n) {
  constexpr std::uint8_t kBadPeriods[] = {0, 255};
  constexpr std::uint8_t kBadAdvances[] = {31, 128};
  std::string spoilt = frame;
  switch (n % 4) {
    case 0:
    case 1:
      spoilt[0] = static_cast<char>(kBadPeriods[n % 4]);
      break;
    default:
      spoilt[1] = static_cast<char>(kBadAdvances[n % 4 - 2]);
      break;
  }
  return spoilt;
}

}  // namespace sim
