// "Backups...": the backups of the controller's curves, newest first, with their
// date, controller and occasion; the one chosen is opened as Open opens a map file,
// as one edit of both working curves.
#pragma once

#include <array>
#include <functional>

#include "map/curve_model.h"
#include "map/map_commands.h"
#include "ui/dialogs.h"

namespace safekeeping {

class BackupsList {
 public:
  // Applies new working curves as one edit of the user's.
  using WholeEdit = std::function<void(const std::array<map::Curve, 2>&)>;

  // The folder listed is the preferences' at each showing.
  BackupsList(ui::Dialogs& dialogs, map::MapCommands& map_commands,
              const ui::PreferencesValues& preferences, WholeEdit apply);
  BackupsList(const BackupsList&) = delete;
  BackupsList& operator=(const BackupsList&) = delete;

  void Show();

 private:
  ui::Dialogs& m_dialogs;
  map::MapCommands& m_map_commands;
  const ui::PreferencesValues& m_preferences;
  WholeEdit m_apply;
};

}  // namespace safekeeping
