#include "ui/button_sets.h"

namespace ui {

const std::vector<std::string>& DeviceCommandButtons() {
  static const std::vector<std::string> kSet = {"RDBut", "SDBut", "Button3", "Button6",
                                                "btnAdvSet"};
  return kSet;
}

const std::vector<std::string>& LiveDataLockedButtons() {
  static const std::vector<std::string> kSet = {"RDBut", "SDBut",   "V5But",
                                                "btnPN", "Button6", "btnAdvSet"};
  return kSet;
}

void SetButtons(ControlSet& controls, const std::vector<std::string>& set, bool enabled) {
  for (const std::string& name : set) controls[name].SetEnabled(enabled);
}

}  // namespace ui
