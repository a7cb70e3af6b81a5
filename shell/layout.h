// The window's layout table: every control of the main window with its design
// contents, for either program.
#pragma once

#include <vector>

#include "ui/control.h"
#include "ui/variant.h"

namespace shell {

// Client area of the main window.
struct WindowSize {
  int width;
  int height;
};
WindowSize ClientSize(ui::Variant variant);

// Rows in creation order, parents before children.
std::vector<ui::ControlSpec> LayoutTable(ui::Variant variant);

}  // namespace shell
