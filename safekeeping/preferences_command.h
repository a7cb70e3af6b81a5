// "Preferences...": the settings of the additions, read from their file at start-up
// and written back when the dialog closes with OK.
#pragma once

#include <string>

#include "ui/dialogs.h"
#include "ui/variant.h"

namespace safekeeping {

class PreferencesCommand {
 public:
  // `values` is where the window keeps them; `file` may be empty (nothing is kept
  // between runs); `default_folder` is the backups folder when none is chosen.
  PreferencesCommand(ui::Variant variant, ui::Dialogs& dialogs, ui::PreferencesValues& values,
                     std::string file, std::string default_folder);
  PreferencesCommand(const PreferencesCommand&) = delete;
  PreferencesCommand& operator=(const PreferencesCommand&) = delete;

  // Start-up: the values of the file, with the default folder where none is set.
  void Load();
  // The dialog; on OK its values apply at once and are written to the file.
  void Show();

 private:
  ui::Variant m_variant;
  ui::Dialogs& m_dialogs;
  ui::PreferencesValues& m_values;
  std::string m_file;
  std::string m_default_folder;
};

}  // namespace safekeeping
