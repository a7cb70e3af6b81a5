// The preferences dialog on Windows: the three switches, the backup folder with a
// "Browse..." button, and "OK" and "Cancel".
#pragma once

#include <windows.h>

#include <optional>

#include "ui/dialogs.h"

namespace win32gui {

// What GetDlgItem finds on the preferences dialog; "OK" and "Cancel" are IDOK and IDCANCEL.
constexpr int kPreferencesAskId = 100;
constexpr int kPreferencesConfirmId = 101;
constexpr int kPreferencesBackupsId = 102;
constexpr int kPreferencesFolderLabelId = 103;
constexpr int kPreferencesFolderId = 104;
constexpr int kPreferencesBrowseId = 105;

class Win32PreferencesDialog {
 public:
  explicit Win32PreferencesDialog(const ui::PreferencesValues& values) : m_values(values) {}

  // Shows the dialog modally over `owner`: the values it closed with on "OK".
  std::optional<ui::PreferencesValues> Run(HWND owner);

 private:
  static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void Build();
  void Browse();
  void EnableFolder();
  HWND Item(int id) const { return GetDlgItem(m_window, id); }

  ui::PreferencesValues m_values;
  HWND m_window = nullptr;
};

}  // namespace win32gui
