// The modal windows a program shows over its main window, answered from outside as a
// user would: the system's message boxes, the common file dialogs (a name typed into
// the file-name field, then Open or Save) and the program's "Settings" dialog.
#pragma once

#include <windows.h>

#include <string>

namespace robot {

enum class ModalKind { None, MessageBox, FileDialog, Settings, Other };

struct Modal {
  ModalKind kind = ModalKind::None;
  HWND window = nullptr;
  std::string title;
  std::string text;  // a message box's message
};

// The modal window that the thread `thread_id` shows now, if any.
Modal CurrentModal(DWORD thread_id);
// Waits up to `limit_ms` for a modal window of that kind.
Modal WaitForModal(DWORD thread_id, ModalKind kind, DWORD limit_ms);

// Presses a message box's button: "ok", "cancel", "yes" or "no"; false if it has none.
bool PressMessageBoxButton(const Modal& box, const std::string& button);
// Types `path` into a file dialog's name field and presses its Open or Save button.
bool EnterFileName(const Modal& dialog, const std::wstring& path);
// Chooses `port` in the settings dialog's port list (typed when the list has no such
// item) and presses "Ok".
bool ChoosePort(const Modal& dialog, const std::wstring& port);
// Waits up to `limit_ms` until the modal window has gone; false if it is still shown.
bool WaitUntilClosed(const Modal& modal, DWORD limit_ms);

}  // namespace robot
