#include "safekeeping/undo_history.h"

#include <algorithm>

namespace safekeeping {

namespace {

void Push(std::deque<EditState>& steps, const EditState& state) {
  steps.push_back(state);
  if (steps.size() > UndoHistory::kDepth) steps.pop_front();
}

bool Changes(const std::deque<EditState>& steps, const EditState& now) {
  return std::any_of(steps.begin(), steps.end(),
                     [&now](const EditState& s) { return s.curves != now.curves; });
}

// Takes the newest step that changes the curves; `now` goes on the opposite stack.
std::optional<EditState> Take(std::deque<EditState>& from, std::deque<EditState>& to,
                              const EditState& now) {
  while (!from.empty() && from.back().curves == now.curves) from.pop_back();
  if (from.empty()) return std::nullopt;
  EditState state = from.back();
  from.pop_back();
  Push(to, now);
  return state;
}

}  // namespace

void UndoHistory::Record(const EditState& before) {
  Push(m_undo, before);
  m_redo.clear();
}

std::optional<EditState> UndoHistory::Undo(const EditState& now) {
  return Take(m_undo, m_redo, now);
}

std::optional<EditState> UndoHistory::Redo(const EditState& now) {
  return Take(m_redo, m_undo, now);
}

bool UndoHistory::CanUndo(const EditState& now) const {
  return Changes(m_undo, now);
}

bool UndoHistory::CanRedo(const EditState& now) const {
  return Changes(m_redo, now);
}

}  // namespace safekeeping
