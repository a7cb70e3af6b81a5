// The context menu's group of live-data logs.
#pragma once

#include "logbook/recorder.h"
#include "ui/menu.h"

namespace logbook {

// "&Record live data..." while nothing is recorded, "&Stop recording" while it is.
void AddLogCommands(ui::CommandMenu& menu, Recorder& recorder);

}  // namespace logbook
