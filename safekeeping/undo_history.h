// The undo history of the working curves: each user step stores the editing state
// before it; undo and redo trade the state on screen for a stored one. Snapshots are
// small (two curves, the curve shown and the selection), so no command objects.
#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <optional>

#include "map/curve_model.h"

namespace safekeeping {

// What one step of undo brings back.
struct EditState {
  std::array<map::Curve, 2> curves{};
  int shown = 2;
  int selected = 1;
  friend bool operator==(const EditState&, const EditState&) = default;
};

class UndoHistory {
 public:
  // The oldest steps are forgotten past this many.
  static constexpr std::size_t kDepth = 500;

  // A step begins from `before`: the next Undo brings it back, and what could be
  // redone is dropped.
  void Record(const EditState& before);
  // The state to show instead of `now`, which Redo then brings back. Steps that
  // would leave the curves as they are (a Read or an Open of the curves already on
  // screen) are passed over.
  std::optional<EditState> Undo(const EditState& now);
  std::optional<EditState> Redo(const EditState& now);
  bool CanUndo(const EditState& now) const;
  bool CanRedo(const EditState& now) const;

 private:
  std::deque<EditState> m_undo;
  std::deque<EditState> m_redo;
};

}  // namespace safekeeping
