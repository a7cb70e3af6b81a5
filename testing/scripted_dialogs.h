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
  };
  using SettingsEdit = std::function<void(SettingsValues&)>;

  void Answer(DialogResult result, std::function<void()> while_open = {});
  void AnswerFile(std::optional<std::string> path, std::function<void()> while_open = {});
  void AnswerSettings(std::vector<SettingsEdit> oks, std::function<void()> while_open = {});
  // The settings dialog closed with "Cancel" (or Escape).
  void CancelSettings(std::function<void()> while_open = {});

  DialogResult MessageBox(const std::string& text, const std::string& title, DialogIcon icon,
                          DialogButtons buttons) override;
  DialogResult MessageDlg(const std::string& text, DialogIcon type, DialogButtons buttons) override;
  std::optional<std::string> OpenFile(const FileDialogRequest& request) override;
  std::optional<std::string> SaveFile(const FileDialogRequest& request) override;
  std::optional<SettingsValues> Settings(const SettingsRequest& request) override;
  DialogResult DetailedMessageBox(const std::string& text, const std::string& details,
                                  const std::string& title, DialogIcon icon,
                                  DialogButtons buttons) override;

  const std::vector<Shown>& History() const { return m_shown; }
  void ClearHistory() { m_shown.clear(); }
  // Scripted answers no dialog has taken yet are dropped.
  void ForgetAnswers() {
    m_answers.clear();
    m_settings.clear();
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
  std::vector<Shown> m_shown;
};

}  // namespace ui
