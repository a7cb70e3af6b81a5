#include "map/curve_editor.h"

#include "map/axis.h"
#include "map/marker.h"
#include "map/sync.h"

namespace map {

std::string DegreesText(int value) {
  return std::to_string(value - 25);
}

CurveEditor::CurveEditor(ui::Variant variant, ui::ControlSet& controls, CurveModel& model,
                         live::Gauges& gauges)
    : m_variant(variant), m_controls(controls), m_model(model), m_gauges(gauges) {}

ui::Control& CurveEditor::Marker(int p) const {
  return m_controls["Lb" + std::to_string(p)];
}

int CurveEditor::RetardLimit() const {
  return m_model.SelectedPoint == 1 ? m_model.FirstPointRetard : m_model.MaxRetard;
}

void CurveEditor::Updatesc() {
  for (int p = 1; p <= static_cast<int>(protocol::kPoints); ++p) {
    Marker(p).SetTop(MarkerTop(m_model.Point(p)));
  }
  m_model.SelectedValue = m_model.Point(1);
  m_model.SelectedPoint = 1;
  m_model.RpmText = std::to_string(PointRpm(m_variant, m_model.DeviceVersion, 1));
  m_gauges.DrawTrace();
  ui::Control& selection = m_controls["Lb30"];
  selection.SetTop(Marker(1).Top() - 9);
  selection.SetLeft(SelectionLeft(1));
}

void CurveEditor::FocusSink() {
  ui::Control& panel = m_controls["Panel1"];
  panel.SetVisible(true);
  m_controls["Button1"].SetFocus();
  panel.SetVisible(false);
}

void CurveEditor::PlaceReadouts() {
  if (m_variant == ui::Variant::Palunor) return;
  const ui::Control& selection = m_controls["Lb30"];
  ui::Control& rpm = m_controls["Lb31"];
  ui::Control& degrees = m_controls["Lb32"];
  rpm.SetLeft(selection.Left() - 6);
  rpm.SetTop(selection.Top() - 3);
  degrees.SetLeft(selection.Left());
  degrees.SetTop(selection.Top() + 24);
  rpm.SetCaption(m_model.RpmText);
  degrees.SetCaption(m_model.AdvText);
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
  // A point 1 below its retard limit (from a file or the controller) jumps to it.
  if (step > 0 && m_model.SelectedPoint == 1 && next < 10) next = 25 - m_model.FirstPointRetard;
  m_model.SelectedValue = static_cast<std::uint8_t>(next);
  m_model.Point(m_model.SelectedPoint) = m_model.SelectedValue;
  m_model.AdvText = DegreesText(next);
  m_controls["Label28"].SetCaption(m_model.AdvText);

  ui::Control& marker = Marker(m_model.SelectedPoint);
  marker.SetTop(step > 0 ? RaisedMarkerTop(next) : MarkerTop(next));
  m_controls["Lb30"].SetTop(marker.Top() - 9);
  PlaceReadouts();

  CheckSync(m_model, m_controls);
  m_gauges.DrawTrace();
  m_model.GaugeAdvance = m_model.SelectedValue;
  m_gauges.Adv();
}

void CurveEditor::StepSelection(int step) {
  FocusSink();
  const int p = m_model.SelectedPoint + step;
  if (p < 1 || p > static_cast<int>(protocol::kPoints)) return;
  m_model.SelectedPoint = p;

  ui::Control& selection = m_controls["Lb30"];
  selection.SetLeft(SelectionLeft(p));
  selection.SetTop(Marker(p).Top() - 9);

  m_model.SelectedValue = m_model.Point(p);
  const int rpm = PointRpm(m_variant, m_model.DeviceVersion, p);
  m_model.RpmText = std::to_string(rpm);
  if (m_variant == ui::Variant::Palunor6) {
    m_model.AdvText = DegreesText(m_model.SelectedValue);
    m_controls["Label28"].SetCaption(m_model.AdvText);
  }
  m_controls["Label30"].SetCaption(m_model.RpmText);
  PlaceReadouts();

  m_model.RpmPeriod = PeriodOfRpm(rpm);
  m_gauges.RPM();
}

}  // namespace map
