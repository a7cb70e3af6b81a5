#include "safekeeping/preferences_command.h"

#include <optional>
#include <utility>

#include "files/utf8_path.h"
#include "map/file_io.h"
#include "safekeeping/preferences_file.h"

namespace safekeeping {

PreferencesCommand::PreferencesCommand(ui::Variant variant, ui::Dialogs& dialogs,
                                       ui::PreferencesValues& values, std::string file,
                                       std::string default_folder)
    : m_variant(variant),
      m_dialogs(dialogs),
      m_values(values),
      m_file(std::move(file)),
      m_default_folder(std::move(default_folder)) {}

void PreferencesCommand::Load() {
  m_values = ReadPreferences(m_file);
  if (m_values.backup_folder.empty()) m_values.backup_folder = m_default_folder;
}

void PreferencesCommand::Show() {
  ui::PreferencesValues shown = m_values;
  std::optional<ui::PreferencesValues> chosen;
  // A folder the backups cannot be named by is refused, and the dialog shown again
  // with what the user typed.
  while ((chosen = m_dialogs.Preferences(shown))) {
    if (chosen->backup_folder.empty()) chosen->backup_folder = m_default_folder;
    if (chosen->backup_folder.empty() || files::PathFromUtf8(chosen->backup_folder).is_absolute()) {
      break;
    }
    m_dialogs.MessageBox("The backup folder must be a full path: " + chosen->backup_folder,
                         ui::ProgramName(m_variant), ui::DialogIcon::Error, ui::DialogButtons::Ok);
    shown = *chosen;
  }
  if (!chosen) return;
  m_values = *chosen;
  if (m_file.empty()) return;
  // The default folder is not written down, so the file follows the default if the
  // user's data folder moves.
  ui::PreferencesValues kept = m_values;
  if (kept.backup_folder == m_default_folder) kept.backup_folder.clear();
  if (const std::error_code error = WritePreferences(m_file, kept)) {
    m_dialogs.MessageBox("The preferences could not be kept: " +
                             map::IoErrorText(error, files::PathFromUtf8(m_file)),
                         ui::ProgramName(m_variant), ui::DialogIcon::Error, ui::DialogButtons::Ok);
  }
}

}  // namespace safekeeping
