// The curve editor's operations on the chart strip: showing the current curve, and
// the four arrow buttons (and keys) that nudge the selected point or move the
// selection, each handing the keyboard focus back to the window first.
#pragma once

#include <string>

#include "live/gauges.h"
#include "map/curve_model.h"
#include "ui/control.h"
#include "ui/variant.h"

namespace map {

class CurveEditor {
 public:
  CurveEditor(ui::Variant variant, ui::ControlSet& controls, CurveModel& model,
              live::Gauges& gauges);

  // Markers on the current curve, point 1 selected, chart redrawn.
  void Updatesc();
  // Panel1 shown, Button1 focused, Panel1 hidden: the focus returns to the window so
  // that the arrow keys reach its key handler.
  void FocusSink();
  void SpeedButton1Click();  // Up one degree
  void SpeedButton2Click();  // Down one degree
  void SpeedButton3Click();  // previous point
  void SpeedButton4Click();  // next point

 private:
  ui::Control& Marker(int p) const;
  int RetardLimit() const;
  void StepValue(int step);
  void StepSelection(int step);
  // Lb31 (RPM) and Lb32 (degrees) beside the selection marker; Palunor has neither.
  void PlaceReadouts();

  ui::Variant m_variant;
  ui::ControlSet& m_controls;
  CurveModel& m_model;
  live::Gauges& m_gauges;
};

// A point value as signed whole degrees: "-3", "0", "12".
std::string DegreesText(int value);

}  // namespace map
