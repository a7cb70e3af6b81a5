#include "logbook/log_menu.h"

namespace logbook {

void AddLogCommands(ui::CommandMenu& menu, Recorder& recorder) {
  if (!menu.Empty()) menu.AddSeparator();
  menu.Add({"&Record live data...",
            {},
            [&recorder] { return !recorder.Recording(); },
            {},
            [&recorder] { recorder.RecordClick(); }});
  menu.Add({"&Stop recording",
            {},
            [&recorder] { return recorder.Recording(); },
            {},
            [&recorder] { recorder.Stop(); }});
}

}  // namespace logbook
