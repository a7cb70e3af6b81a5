// The preferences dialog on Qt: the three switches and the backup folder with a
// "Browse..." button, "OK" and "Cancel".
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>

#include "ui/dialogs.h"

namespace gui {

class QtPreferencesDialog : public QDialog {
 public:
  QtPreferencesDialog(const ui::PreferencesValues& values, QWidget* parent = nullptr);

  ui::PreferencesValues Values() const;

 private:
  QCheckBox* m_ask_before_closing;
  QCheckBox* m_confirm_writes;
  QCheckBox* m_backups;
  QLineEdit* m_folder;
};

}  // namespace gui
