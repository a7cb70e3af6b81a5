// The program's popup menu and table dialogs, answered from outside as a user would: a
// menu item chosen by its access key, a table's rows read, rows selected, the value
// box typed in and a button pressed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace robot {

// Waits up to `limit_ms` for a popup menu of the thread `thread_id`.
HWND WaitForPopupMenu(DWORD thread_id, DWORD limit_ms);
// Presses an item's access key (the letter after '&'), or Escape (27), on the menu.
void PressMenuKey(HWND menu, wchar_t key);
// Waits up to `limit_ms` until the thread shows no popup menu.
bool WaitUntilMenuClosed(DWORD thread_id, DWORD limit_ms);

// A table dialog's rows, each as its cells joined by " | ".
std::vector<std::string> TableRows(HWND dialog);
// Whether the dialog is the program's table dialog.
bool IsTable(HWND dialog);
// Selects rows `first` to `last` (from 0), as a drag over them would.
bool SelectTableRows(HWND dialog, int first, int last);
// Types `text` into the value box.
bool SetTableValue(HWND dialog, const std::string& text);
// Presses the action button with that caption, or "OK" for IDOK.
bool PressTableButton(HWND dialog, const std::string& caption);

}  // namespace robot
