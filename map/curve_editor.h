// The curve editor on the chart strip: the 26 draggable point markers, the curve
// switch, the four arrow buttons (and keys) that nudge the selected point or move the
// selection, and showing the current curve. Each operation that moves the keyboard
// focus hands it back to the window first, so the arrow keys reach its key handler.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "map/curve_model.h"
#include "map/gauge_drawing.h"
#include "ui/control.h"
#include "ui/variant.h"

namespace map {

class CurveEditor {
 public:
  // Binds the markers' mouse events, Button2 and the four arrow buttons.
  CurveEditor(ui::Variant variant, ui::ControlSet& controls, CurveModel& model,
              GaugeDrawing& gauges);
  CurveEditor(const CurveEditor&) = delete;
  CurveEditor& operator=(const CurveEditor&) = delete;

  // Markers on the current curve, point 1 selected, chart redrawn.
  void Updatesc();
  // Panel1 shown, Button1 focused, Panel1 hidden: the focus returns to the window.
  void FocusSink();
  void SpeedButton1Click();  // Up one degree
  void SpeedButton2Click();  // Down one degree
  void SpeedButton3Click();  // previous point
  void SpeedButton4Click();  // next point
  // Switches the shown curve; the selection stays on the same point.
  void Button2Click();
  // Shows curve c (1 or 2) as Updatesc does, with the curve switch offering the other.
  void ShowCurve(int c);
  // After both curves changed as a whole (undo, redo, a copy): curve c shown with
  // point p selected, the chart and both gauges redrawn.
  void ShowEdited(int c, int p);

  // Runs once before each user step that changes the working curves: one arrow click
  // or key, one drag from press to release.
  std::function<void()> BeforeEdit;

  // Mouse events of marker p (1..26), in the marker's own coordinates. The pressed
  // marker holds the mouse until the release, so while dragging every move reaches
  // the dragged marker wherever the mouse is.
  void Lb1MouseDown(int p, ui::MouseButton button, int x, int y);
  void Lb1MouseMove(int p, int x, int y);
  void Lb1MouseUp(int p, ui::MouseButton button, int x, int y);

 private:
  // The controls the editor works on, resolved once.
  struct Controls {
    Controls(ui::Variant variant, ui::ControlSet& set);
    std::array<ui::Control*, 26> PointLabels;  // Lb1 .. Lb26
    ui::Control& Lb30;                         // the selection marker
    ui::Control* Lb31;                         // RPM beside it; Palunor has none
    ui::Control* Lb32;                         // degrees beside it; Palunor has none
    ui::Control& Label28;
    ui::Control& Label30;
    ui::Control& Label34;
    ui::Control& Label35;
    ui::Control& Panel1;
    ui::Control& Button1;
    ui::Control& Button2;
    ui::Control& SpeedButton1;
    ui::Control& SpeedButton2;
    ui::Control& SpeedButton3;
    ui::Control& SpeedButton4;
  };

  void BindEvents();
  ui::Control& Marker(int p) const;
  void SetSwitchCaption();
  int RetardLimit() const;
  void StepValue(int step);
  void StepSelection(int step);
  void SelectPoint(int p);
  void NoteEdit();
  void DragTo(int p, int top, int retard);
  void CheckSync();
  // Lb31 (RPM) and Lb32 (degrees) beside the selection marker.
  void PlaceReadouts();

  ui::Variant m_variant;
  CurveModel& m_model;
  GaugeDrawing& m_gauges;
  Controls m_c;
  // The drag under way has changed a point and so been noted as a step.
  bool m_drag_noted = false;
};

// A point value as signed whole degrees: "-3", "0", "12".
std::string DegreesText(int value);

}  // namespace map
