// Modal dialogs the core asks the platform for; each hands back the user's answer.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

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

// The nine settings of the port settings dialog as it shows them: the texts of the
// two editable lists and the item index of the seven drop-down lists.
struct SettingsValues {
  std::string port_name;
  std::string baud_rate;
  int data_bits = 0;
  int parity = 0;
  int stop_bits = 0;
  int hw_flow = 0;
  int sw_flow = 0;
  int dtr_control = 0;
  int device_check = 0;
  friend bool operator==(const SettingsValues&, const SettingsValues&) = default;
};

// What the settings dialog shows, and what pressing "Ok" does.
struct SettingsRequest {
  SettingsValues values;
  std::vector<std::string> port_items;
  std::vector<std::string> baud_rate_items;
  std::vector<std::string> data_bits_items;
  std::vector<std::string> parity_items;
  std::vector<std::string> stop_bits_items;
  std::vector<std::string> hw_flow_items;
  std::vector<std::string> sw_flow_items;
  std::vector<std::string> dtr_control_items;
  std::vector<std::string> device_check_items;
  // "Ok" pressed with these values: true closes the dialog, false keeps it open with
  // its values (the handler has told the user why).
  std::function<bool(const SettingsValues&)> ok;
};

// The title a message dialog of that type carries ("Warning", "Error", "Information",
// "Confirm"; none for a dialog without an icon).
std::string MessageDlgTitle(DialogIcon type);

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
  // The modal port settings dialog: the values it closed with after an accepted "Ok",
  // or nothing when the user cancels.
  virtual std::optional<SettingsValues> Settings(const SettingsRequest& request) = 0;
  // A message box whose details, which the user can unfold, say why and what to do.
  // Platforms without such a place show the details below the text.
  virtual DialogResult DetailedMessageBox(const std::string& text, const std::string& details,
                                          const std::string& title, DialogIcon icon,
                                          DialogButtons buttons) {
    return MessageBox(details.empty() ? text : text + "\r\n\r\n" + details, title, icon, buttons);
  }
};

}  // namespace ui
