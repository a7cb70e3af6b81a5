// Modal dialogs the core asks the platform for; each hands back the user's answer.
#pragma once

#include <optional>
#include <string>

namespace ui {

enum class DialogIcon { None, Error, Warning, Question, Information };
enum class DialogButtons { Ok, OkCancel };
enum class DialogResult { Ok, Cancel };

struct FileDialogRequest {
  std::string title;
  std::string filter;             // "Description|*.EXT|All Files|*.*"
  std::string default_extension;  // without the dot
  std::string initial_dir;
  std::string file_name;  // the name chosen last time
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A message box with a title of its own.
  virtual DialogResult MessageBox(const std::string& text, const std::string& title,
                                  DialogIcon icon, DialogButtons buttons) = 0;
  // A message dialog titled by its type ("Warning", "Error", ...).
  virtual DialogResult MessageDlg(const std::string& text, DialogIcon type,
                                  DialogButtons buttons) = 0;
  // The chosen path, or nothing when the user cancels.
  virtual std::optional<std::string> OpenFile(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> SaveFile(const FileDialogRequest& request) = 0;
};

}  // namespace ui
