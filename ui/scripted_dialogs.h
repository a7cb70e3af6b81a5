// Headless dialogs for tests: every dialog shown is recorded, and answered from a
// queue of scripted answers (OK, or no file chosen, when the queue is empty). An
// answer may carry a step that runs while the dialog is "open", such as advancing
// the virtual clock, as the nested loop of a real modal dialog lets timers run.
//
//   ui::ScriptedDialogs dialogs;
//   dialogs.Answer(ui::DialogResult::Cancel, [&] { clock.Advance(600); });
//   ... action that shows a message box ...
//   EXPECT_EQ(dialogs.Shown().back().title, "COM Port Error");
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
    std::string kind;  // "MessageBox", "MessageDlg", "OpenFile", "SaveFile"
    std::string text;  // message text, or the file dialog's filter
    std::string title;
    DialogIcon icon = DialogIcon::None;
    DialogButtons buttons = DialogButtons::Ok;
    FileDialogRequest request;
  };

  void Answer(DialogResult result, std::function<void()> while_open = {});
  void AnswerFile(std::optional<std::string> path, std::function<void()> while_open = {});

  DialogResult MessageBox(const std::string& text, const std::string& title, DialogIcon icon,
                          DialogButtons buttons) override;
  DialogResult MessageDlg(const std::string& text, DialogIcon type, DialogButtons buttons) override;
  std::optional<std::string> OpenFile(const FileDialogRequest& request) override;
  std::optional<std::string> SaveFile(const FileDialogRequest& request) override;

  const std::vector<Shown>& History() const { return m_shown; }
  void ClearHistory() { m_shown.clear(); }

 private:
  struct Scripted {
    DialogResult result = DialogResult::Ok;
    std::optional<std::string> path;
    std::function<void()> while_open;
  };
  Scripted Next();

  std::deque<Scripted> m_answers;
  std::vector<Shown> m_shown;
};

}  // namespace ui
