// The context menu's group of live-data logs.
#pragma once

#include "logbook/plot_window.h"
#include "logbook/recorder.h"
#include "ui/menu.h"

namespace logbook {

// "Re&cord live data..." while nothing is recorded, "&Stop recording" while it is;
// "&Plot..." and "Open &log..." where the platform has a second window.
void AddLogCommands(ui::CommandMenu& menu, Recorder& recorder, PlotWindow& plot);

}  // namespace logbook
