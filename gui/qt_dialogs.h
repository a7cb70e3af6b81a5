// The core's modal dialogs on Qt: message boxes and the file open and save dialogs.
// Each runs a nested event loop, so timers and the serial poll go on meanwhile.
#pragma once

#include <QString>
#include <QWidget>

#include "ui/dialogs.h"

namespace gui {

class QtDialogs : public ui::Dialogs {
 public:
  // Dialogs open over this window once it exists.
  void SetParent(QWidget* parent) { m_parent = parent; }

  ui::DialogResult MessageBox(const std::string& text, const std::string& title,
                              ui::DialogIcon icon, ui::DialogButtons buttons) override;
  ui::DialogResult MessageDlg(const std::string& text, ui::DialogIcon type,
                              ui::DialogButtons buttons) override;
  std::optional<std::string> OpenFile(const ui::FileDialogRequest& request) override;
  std::optional<std::string> SaveFile(const ui::FileDialogRequest& request) override;
  std::optional<ui::SettingsValues> Settings(const ui::SettingsRequest& request) override;
  ui::DialogResult DetailedMessageBox(const std::string& text, const std::string& details,
                                      const std::string& title, ui::DialogIcon icon,
                                      ui::DialogButtons buttons) override;
  std::optional<std::size_t> PopupMenu(const std::vector<ui::MenuItem>& items,
                                       ui::Point where) override;
  std::optional<ui::TableState> Table(const ui::TableRequest& request) override;
  std::optional<ui::PreferencesValues> Preferences(const ui::PreferencesValues& values) override;

 private:
  std::optional<std::string> FileDialog(const ui::FileDialogRequest& request, bool save);

  QWidget* m_parent = nullptr;
};

// "Map files|*.IJJ|All Files|*.*" as Qt's "Map files (*.IJJ);;All Files (*)": the
// pattern "*.*" matches every file, as on Windows. A description without its pattern
// is dropped; several patterns "*.a;*.b" are kept.
QString QtFileFilter(const std::string& filter);

// The title a message dialog of that type carries.
QString MessageDlgTitle(ui::DialogIcon type);

}  // namespace gui
