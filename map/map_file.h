// The map file: both advance curves as two text lines, "SD1" and "SD2" each followed
// by one character per point (the point value plus 60, in 8 bits: "<" is -25
// degrees, "U" 0 and "n" +25) and ended by carriage return and line feed. A file as
// written is 62 bytes; there is no header, version or checksum.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "map/curve_model.h"

namespace map {

constexpr std::size_t kMapFileSize = 62;

// The 62 bytes of a map file holding curves[0] (Advance 1) and curves[1] (Advance 2).
std::string MapFileText(const std::array<Curve, 2>& curves);

// What one line of a map file gives its curve: the points it holds, from point 1 on.
// A full line holds all 26; a shorter one only as many as it has characters past
// the first three.
struct MapLine {
  std::array<std::uint8_t, protocol::kPoints> points{};
  std::size_t count = 0;

  // Points 1 to count of `curve` from the line; the points it lacks keep their values.
  void ApplyTo(Curve& curve) const;
};

// Both lines of a map file. Nothing is checked: the first three characters of a line
// are skipped whatever they are, a character outside "<" to "n" gives a value outside
// 0 to 50, and characters past the 29th are ignored. A line ends at a carriage return
// or a line feed; a line that is not there holds no points.
std::array<MapLine, 2> ReadMapFile(std::string_view text);

}  // namespace map
