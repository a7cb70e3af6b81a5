// Keys as the core takes them: Qt key codes translated to the platform-neutral
// virtual-key numbers of the design (Left 37, Up 38, F1 112, ...).
#pragma once

#include <Qt>

namespace gui {

// The virtual-key number of a Qt key, or 0 for a key the design has no number for.
int VirtualKey(int qt_key, Qt::KeyboardModifiers modifiers);

}  // namespace gui
