// Modal dialogs the core asks the platform for; each hands back the user's answer.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/geometry.h"

namespace ui {

enum class DialogIcon { None, Error, Warning, Question, Information };
// CloseCancel is OkCancel with "OK" captioned "Close": the answer is Ok for it.
enum class DialogButtons { Ok, OkCancel, CloseCancel };
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

// One entry of a popup menu; an entry without a caption is a separator.
struct MenuItem {
  std::string caption;   // "&" before the access key
  std::string shortcut;  // shown at the right: "Ctrl+Z"
  bool enabled = true;
  bool checkable = false;
  bool checked = false;
  friend bool operator==(const MenuItem&, const MenuItem&) = default;
};

// What a table dialog shows; its action buttons and "OK" work on it.
struct TableState {
  std::string text;  // above the table
  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> rows;  // each as many cells as columns
  // The rows selected, first to last (0-based); -1 when none is.
  int first_row = -1;
  int last_row = -1;
  std::string value;  // the value box beside the buttons
  std::string note;   // a line under the table: what the last action did, or why not
  friend bool operator==(const TableState&, const TableState&) = default;
};

// A modal table: rows of texts under column titles, action buttons, and "OK" and
// "Cancel" (or only "Close"). The handlers do the work; the dialog only shows.
struct TableRequest {
  std::string title;
  TableState state;
  std::vector<bool> editable;  // per column; the cells the user may type in
  std::string value_label;     // the caption of the value box; none without it
  std::vector<std::string> actions;
  // An action button pressed: changes the state the dialog then shows.
  std::function<void(std::size_t action, TableState& state)> act;
  // "OK" pressed (a double click on a row too, with no column editable): true closes
  // the dialog, false keeps it open with the note set. Empty `ok_caption`: the dialog
  // offers only "Close" and hands back nothing.
  std::string ok_caption = "OK";
  std::function<bool(TableState& state)> ok;
};

// The settings of the additions to the window, as the preferences dialog edits them.
struct PreferencesValues {
  bool ask_before_closing = true;
  bool confirm_writes = false;  // list the points that differ before Send and REC EEPR
  bool backups = true;
  std::string backup_folder;
  friend bool operator==(const PreferencesValues&, const PreferencesValues&) = default;
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
  // A popup menu at `where` (window coordinates, before display scaling): the index
  // of the item chosen, or nothing when the menu is dismissed.
  virtual std::optional<std::size_t> PopupMenu(const std::vector<MenuItem>& items, Point where) = 0;
  // The table dialog: the state it closed with after an accepted "OK", or nothing
  // when it is cancelled or closed.
  virtual std::optional<TableState> Table(const TableRequest& request) = 0;
  // The preferences dialog: the values it closed with on "OK".
  virtual std::optional<PreferencesValues> Preferences(const PreferencesValues& values) = 0;
  // A message box whose details, which the user can unfold, say why and what to do.
  // Platforms without such a place show the details below the text.
  virtual DialogResult DetailedMessageBox(const std::string& text, const std::string& details,
                                          const std::string& title, DialogIcon icon,
                                          DialogButtons buttons) {
    return MessageBox(details.empty() ? text : text + "\r\n\r\n" + details, title, icon, buttons);
  }
};

}  // namespace ui
