#include "win32gui/win32_preferences_dialog.h"

#include <shlobj.h>

#include "win32gui/dialog_parts.h"
#include "win32gui/text.h"

namespace win32gui {

namespace {

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SHELLFONT;
constexpr int kWidth = 420;
constexpr int kHeight = 190;
constexpr int kMargin = 10;
constexpr int kRow = 24;

bool Checked(HWND box) {
  return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Check(HWND box, bool checked) {
  SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace

std::optional<ui::PreferencesValues> Win32PreferencesDialog::Run(HWND owner) {
  if (RunDialog(owner, kDialogStyle, L"Preferences", &Win32PreferencesDialog::Proc, this) != IDOK) {
    return std::nullopt;
  }
  return m_values;
}

INT_PTR CALLBACK Win32PreferencesDialog::Proc(HWND window, UINT message, WPARAM wparam,
                                              LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<Win32PreferencesDialog*>(lparam);
    SetWindowLongPtrW(window, DWLP_USER, lparam);
    self->m_window = window;
    self->Build();
    return TRUE;
  }
  auto* self = reinterpret_cast<Win32PreferencesDialog*>(GetWindowLongPtrW(window, DWLP_USER));
  if (self == nullptr || message != WM_COMMAND) return FALSE;
  switch (LOWORD(wparam)) {
    case IDOK:
      self->m_values.ask_before_closing = Checked(self->Item(kPreferencesAskId));
      self->m_values.confirm_writes = Checked(self->Item(kPreferencesConfirmId));
      self->m_values.backups = Checked(self->Item(kPreferencesBackupsId));
      self->m_values.backup_folder = Text(self->Item(kPreferencesFolderId));
      EndDialog(window, IDOK);
      return TRUE;
    case IDCANCEL:
      EndDialog(window, IDCANCEL);
      return TRUE;
    case kPreferencesBackupsId:
      self->EnableFolder();
      return TRUE;
    case kPreferencesBrowseId:
      self->Browse();
      return TRUE;
    default:
      return FALSE;
  }
}

void Win32PreferencesDialog::Build() {
  const DialogScale px(m_window);
  SizeClientArea(m_window, kDialogStyle, px, kWidth, kHeight);
  const int width = px(kWidth - 2 * kMargin);
  const auto place = [&](HWND control, int x, int y, int w, int h) {
    MoveWindow(control, px(kMargin) + x, px(kMargin) + y, w, h, FALSE);
  };
  const struct {
    int id;
    const wchar_t* caption;
    bool checked;
  } boxes[] = {
      {kPreferencesAskId, L"&Ask before closing with curves the controller does not hold",
       m_values.ask_before_closing},
      {kPreferencesConfirmId, L"&Confirm Send and REC EEPR with the points that differ",
       m_values.confirm_writes},
      {kPreferencesBackupsId, L"&Back up the controller's curves", m_values.backups},
  };
  int y = 0;
  for (const auto& box : boxes) {
    HWND control = AddChild(m_window, L"BUTTON", box.caption, WS_TABSTOP | BS_AUTOCHECKBOX, box.id);
    Check(control, box.checked);
    place(control, 0, y, width, px(20));
    y += px(kRow);
  }
  place(AddChild(m_window, L"STATIC", L"Backup &folder:", SS_LEFT, kPreferencesFolderLabelId), 0,
        y + px(4), width, px(16));
  y += px(22);
  HWND folder = AddChild(m_window, L"EDIT", Wide(m_values.backup_folder),
                         WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, kPreferencesFolderId);
  place(folder, 0, y, width - px(90), px(22));
  place(AddChild(m_window, L"BUTTON", L"B&rowse...", WS_TABSTOP | BS_PUSHBUTTON,
                 kPreferencesBrowseId),
        width - px(82), y - px(1), px(82), px(24));
  const int buttons_top = px(kHeight - 2 * kMargin - 25);
  place(AddChild(m_window, L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK), width - px(168),
        buttons_top, px(80), px(25));
  place(AddChild(m_window, L"BUTTON", L"Cancel", WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL),
        width - px(80), buttons_top, px(80), px(25));
  EnableFolder();
  CentreOverOwner(m_window);
}

void Win32PreferencesDialog::EnableFolder() {
  const bool backups = Checked(Item(kPreferencesBackupsId));
  EnableWindow(Item(kPreferencesFolderId), backups);
  EnableWindow(Item(kPreferencesBrowseId), backups);
}

void Win32PreferencesDialog::Browse() {
  BROWSEINFOW browse{};
  browse.hwndOwner = m_window;
  browse.lpszTitle = L"Backup folder";
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&browse);
  if (chosen == nullptr) return;
  wchar_t path[MAX_PATH] = {};
  if (SHGetPathFromIDListW(chosen, path)) SetWindowTextW(Item(kPreferencesFolderId), path);
  ILFree(chosen);
}

}  // namespace win32gui
