// The two programs built from this tree differ in a list of small, named points;
// this value, given to the form at construction, selects them. It sits with the seams
// because every layer of the core reads it.
#pragma once

namespace ui {

enum class Variant {
  Palunor6,  // both controller models, RPM axis by firmware version
  Palunor,   // the older program: QZR controllers only, fixed 8000 RPM axis
};

// The program's name, the title of its message boxes.
constexpr const char* ProgramName(Variant variant) {
  return variant == Variant::Palunor6 ? "Palunor6" : "Palunor";
}

}  // namespace ui
