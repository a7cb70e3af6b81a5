#include "safekeeping/backup_commands.h"

namespace safekeeping {

void AddBackupCommands(ui::CommandMenu& menu, BackupsList& backups,
                       PreferencesCommand& preferences) {
  if (!menu.Empty()) menu.AddSeparator();
  menu.Add({"&Backups...", {}, {}, {}, [&backups] { backups.Show(); }});
  menu.Add({"Pre&ferences...", {}, {}, {}, [&preferences] { preferences.Show(); }});
}

}  // namespace safekeeping
