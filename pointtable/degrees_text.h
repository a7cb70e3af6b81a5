// Degrees as people type them into the point table and as spreadsheets write them
// into CSV files: "12", "+12", "-3", and whole numbers with decimals such as "12.0"
// or "12,0" (a decimal comma).
#pragma once

#include <string_view>

namespace pointtable {

enum class NumberKind {
  NotANumber,
  Fraction,  // a number, but not a whole one: "12.5"
  Whole,
};

struct ParsedNumber {
  NumberKind kind = NumberKind::NotANumber;
  // The whole number; beyond +-99999 it stays at that bound, far outside any limit.
  int value = 0;
};

// Blanks around the number are allowed, nothing else: no exponent, no thousands
// separator, no unit.
ParsedNumber ParseDegrees(std::string_view text);

}  // namespace pointtable
