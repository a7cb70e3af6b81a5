// The two sets of command buttons that several handlers enable and disable together,
// as plain lists of control names.
#pragma once

#include <string>
#include <vector>

#include "ui/control.h"

namespace ui {

// RDBut, SDBut, Button3, Button6, btnAdvSet: the commands that need an identified
// controller.
const std::vector<std::string>& DeviceCommandButtons();

// RDBut, SDBut, V5But, btnPN, Button6, btnAdvSet: the commands that would disturb a
// running live data stream.
const std::vector<std::string>& LiveDataLockedButtons();

// Enables or disables every button of the set.
void SetButtons(ControlSet& controls, const std::vector<std::string>& set, bool enabled);

}  // namespace ui
