// How the window reads a live frame, for the gauges, the recorder and palunorctl alike:
// the period the RPM read-out takes, the RPM it shows, whether the advance is a
// reading, and the advance byte the frame carried.
#pragma once

#include <cstdint>

#include "ui/variant.h"

namespace live {

// Palunor6 with 6.x firmware scales the period, which that firmware counts in finer
// steps, by 10/26; every other pairing takes it as it comes.
std::uint8_t RpmPeriod(ui::Variant variant, int device_version, std::uint8_t period);
// 120000 div the period, in whole tens; a period of 0 shows 240.
int RpmOfPeriod(std::uint8_t rpm_period);
// An advance of point value 56 or more is no reading: the gauges keep their needles.
bool AdvanceIsReading(std::uint8_t advance);
// The advance byte a live frame carried, from the point value it decodes to: bytes up
// to 128 give 25..153 and the others every remaining value, so the byte is one.
std::uint8_t AdvanceByteOf(std::uint8_t value);

}  // namespace live
