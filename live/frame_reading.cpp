#include "live/frame_reading.h"

namespace live {

namespace {

constexpr int kRpmOfPeriodZero = 240;
constexpr std::uint8_t kAdvanceReadingLimit = 56;

}  // namespace

std::uint8_t RpmPeriod(ui::Variant variant, int device_version, std::uint8_t period) {
  if (variant == ui::Variant::Palunor6 && device_version / 10 == 6) {
    return static_cast<std::uint8_t>(period * 10 / 26);
  }
  return period;
}

int RpmOfPeriod(std::uint8_t rpm_period) {
  return rpm_period > 0 ? 120000 / rpm_period / 10 * 10 : kRpmOfPeriodZero;
}

bool AdvanceIsReading(std::uint8_t advance) {
  return advance < kAdvanceReadingLimit;
}

std::uint8_t AdvanceByteOf(std::uint8_t value) {
  if (value >= 25 && value <= 153) return static_cast<std::uint8_t>(value - 25);
  return static_cast<std::uint8_t>(153 - value);
}

}  // namespace live
