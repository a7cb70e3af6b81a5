// The context menu's groups of undo and redo, of the controller's copy, and of curve
// copy and swap.
#pragma once

#include <functional>

#include "map/curve_model.h"
#include "safekeeping/controller_copy.h"
#include "safekeeping/edit_history.h"
#include "ui/menu.h"

namespace safekeeping {

// `busy` is true while the curves must not change under a command: a curve command
// waits for its reply, or a point is being dragged.
void AddCommands(ui::CommandMenu& menu, EditHistory& history, ControllerCopy& copy,
                 const map::CurveModel& model, std::function<bool()> busy);

}  // namespace safekeeping
