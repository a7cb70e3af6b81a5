// The control IDs of the main window's child windows: each control of the layout
// table is the child with ID kFirstControlId + its index in creation order, so a
// test or another process finds a control's window by the control's name.
#pragma once

#include <string>

#include "ui/control.h"

namespace win32gui {

constexpr int kFirstControlId = 1000;

// The control ID of the named control, or 0 when the window has no such control.
int ControlId(const ui::ControlSet& controls, const std::string& name);

}  // namespace win32gui
