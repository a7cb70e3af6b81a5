// The context menu's backups and preferences group.
#pragma once

#include "safekeeping/backups_list.h"
#include "safekeeping/preferences_command.h"
#include "ui/menu.h"

namespace safekeeping {

// "&Backups..." and "Pre&ferences...", after a separator when the menu has items.
void AddBackupCommands(ui::CommandMenu& menu, BackupsList& backups,
                       PreferencesCommand& preferences);

}  // namespace safekeeping
