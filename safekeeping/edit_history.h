// Undo and redo of the working curves for the window, and the one entry point for an
// edit that gives both curves new values at once (copy, swap, revert, a point table):
// each is one step, shown as the editor shows its own edits, the marks by CheckSync.
// Nothing here writes to the controller.
#pragma once

#include <array>
#include <functional>

#include "map/curve_editor.h"
#include "map/curve_model.h"
#include "safekeeping/undo_history.h"
#include "ui/control.h"

namespace safekeeping {

// New values for both working curves, applied as one step of undo.
using WholeEdit = std::function<void(const std::array<map::Curve, 2>&)>;

class EditHistory {
 public:
  EditHistory(map::CurveModel& model, map::CurveEditor& editor, ui::ControlSet& controls);
  EditHistory(const EditHistory&) = delete;
  EditHistory& operator=(const EditHistory&) = delete;

  // A step that changes the working curves is about to begin.
  void Record();
  void Undo();
  void Redo();
  bool CanUndo() const;
  bool CanRedo() const;
  // Both working curves take these values as one step; the curve shown and the
  // selected point stay.
  void ApplyCurves(const std::array<map::Curve, 2>& curves);

 private:
  EditState Now() const;
  void Show(const EditState& state);

  map::CurveModel& m_model;
  map::CurveEditor& m_editor;
  ui::Control& m_label34;
  ui::Control& m_label35;
  UndoHistory m_history;
};

}  // namespace safekeeping
