#include "logbook/log_menu.h"

namespace logbook {

void AddLogCommands(ui::CommandMenu& menu, Recorder& recorder, PlotWindow& plot) {
  if (!menu.Empty()) menu.AddSeparator();
  menu.Add({"Re&cord live data...",
            {},
            [&recorder] { return !recorder.Recording(); },
            {},
            [&recorder] { recorder.RecordClick(); }});
  menu.Add({"&Stop recording",
            {},
            [&recorder] { return recorder.Recording(); },
            {},
            [&recorder] { recorder.Stop(); }});
  if (!plot.Available()) return;
  menu.Add({"&Plot...", {}, {}, {}, [&plot] { plot.PlotClick(); }});
  menu.Add({"Open &log...", {}, {}, {}, [&plot] { plot.OpenLogClick(); }});
}

}  // namespace logbook
