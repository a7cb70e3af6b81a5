#include "gui/qt_dialogs.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

#include "gui/qt_preferences_dialog.h"
#include "gui/qt_settings_dialog.h"
#include "gui/qt_table_dialog.h"

namespace gui {

namespace {

QMessageBox::Icon ToQtIcon(ui::DialogIcon icon) {
  switch (icon) {
    case ui::DialogIcon::Error:
      return QMessageBox::Critical;
    case ui::DialogIcon::Warning:
      return QMessageBox::Warning;
    case ui::DialogIcon::Question:
      return QMessageBox::Question;
    case ui::DialogIcon::Information:
      return QMessageBox::Information;
    case ui::DialogIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

ui::DialogResult Ask(QWidget* parent, const QString& text, const QString& title,
                     ui::DialogIcon icon, ui::DialogButtons buttons,
                     const QString& details = QString()) {
  QMessageBox box(ToQtIcon(icon), title, text, QMessageBox::NoButton, parent);
  if (!details.isEmpty()) box.setDetailedText(details);
  if (buttons == ui::DialogButtons::Ok) {
    box.setStandardButtons(QMessageBox::Ok);
  } else {
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
  }
  if (buttons == ui::DialogButtons::CloseCancel) box.button(QMessageBox::Ok)->setText("&Close");
  box.setDefaultButton(QMessageBox::Ok);
  // Closing the box with the title bar or Escape is a Cancel, never an OK.
  const int answer = box.exec();
  return answer == QMessageBox::Ok ? ui::DialogResult::Ok : ui::DialogResult::Cancel;
}

}  // namespace

QString QtFileFilter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1].trimmed();
    if (patterns.isEmpty()) continue;
    patterns.replace(';', ' ');
    // "*.*" is every file to Windows; here it would pass over names without a dot.
    if (patterns == "*.*") patterns = "*";
    filters << parts[i].trimmed() + " (" + patterns + ")";
  }
  return filters.join(";;");
}

ui::DialogResult QtDialogs::MessageBox(const std::string& text, const std::string& title,
                                       ui::DialogIcon icon, ui::DialogButtons buttons) {
  return Ask(m_parent, QString::fromStdString(text), QString::fromStdString(title), icon, buttons);
}

ui::DialogResult QtDialogs::MessageDlg(const std::string& text, ui::DialogIcon type,
                                       ui::DialogButtons buttons) {
  return Ask(m_parent, QString::fromStdString(text),
             QString::fromStdString(ui::MessageDlgTitle(type)), type, buttons);
}

ui::DialogResult QtDialogs::DetailedMessageBox(const std::string& text, const std::string& details,
                                               const std::string& title, ui::DialogIcon icon,
                                               ui::DialogButtons buttons) {
  return Ask(m_parent, QString::fromStdString(text), QString::fromStdString(title), icon, buttons,
             QString::fromStdString(details));
}

std::optional<ui::SettingsValues> QtDialogs::Settings(const ui::SettingsRequest& request) {
  QtSettingsDialog dialog(request, m_parent);
  // The "Error" boxes of a refused "Ok" open over the dialog, not behind it.
  QWidget* owner = m_parent;
  m_parent = &dialog;
  const bool accepted = dialog.exec() == QDialog::Accepted;
  m_parent = owner;
  if (!accepted) return std::nullopt;
  return dialog.Values();
}

std::optional<std::string> QtDialogs::FileDialog(const ui::FileDialogRequest& request, bool save) {
  QFileDialog dialog(m_parent, QString::fromStdString(request.title));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // Plain dialogs: no overwrite prompt and no check that the file exists; the
  // commands report what the file system says.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  const QString filter = QtFileFilter(request.filter);
  if (!filter.isEmpty()) dialog.setNameFilters(filter.split(";;"));
  if (!request.default_extension.empty()) {
    dialog.setDefaultSuffix(QString::fromStdString(request.default_extension));
  }
  if (!request.initial_dir.empty()) {
    dialog.setDirectory(QString::fromStdString(request.initial_dir));
  }
  if (!request.file_name.empty()) dialog.selectFile(QString::fromStdString(request.file_name));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return dialog.selectedFiles().constFirst().toStdString();
}

std::optional<std::string> QtDialogs::OpenFile(const ui::FileDialogRequest& request) {
  return FileDialog(request, false);
}

std::optional<std::string> QtDialogs::SaveFile(const ui::FileDialogRequest& request) {
  return FileDialog(request, true);
}

}  // namespace gui

namespace gui {

std::optional<std::size_t> QtDialogs::PopupMenu(const std::vector<ui::MenuItem>& items,
                                                ui::Point where) {
  QMenu menu(m_parent);
  std::vector<QAction*> actions;
  for (const ui::MenuItem& item : items) {
    if (item.caption.empty()) {
      actions.push_back(menu.addSeparator());
      continue;
    }
    QString text = QString::fromStdString(item.caption);
    // After a tab, Qt shows the shortcut at the right without binding it: the form
    // already runs the command for that key.
    if (!item.shortcut.empty()) text += '\t' + QString::fromStdString(item.shortcut);
    QAction* action = menu.addAction(text);
    action->setEnabled(item.enabled);
    action->setCheckable(item.checkable);
    action->setChecked(item.checked);
    actions.push_back(action);
  }
  const QPoint at = m_parent != nullptr ? m_parent->mapToGlobal(QPoint(where.x, where.y))
                                        : QPoint(where.x, where.y);
  QAction* chosen = menu.exec(at);
  for (std::size_t i = 0; i < actions.size(); ++i) {
    if (chosen != nullptr && actions[i] == chosen) return i;
  }
  return std::nullopt;
}

std::optional<ui::TableState> QtDialogs::Table(const ui::TableRequest& request) {
  QtTableDialog dialog(request, m_parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.State();
}

std::optional<ui::PreferencesValues> QtDialogs::Preferences(const ui::PreferencesValues& values) {
  QtPreferencesDialog dialog(values, m_parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Values();
}

}  // namespace gui
