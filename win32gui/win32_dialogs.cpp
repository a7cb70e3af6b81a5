#include "win32gui/win32_dialogs.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "win32gui/control_painting.h"
#include "win32gui/text.h"
#include "win32gui/win32_preferences_dialog.h"
#include "win32gui/win32_settings_dialog.h"
#include "win32gui/win32_table_dialog.h"

namespace win32gui {

namespace {

// Room for a long path (the \\?\ limit) in the file dialogs' name buffer.
constexpr std::size_t kPathBuffer = 32768;

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Captions the "OK" button of the message box being activated "Close".
LRESULT CALLBACK CaptionOkAsClose(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE) {
    const auto window = reinterpret_cast<HWND>(wparam);
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (wcscmp(name, L"#32770") == 0) SetDlgItemTextW(window, IDOK, L"&Close");
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

std::wstring WindowsPath(const std::string& path) {
  std::wstring wide = Wide(path);
  std::replace(wide.begin(), wide.end(), L'/', L'\\');
  return wide;
}

}  // namespace

std::wstring FileDialogFilter(const std::string& filter) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t bar = filter.find('|', start);
    fields.push_back(filter.substr(start, bar == std::string::npos ? bar : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  std::wstring result;
  for (std::size_t i = 0; i + 1 < fields.size(); i += 2) {
    const std::string patterns = Trimmed(fields[i + 1]);
    if (patterns.empty()) continue;
    result += Wide(fields[i]);
    result += L'\0';
    result += Wide(patterns);
    result += L'\0';
  }
  if (!result.empty()) result += L'\0';
  return result;
}

UINT MessageBoxStyle(ui::DialogIcon icon, ui::DialogButtons buttons) {
  UINT style = buttons == ui::DialogButtons::Ok ? MB_OK : MB_OKCANCEL;
  switch (icon) {
    case ui::DialogIcon::Error:
      style |= MB_ICONERROR;
      break;
    case ui::DialogIcon::Warning:
      style |= MB_ICONWARNING;
      break;
    case ui::DialogIcon::Question:
      style |= MB_ICONQUESTION;
      break;
    case ui::DialogIcon::Information:
      style |= MB_ICONINFORMATION;
      break;
    case ui::DialogIcon::None:
      break;
  }
  // "Ok" is the default button, as the core expects of every box.
  return style | MB_DEFBUTTON1;
}

ui::DialogResult Win32Dialogs::MessageBox(const std::string& text, const std::string& title,
                                          ui::DialogIcon icon, ui::DialogButtons buttons) {
  // Before the window exists (a port error at start-up) the box holds up the whole
  // thread rather than floating free of it.
  const UINT modality = m_owner == nullptr ? MB_TASKMODAL : MB_APPLMODAL;
  // The system's box has no "Close" button: its "OK" is captioned so as it opens.
  HHOOK caption_hook = nullptr;
  if (buttons == ui::DialogButtons::CloseCancel) {
    caption_hook = SetWindowsHookExW(WH_CBT, &CaptionOkAsClose, nullptr, GetCurrentThreadId());
  }
  const int answer = MessageBoxW(m_owner, Wide(text).c_str(), Wide(title).c_str(),
                                 MessageBoxStyle(icon, buttons) | modality);
  if (caption_hook != nullptr) UnhookWindowsHookEx(caption_hook);
  return answer == IDOK ? ui::DialogResult::Ok : ui::DialogResult::Cancel;
}

ui::DialogResult Win32Dialogs::MessageDlg(const std::string& text, ui::DialogIcon type,
                                          ui::DialogButtons buttons) {
  return MessageBox(text, ui::MessageDlgTitle(type), type, buttons);
}

std::optional<ui::SettingsValues> Win32Dialogs::Settings(const ui::SettingsRequest& request) {
  Win32SettingsDialog dialog(request);
  // The "Error" boxes of a refused "Ok" open over the dialog, not behind it.
  const HWND owner = m_owner;
  dialog.OnOpen = [this](HWND window) { m_owner = window; };
  const std::optional<ui::SettingsValues> values = dialog.Run(owner);
  m_owner = owner;
  return values;
}

std::optional<std::string> Win32Dialogs::FileDialog(const ui::FileDialogRequest& request,
                                                    bool save) {
  const std::wstring filter = FileDialogFilter(request.filter);
  const std::wstring title = Wide(request.title);
  const std::wstring extension = Wide(request.default_extension);
  const std::wstring directory = WindowsPath(request.initial_dir);
  std::vector<wchar_t> name(kPathBuffer, L'\0');
  const std::wstring last = WindowsPath(request.file_name);
  std::copy_n(last.begin(), std::min(last.size(), name.size() - 1), name.begin());

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = m_owner;
  dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = name.data();
  dialog.nMaxFile = static_cast<DWORD>(name.size());
  dialog.lpstrInitialDir = directory.empty() ? nullptr : directory.c_str();
  dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  // Plain dialogs: no overwrite prompt and no check that the file or its folder
  // exists; the commands report what the file system says. The process's current
  // folder, where "Advance.ini" lives, stays where it was.
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
  if (!chosen || name[0] == L'\0') return std::nullopt;
  return Narrow(name.data());
}

std::optional<std::string> Win32Dialogs::OpenFile(const ui::FileDialogRequest& request) {
  return FileDialog(request, false);
}

std::optional<std::string> Win32Dialogs::SaveFile(const ui::FileDialogRequest& request) {
  return FileDialog(request, true);
}

}  // namespace win32gui

namespace win32gui {

std::optional<std::size_t> Win32Dialogs::PopupMenu(const std::vector<ui::MenuItem>& items,
                                                   ui::Point where) {
  HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return std::nullopt;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const ui::MenuItem& item = items[i];
    // Item identifiers start at 1: TrackPopupMenu answers 0 when nothing was chosen.
    const auto id = static_cast<UINT_PTR>(i + 1);
    if (item.caption.empty()) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::string text = item.caption;
    if (!item.shortcut.empty()) text += "\t" + item.shortcut;
    UINT flags = MF_STRING;
    if (!item.enabled) flags |= MF_GRAYED;
    if (item.checked) flags |= MF_CHECKED;
    AppendMenuW(menu, flags, id, Wide(text).c_str());
  }
  const int dpi = m_owner != nullptr ? static_cast<int>(GetDpiForWindow(m_owner)) : 96;
  POINT at{Scale(where.x, dpi > 0 ? dpi : 96), Scale(where.y, dpi > 0 ? dpi : 96)};
  if (m_owner != nullptr) ClientToScreen(m_owner, &at);
  const BOOL chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x,
                                     at.y, 0, m_owner, nullptr);
  DestroyMenu(menu);
  if (chosen <= 0 || static_cast<std::size_t>(chosen) > items.size()) return std::nullopt;
  return static_cast<std::size_t>(chosen) - 1;
}

std::optional<ui::TableState> Win32Dialogs::Table(const ui::TableRequest& request) {
  Win32TableDialog dialog(request);
  return dialog.Run(m_owner);
}

std::optional<ui::PreferencesValues> Win32Dialogs::Preferences(
    const ui::PreferencesValues& values) {
  Win32PreferencesDialog dialog(values);
  return dialog.Run(m_owner);
}

}  // namespace win32gui
