// The pending marks: whether the controller holds the curves on screen (Label34
// round Send) and has recorded them in EEPROM (Label35 round REC EEPR).
#pragma once

#include "map/curve_model.h"
#include "ui/control.h"

namespace map {

// Compares both working curves with the controller's copy, then shows Label34
// exactly while they differ and Label35 exactly while CurvesStored is false.
void CheckSync(CurveModel& model, ui::ControlSet& controls);
// The same with the two marks already at hand.
void CheckSync(CurveModel& model, ui::Control& label34, ui::Control& label35);

}  // namespace map
