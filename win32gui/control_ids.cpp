#include "win32gui/control_ids.h"

#include <algorithm>

namespace win32gui {

int ControlId(const ui::ControlSet& controls, const std::string& name) {
  const ui::Control* control = controls.Find(name);
  if (control == nullptr) return 0;
  const auto& all = controls.All();
  const auto it = std::find(all.begin(), all.end(), control);
  return kFirstControlId + static_cast<int>(it - all.begin());
}

}  // namespace win32gui
