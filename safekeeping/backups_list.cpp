#include "safekeeping/backups_list.h"

#include <optional>
#include <utility>
#include <vector>

#include "safekeeping/backup_folder.h"

namespace safekeeping {

namespace {

std::string OccasionCaption(Occasion occasion) {
  switch (occasion) {
    case Occasion::Read:
      return "Read";
    case Occasion::Send:
      return "Before Send";
    case Occasion::Record:
      return "Before REC EEPR";
  }
  return {};
}

}  // namespace

BackupsList::BackupsList(ui::Dialogs& dialogs, map::MapCommands& map_commands,
                         const ui::PreferencesValues& preferences, WholeEdit apply)
    : m_dialogs(dialogs),
      m_map_commands(map_commands),
      m_preferences(preferences),
      m_apply(std::move(apply)) {}

void BackupsList::Show() {
  const std::vector<BackupFile> backups = ListBackups(m_preferences.backup_folder);
  ui::TableRequest request;
  request.title = "Backups";
  request.state.text =
      (backups.empty() ? "No backups yet in " : "Backups in ") + m_preferences.backup_folder;
  request.state.columns = {"Date", "Controller", "Occasion"};
  for (const BackupFile& backup : backups) {
    const BackupName& name = backup.name;
    request.state.rows.push_back(
        {DateText(name.time), name.model + " " + name.firmware, OccasionCaption(name.occasion)});
  }
  if (!backups.empty()) request.state.first_row = request.state.last_row = 0;
  request.ok_caption = "Open";

  // The file is read while the list is open, so one that cannot be read keeps it
  // open for another choice; the curves change only once it has closed.
  std::optional<std::array<map::Curve, 2>> chosen;
  request.ok = [&](ui::TableState& state) {
    const int row = state.first_row;
    if (row < 0 || static_cast<std::size_t>(row) >= backups.size()) {
      state.note = "Choose a backup to open.";
      return false;
    }
    chosen = m_map_commands.Load(backups[static_cast<std::size_t>(row)].path);
    if (!chosen) state.note = "That backup could not be read.";
    return chosen.has_value();
  };
  if (!m_dialogs.Table(request) || !chosen) return;
  m_apply(*chosen);
  m_map_commands.WarnOutOfLimits();
}

}  // namespace safekeeping
