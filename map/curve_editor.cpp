#include "map/curve_editor.h"

#include <algorithm>

#include "map/axis.h"
#include "map/limits.h"
#include "map/marker.h"
#include "map/sync.h"

namespace map {

namespace {

constexpr int kPoints = static_cast<int>(protocol::kPoints);

}  // namespace

std::string DegreesText(int value) {
  return std::to_string(value - 25);
}

CurveEditor::Controls::Controls(ui::Variant variant, ui::ControlSet& set)
    : PointLabels(),
      Lb30(set["Lb30"]),
      Lb31(variant == ui::Variant::Palunor6 ? &set["Lb31"] : nullptr),
      Lb32(variant == ui::Variant::Palunor6 ? &set["Lb32"] : nullptr),
      Label28(set["Label28"]),
      Label30(set["Label30"]),
      Label34(set["Label34"]),
      Label35(set["Label35"]),
      Panel1(set["Panel1"]),
      Button1(set["Button1"]),
      Button2(set["Button2"]),
      SpeedButton1(set["SpeedButton1"]),
      SpeedButton2(set["SpeedButton2"]),
      SpeedButton3(set["SpeedButton3"]),
      SpeedButton4(set["SpeedButton4"]) {
  for (int p = 1; p <= kPoints; ++p) {
    PointLabels[static_cast<std::size_t>(p - 1)] = &set["Lb" + std::to_string(p)];
  }
}

CurveEditor::CurveEditor(ui::Variant variant, ui::ControlSet& controls, CurveModel& model,
                         GaugeDrawing& gauges)
    : m_variant(variant), m_model(model), m_gauges(gauges), m_c(variant, controls) {
  BindEvents();
}

void CurveEditor::BindEvents() {
  for (int p = 1; p <= kPoints; ++p) {
    ui::Control& marker = Marker(p);
    marker.OnMouseDown = [this, p](ui::MouseButton button, int x, int y) {
      Lb1MouseDown(p, button, x, y);
    };
    marker.OnMouseMove = [this, p](int x, int y) { Lb1MouseMove(p, x, y); };
    marker.OnMouseUp = [this, p](ui::MouseButton button, int x, int y) {
      Lb1MouseUp(p, button, x, y);
    };
  }
  m_c.Button2.OnClick = [this] { Button2Click(); };
  m_c.SpeedButton1.OnClick = [this] { SpeedButton1Click(); };
  m_c.SpeedButton2.OnClick = [this] { SpeedButton2Click(); };
  m_c.SpeedButton3.OnClick = [this] { SpeedButton3Click(); };
  m_c.SpeedButton4.OnClick = [this] { SpeedButton4Click(); };
}

ui::Control& CurveEditor::Marker(int p) const {
  return *m_c.PointLabels[static_cast<std::size_t>(std::clamp(p, 1, kPoints) - 1)];
}

int CurveEditor::RetardLimit() const {
  return map::RetardLimit(m_model, m_model.SelectedPoint);
}

void CurveEditor::CheckSync() {
  map::CheckSync(m_model, m_c.Label34, m_c.Label35);
}

void CurveEditor::Updatesc() {
  for (int p = 1; p <= kPoints; ++p) Marker(p).SetTop(MarkerTop(m_model.Point(p)));
  m_model.SelectedValue = m_model.Point(1);
  m_model.SelectedPoint = 1;
  m_model.RpmText = std::to_string(PointRpm(m_variant, m_model.DeviceVersion, 1));
  m_gauges.DrawTrace();
  m_c.Lb30.SetTop(Marker(1).Top() - 9);
  m_c.Lb30.SetLeft(SelectionLeft(1));
}

void CurveEditor::FocusSink() {
  m_c.Panel1.SetVisible(true);
  m_c.Button1.SetFocus();
  m_c.Panel1.SetVisible(false);
}

void CurveEditor::PlaceReadouts() {
  if (m_c.Lb31 == nullptr || m_c.Lb32 == nullptr) return;
  m_c.Lb31->SetLeft(m_c.Lb30.Left() - 6);
  m_c.Lb31->SetTop(m_c.Lb30.Top() - 3);
  m_c.Lb32->SetLeft(m_c.Lb30.Left());
  m_c.Lb32->SetTop(m_c.Lb30.Top() + 24);
  m_c.Lb31->SetCaption(m_model.RpmText);
  m_c.Lb32->SetCaption(m_model.AdvText);
}

void CurveEditor::SpeedButton1Click() {
  StepValue(+1);
}

void CurveEditor::SpeedButton2Click() {
  StepValue(-1);
}

void CurveEditor::SpeedButton3Click() {
  StepSelection(-1);
}

void CurveEditor::SpeedButton4Click() {
  StepSelection(+1);
}

void CurveEditor::StepValue(int step) {
  FocusSink();
  const int value = m_model.SelectedValue;
  // Besides the limits, a value never wraps round its byte: 255 does not rise to 0
  // and 0 does not fall to 255 when a controller reports limits beyond 25 degrees.
  if (step > 0 && (value >= 25 + m_model.MaxAdvance || value == 255)) return;
  if (step < 0 && (value <= 25 - RetardLimit() || value == 0)) return;

  int next = value + step;
  NoteEdit();
  // A point 1 below its retard limit (from a file or the controller) jumps to it.
  if (step > 0 && m_model.SelectedPoint == 1 && next < 10) next = 25 - m_model.FirstPointRetard;
  m_model.SelectedValue = static_cast<std::uint8_t>(next);
  m_model.Point(m_model.SelectedPoint) = m_model.SelectedValue;
  m_model.AdvText = DegreesText(next);
  m_c.Label28.SetCaption(m_model.AdvText);

  ui::Control& marker = Marker(m_model.SelectedPoint);
  marker.SetTop(step > 0 ? RaisedMarkerTop(next) : MarkerTop(next));
  m_c.Lb30.SetTop(marker.Top() - 9);
  PlaceReadouts();

  CheckSync();
  m_gauges.DrawTrace();
  m_model.GaugeAdvance = m_model.SelectedValue;
  m_gauges.Adv();
}

void CurveEditor::StepSelection(int step) {
  FocusSink();
  const int p = m_model.SelectedPoint + step;
  if (p < 1 || p > kPoints) return;
  SelectPoint(p);
}

void CurveEditor::SelectPoint(int p) {
  m_model.SelectedPoint = p;

  m_c.Lb30.SetLeft(SelectionLeft(p));
  m_c.Lb30.SetTop(Marker(p).Top() - 9);

  m_model.SelectedValue = m_model.Point(p);
  const int rpm = PointRpm(m_variant, m_model.DeviceVersion, p);
  m_model.RpmText = std::to_string(rpm);
  if (m_variant == ui::Variant::Palunor6) {
    m_model.AdvText = DegreesText(m_model.SelectedValue);
    m_c.Label28.SetCaption(m_model.AdvText);
  }
  m_c.Label30.SetCaption(m_model.RpmText);
  PlaceReadouts();

  m_model.RpmPeriod = PeriodOfRpm(rpm);
  m_gauges.RPM();
}

void CurveEditor::SetSwitchCaption() {
  m_c.Button2.SetCaption(m_model.CurrentCurve == 1 ? "Advance &2" : "Advance &1");
}

void CurveEditor::ShowCurve(int c) {
  m_model.CurrentCurve = c;
  SetSwitchCaption();
  Updatesc();
}

void CurveEditor::ShowEdited(int c, int p) {
  ShowCurve(c);
  SelectPoint(std::clamp(p, 1, kPoints));
  // With a PLX controller the trace's colours follow the selected point.
  m_gauges.DrawTrace();
  m_model.GaugeAdvance = m_model.SelectedValue;
  m_gauges.Adv();
}

void CurveEditor::NoteEdit() {
  if (BeforeEdit) BeforeEdit();
}

void CurveEditor::Button2Click() {
  m_model.CurrentCurve = m_model.CurrentCurve == 1 ? 2 : 1;
  SetSwitchCaption();
  for (int p = 1; p <= kPoints; ++p) Marker(p).SetTop(RaisedMarkerTop(m_model.Point(p)));
  m_c.Lb30.SetTop(Marker(m_model.SelectedPoint).Top() - 9);
  m_gauges.DrawTrace();
  m_model.SelectedValue = m_model.Point(m_model.SelectedPoint);
  m_model.GaugeAdvance = m_model.SelectedValue;
  m_gauges.Adv();
}

void CurveEditor::Lb1MouseDown(int p, ui::MouseButton, int, int y) {
  FocusSink();
  m_model.SelectedPoint = std::clamp(p, 1, kPoints);
  p = m_model.SelectedPoint;
  m_model.Dragging = true;
  m_drag_noted = false;
  m_model.DragStartY = y;
  // The pressed point is the one the arrows act on next, hovered over first or not.
  m_model.SelectedValue = m_model.Point(p);
  m_model.AdvText = DegreesText(m_model.Point(p));
  const int rpm = PointRpm(m_variant, m_model.DeviceVersion, p);
  m_model.RpmText = std::to_string(rpm);
  m_c.Label30.SetCaption(m_model.RpmText);
  if (m_variant == ui::Variant::Palunor) {
    // The older program has no hover texts, so the press itself moves the selection.
    m_c.Lb30.SetLeft(SelectionLeft(p));
    m_c.Lb30.SetTop(Marker(p).Top() - 9);
  }
  PlaceReadouts();
  if (rpm > 0) {
    m_model.RpmPeriod = PeriodOfRpm(rpm);
    m_gauges.RPM();
  }
}

// The readouts Lb31 and Lb32 are placed from where Lb30 stands before it follows the
// mouse, and show the values before the point moves: they lag one event behind.
void CurveEditor::Lb1MouseMove(int p, int, int y) {
  const int retard = RetardLimit();
  m_model.SelectedPoint = std::clamp(p, 1, kPoints);
  p = m_model.SelectedPoint;
  if (m_variant == ui::Variant::Palunor6) {
    m_model.SelectedValue = m_model.Point(p);
    m_model.AdvText = DegreesText(m_model.SelectedValue);
    m_model.RpmText = std::to_string(PointRpm(m_variant, m_model.DeviceVersion, p));
    PlaceReadouts();
  }
  ui::Control& marker = Marker(p);
  if (m_model.Dragging) {
    DragTo(p, marker.Top() + (y - m_model.DragStartY), retard);
  } else {
    m_c.Lb30.SetLeft(SelectionLeft(p));
  }
  m_c.Lb30.SetTop(marker.Top() - 9);
  m_model.SelectedValue = m_model.Point(p);
}

void CurveEditor::Lb1MouseUp(int, ui::MouseButton, int, int) {
  m_model.Dragging = false;
}

// Only the vertical movement counts. The marker stays between the advance limit at
// the top and the point's retard limit at the bottom; besides, it never leaves the
// tops of the values a byte holds, so a controller's limits beyond 25 degrees cannot
// wrap a dragged value round into the opposite end of the scale.
void CurveEditor::DragTo(int p, int top, int retard) {
  const int highest = std::max(60 - 2 * m_model.MaxAdvance, MarkerTop(255));
  const int lowest = std::min(61 + 2 * retard, MarkerTop(0));
  top = std::max(highest, std::min(top, lowest));
  Marker(p).SetTop(top);

  const auto value = static_cast<std::uint8_t>(ValueOfTop(top));
  if (value != m_model.Point(p) && !m_drag_noted) {
    m_drag_noted = true;
    NoteEdit();
  }
  m_model.Point(p) = value;
  m_model.AdvText = DegreesText(value);
  m_model.GaugeAdvance = value;
  m_gauges.Adv();
  CheckSync();
  m_gauges.DrawTrace();
}

}  // namespace map
