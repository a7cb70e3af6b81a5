#include "tests/e2e/win32/modal_windows.h"

#include <dlgs.h>

#include "tests/e2e/win32/program_window.h"
#include "win32gui/settings_dialog_ids.h"
#include "win32gui/text.h"

namespace robot {

namespace {

constexpr DWORD kMessageLimitMs = 5000;
// The static that holds a message box's text.
constexpr int kMessageTextId = 0xFFFF;

BOOL CALLBACK FindDialog(HWND window, LPARAM data) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (wcscmp(name, L"#32770") == 0 && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(data) = window;
    return FALSE;
  }
  return TRUE;
}

// The file-name field of an Explorer-style file dialog: an edit inside the combo box
// cmb13 where the dialog has one, else the edit edt1.
HWND FileNameField(HWND dialog) {
  if (HWND combo = GetDlgItem(dialog, cmb13); combo != nullptr) {
    HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
    return edit != nullptr ? edit : combo;
  }
  return GetDlgItem(dialog, edt1);
}

void Press(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool Sent(HWND window, UINT message, WPARAM wparam, LPARAM lparam, DWORD_PTR* result = nullptr) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(window, message, wparam, lparam, SMTO_NORMAL, kMessageLimitMs,
                             result != nullptr ? result : &ignored) != 0;
}

}  // namespace

Modal CurrentModal(DWORD thread_id) {
  Modal modal;
  EnumThreadWindows(thread_id, FindDialog, reinterpret_cast<LPARAM>(&modal.window));
  if (modal.window == nullptr) return modal;
  modal.title = ProgramWindow::Text(modal.window);
  if (HWND text = GetDlgItem(modal.window, kMessageTextId); text != nullptr) {
    modal.kind = ModalKind::MessageBox;
    modal.text = ProgramWindow::Text(text);
  } else if (GetDlgItem(modal.window, win32gui::kPortComboBoxId) != nullptr) {
    modal.kind = ModalKind::Settings;
  } else if (FileNameField(modal.window) != nullptr) {
    modal.kind = ModalKind::FileDialog;
  } else {
    modal.kind = ModalKind::Other;
  }
  return modal;
}

Modal WaitForModal(DWORD thread_id, ModalKind kind, DWORD limit_ms) {
  Modal modal;
  WaitUntil(
      [&] {
        modal = CurrentModal(thread_id);
        return modal.kind == kind;
      },
      limit_ms);
  return modal;
}

bool PressMessageBoxButton(const Modal& box, const std::string& button) {
  const int id = button == "ok"       ? IDOK
                 : button == "cancel" ? IDCANCEL
                 : button == "yes"    ? IDYES
                 : button == "no"     ? IDNO
                                      : 0;
  if (id == 0 || GetDlgItem(box.window, id) == nullptr) return false;
  Press(box.window, id);
  return true;
}

bool EnterFileName(const Modal& dialog, const std::wstring& path) {
  HWND field = FileNameField(dialog.window);
  if (field == nullptr) return false;
  if (!Sent(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()))) return false;
  Press(dialog.window, IDOK);
  return true;
}

bool ChoosePort(const Modal& dialog, const std::wstring& port) {
  HWND ports = GetDlgItem(dialog.window, win32gui::kPortComboBoxId);
  if (ports == nullptr) return false;
  DWORD_PTR index = static_cast<DWORD_PTR>(CB_ERR);
  Sent(ports, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(port.c_str()),
       &index);
  if (static_cast<LRESULT>(index) != CB_ERR) {
    Sent(ports, CB_SETCURSEL, index, 0);
    Sent(dialog.window, WM_COMMAND, MAKEWPARAM(win32gui::kPortComboBoxId, CBN_SELCHANGE),
         reinterpret_cast<LPARAM>(ports));
  } else {
    Sent(ports, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(port.c_str()));
    Sent(dialog.window, WM_COMMAND, MAKEWPARAM(win32gui::kPortComboBoxId, CBN_EDITCHANGE),
         reinterpret_cast<LPARAM>(ports));
  }
  Press(dialog.window, win32gui::kSettingsOkId);
  return true;
}

bool WaitUntilClosed(const Modal& modal, DWORD limit_ms) {
  return WaitUntil([&] { return !IsWindow(modal.window) || !IsWindowVisible(modal.window); },
                   limit_ms);
}

}  // namespace robot
