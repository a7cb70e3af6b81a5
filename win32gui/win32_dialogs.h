// The core's modal dialogs on Windows: the system's message boxes, the common file
// open and save dialogs (Explorer style) and the port settings dialog. Each runs a
// modal message loop, so timers and the serial poll go on meanwhile.
#pragma once

#include <windows.h>
// ui::Dialogs::MessageBox is a member of the core's interface, not the ANSI/wide macro.
#undef MessageBox

#include <optional>
#include <string>

#include "ui/dialogs.h"

namespace win32gui {

class Win32Dialogs : public ui::Dialogs {
 public:
  // Dialogs open over this window, modal to it, once it exists.
  void SetOwner(HWND owner) { m_owner = owner; }
  HWND Owner() const { return m_owner; }

  ui::DialogResult MessageBox(const std::string& text, const std::string& title,
                              ui::DialogIcon icon, ui::DialogButtons buttons) override;
  ui::DialogResult MessageDlg(const std::string& text, ui::DialogIcon type,
                              ui::DialogButtons buttons) override;
  std::optional<std::string> OpenFile(const ui::FileDialogRequest& request) override;
  std::optional<std::string> SaveFile(const ui::FileDialogRequest& request) override;
  std::optional<ui::SettingsValues> Settings(const ui::SettingsRequest& request) override;
  std::optional<std::size_t> PopupMenu(const std::vector<ui::MenuItem>& items,
                                       ui::Point where) override;
  std::optional<ui::TableState> Table(const ui::TableRequest& request) override;
  std::optional<ui::PreferencesValues> Preferences(const ui::PreferencesValues& values) override;

 private:
  std::optional<std::string> FileDialog(const ui::FileDialogRequest& request, bool save);

  HWND m_owner = nullptr;
};

// "Map files|*.IJJ|All Files|*.*" in the form the common dialogs take: each
// description and its patterns ended by a NUL, the list ended by a second NUL. A
// description without its pattern is dropped; several patterns "*.a;*.b" are kept.
std::wstring FileDialogFilter(const std::string& filter);

// The title a message dialog of that type carries.
std::string MessageDlgTitle(ui::DialogIcon type);

// The MessageBoxW style of a box with that icon and those buttons.
UINT MessageBoxStyle(ui::DialogIcon icon, ui::DialogButtons buttons);

}  // namespace win32gui
