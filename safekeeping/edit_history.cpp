#include "safekeeping/edit_history.h"

#include "map/sync.h"

namespace safekeeping {

EditHistory::EditHistory(map::CurveModel& model, map::CurveEditor& editor, ui::ControlSet& controls)
    : m_model(model),
      m_editor(editor),
      m_label34(controls["Label34"]),
      m_label35(controls["Label35"]) {}

EditState EditHistory::Now() const {
  return {m_model.AdvCurves, m_model.CurrentCurve, m_model.SelectedPoint};
}

void EditHistory::Record() {
  m_history.Record(Now());
}

void EditHistory::Show(const EditState& state) {
  m_model.AdvCurves = state.curves;
  m_editor.ShowEdited(state.shown, state.selected);
  map::CheckSync(m_model, m_label34, m_label35);
}

void EditHistory::Undo() {
  if (const auto state = m_history.Undo(Now())) Show(*state);
}

void EditHistory::Redo() {
  if (const auto state = m_history.Redo(Now())) Show(*state);
}

bool EditHistory::CanUndo() const {
  return m_history.CanUndo(Now());
}

bool EditHistory::CanRedo() const {
  return m_history.CanRedo(Now());
}

void EditHistory::ApplyCurves(const std::array<map::Curve, 2>& curves) {
  if (curves == m_model.AdvCurves) return;
  Record();
  Show({curves, m_model.CurrentCurve, m_model.SelectedPoint});
}

}  // namespace safekeeping
