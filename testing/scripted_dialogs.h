// Headless dialogs for tests: every dialog shown is recorded, and answered from a
// queue of scripted answers (OK, or no file chosen, when the queue is empty). An
// answer may carry a step that runs while the dialog is "open", such as advancing
// the virtual clock, as the nested loop of a real modal dialog lets timers run.
//
//   ui::ScriptedDialogs dialogs;
//   dialogs.Answer(ui::DialogResult::Cancel, [&] { clock.Advance(600); });
//   ... action that shows a message box ...
//   EXPECT_EQ(dialogs.Shown().back().title, "COM Port Error");
//
// The settings dialog presses "Ok" once for each edit of its filled-in values, until
// one is accepted; with none accepted it is cancelled. Unscripted, it presses "Ok"
// on the values as filled in.
//
//   dialogs.AnswerSettings({[](ui::SettingsValues& v) { v.baud_rate = "abc"; },
//                           [](ui::SettingsValues& v) { v.baud_rate = "19200"; }});
//
// A popup menu chooses the item of the scripted caption ("&Undo"), a table dialog
// runs its script (which may press action buttons through the request) and presses
// "OK" when the script says so, the preferences dialog applies its edit and presses
// "OK". Unscripted, each is dismissed.
//
//   dialogs.AnswerMenu("&Undo");
//   dialogs.AnswerTable([](const ui::TableRequest& r, ui::TableState& s) {
//     s.first_row = s.last_row = 3;
//     r.act(0, s);
//     return true;
//   });
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/dialogs.h"

namespace ui {

class ScriptedDialogs : public Dialogs {
 public:
  struct Shown {
    std::string kind;  // "MessageBox", "MessageDlg", "OpenFile", "SaveFile", "Settings"
    std::string text;  // message text, or the file dialog's filter
    std::string title;
    DialogIcon icon = DialogIcon::None;
    DialogButtons buttons = DialogButtons::Ok;
    FileDialogRequest request;
    std::string details;                      // of a detailed message box
    std::optional<SettingsRequest> settings;  // as the settings dialog was filled in
    std::vector<MenuItem> menu;               // a popup menu's items
    Point where;                              // and where it opened
    std::optional<TableState> table;          // a table as it opened
    std::optional<PreferencesValues> preferences;
  };
  using SettingsEdit = std::function<void(SettingsValues&)>;
  // Works the open table; true presses "OK".
  using TableScript = std::function<bool(const TableRequest&, TableState&)>;
  using PreferencesEdit = std::function<void(PreferencesValues&)>;

  void Answer(DialogResult result, std::function<void()> while_open = {});
  void AnswerFile(std::optional<std::string> path, std::function<void()> while_open = {});
  void AnswerSettings(std::vector<SettingsEdit> oks, std::function<void()> while_open = {});
  // The settings dialog closed with "Cancel" (or Escape).
  void CancelSettings(std::function<void()> while_open = {});

  // The next popup menu chooses the item with this caption; nothing dismisses it.
  void AnswerMenu(std::optional<std::string> caption);
  void AnswerTable(TableScript script);
  void AnswerPreferences(PreferencesEdit edit);

  DialogResult MessageBox(const std::string& text, const std::string& title, DialogIcon icon,
                          DialogButtons buttons) override;
  DialogResult MessageDlg(const std::string& text, DialogIcon type, DialogButtons buttons) override;
  std::optional<std::string> OpenFile(const FileDialogRequest& request) override;
  std::optional<std::string> SaveFile(const FileDialogRequest& request) override;
  std::optional<SettingsValues> Settings(const SettingsRequest& request) override;
  DialogResult DetailedMessageBox(const std::string& text, const std::string& details,
                                  const std::string& title, DialogIcon icon,
                                  DialogButtons buttons) override;
  std::optional<std::size_t> PopupMenu(const std::vector<MenuItem>& items, Point where) override;
  std::optional<TableState> Table(const TableRequest& request) override;
  std::optional<PreferencesValues> Preferences(const PreferencesValues& values) override;

  const std::vector<Shown>& History() const { return m_shown; }
  void ClearHistory() { m_shown.clear(); }
  // Scripted answers no dialog has taken yet are dropped.
  void ForgetAnswers() {
    m_answers.clear();
    m_settings.clear();
    m_menus.clear();
    m_tables.clear();
    m_preferences.clear();
  }

 private:
  struct Scripted {
    DialogResult result = DialogResult::Ok;
    std::optional<std::string> path;
    std::function<void()> while_open;
  };
  Scripted Next();
  // Both file dialogs: shown, then answered with the next scripted path.
  std::optional<std::string> FileDialog(const char* kind, const FileDialogRequest& request);

  struct ScriptedSettings {
    std::vector<SettingsEdit> oks;
    std::function<void()> while_open;
  };

  std::deque<Scripted> m_answers;
  std::deque<ScriptedSettings> m_settings;
  std::deque<std::optional<std::string>> m_menus;
  std::deque<TableScript> m_tables;
  std::deque<PreferencesEdit> m_preferences;
  std::vector<Shown> m_shown;
};

}  // namespace ui
