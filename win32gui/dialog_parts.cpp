#include "win32gui/dialog_parts.h"

#include "win32gui/text.h"

namespace win32gui {

namespace {

void PushDword(std::vector<WORD>& words, DWORD value) {
  words.push_back(LOWORD(value));
  words.push_back(HIWORD(value));
}

void PushText(std::vector<WORD>& words, const std::wstring& text) {
  for (const wchar_t c : text) words.push_back(static_cast<WORD>(c));
  words.push_back(0);
}

}  // namespace

std::vector<WORD> EmptyDialogTemplate(DWORD style, const std::wstring& title) {
  std::vector<WORD> words;
  PushDword(words, style);
  PushDword(words, 0);                             // extended style
  words.push_back(0);                              // no controls
  for (int i = 0; i < 4; ++i) words.push_back(0);  // placed and sized at WM_INITDIALOG
  words.push_back(0);                              // no menu
  words.push_back(0);                              // the system's dialog class
  PushText(words, title);
  words.push_back(8);  // points
  PushText(words, L"MS Shell Dlg");
  return words;
}

INT_PTR RunDialog(HWND owner, DWORD style, const std::wstring& title, DLGPROC proc, void* self) {
  const std::vector<WORD> dialog = EmptyDialogTemplate(style, title);
  return DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                                 reinterpret_cast<const DLGTEMPLATE*>(dialog.data()), owner, proc,
                                 reinterpret_cast<LPARAM>(self));
}

DialogScale::DialogScale(HWND window) {
  const UINT dpi = GetDpiForWindow(window);
  m_dpi = dpi == 0 ? 96 : static_cast<int>(dpi);
}

void SizeClientArea(HWND dialog, DWORD style, const DialogScale& px, int width, int height) {
  RECT frame{0, 0, px(width), px(height)};
  AdjustWindowRectExForDpi(&frame, style, FALSE, WS_EX_DLGMODALFRAME, static_cast<UINT>(px.Dpi()));
  SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CentreOverOwner(HWND dialog) {
  HWND owner = GetWindow(dialog, GW_OWNER);
  RECT area{};
  if (owner == nullptr || !GetWindowRect(owner, &area)) {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  }
  RECT self{};
  GetWindowRect(dialog, &self);
  SetWindowPos(dialog, nullptr, area.left + (area.right - area.left - (self.right - self.left)) / 2,
               area.top + (area.bottom - area.top - (self.bottom - self.top)) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND AddChild(HWND dialog, const wchar_t* type, const std::wstring& text, DWORD style, int id) {
  HWND control = CreateWindowExW(0, type, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                                 dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
  const auto font = SendMessageW(dialog, WM_GETFONT, 0, 0);
  SendMessageW(control, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
  return control;
}

void SetText(HWND window, const std::string& text) {
  SetWindowTextW(window, Wide(text).c_str());
}

std::string Text(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

}  // namespace win32gui
