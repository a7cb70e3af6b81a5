#include "win32gui/win32_settings_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "win32gui/dialog_parts.h"
#include "win32gui/settings_dialog_ids.h"
#include "win32gui/text.h"

namespace win32gui {

namespace {

constexpr int kMargin = 8;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
// Inside a page: the margin, and the room between a label and its list.
constexpr int kPageMargin = 6;
constexpr int kLabelGap = 4;
constexpr int kRowPitch = 27;
// A combo box's height includes its drop-down list.
constexpr int kListHeight = 200;

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SHELLFONT;

struct Row {
  int id;
  int page;
  const wchar_t* label;
  std::vector<std::string> ui::SettingsRequest::*items;
  bool editable;
};

// The lists in page order; a page's rows stand one below the other.
const Row kRows[] = {
    {kPortComboBoxId, 0, L"Port name:", &ui::SettingsRequest::port_items, true},
    {kBaudRateComboBoxId, 0, L"Baud rate:", &ui::SettingsRequest::baud_rate_items, true},
    {kDataBitsComboBoxId, 0, L"Data bits:", &ui::SettingsRequest::data_bits_items, false},
    {kParityComboBoxId, 0, L"Parity:", &ui::SettingsRequest::parity_items, false},
    {kStopBitsComboBoxId, 0, L"Stop bits:", &ui::SettingsRequest::stop_bits_items, false},
    {kHwFlowComboBoxId, 1, L"Hardware flow:", &ui::SettingsRequest::hw_flow_items, false},
    {kSwFlowComboBoxId, 1, L"Software flow:", &ui::SettingsRequest::sw_flow_items, false},
    {kDTRControlComboBoxId, 1, L"DTR control:", &ui::SettingsRequest::dtr_control_items, false},
    {kDevCheckComboBoxId, 2, L"Device check:", &ui::SettingsRequest::device_check_items, false},
};

const wchar_t* const kPages[] = {L"Base Settings", L"Flow Control", L"Device Control"};

// The width of the widest label in the dialog's font, in device pixels.
int LabelWidth(HWND dialog, HFONT font) {
  HDC dc = GetDC(dialog);
  const HGDIOBJ old = SelectObject(dc, font);
  int widest = 0;
  for (const Row& row : kRows) {
    SIZE size{};
    GetTextExtentPoint32W(dc, row.label, static_cast<int>(wcslen(row.label)), &size);
    widest = std::max(widest, static_cast<int>(size.cx));
  }
  SelectObject(dc, old);
  ReleaseDC(dialog, dc);
  return widest;
}

// The width a list needs to show its longest item whole when it drops down.
int ItemWidth(HWND list, HFONT font, const std::vector<std::string>& items) {
  HDC dc = GetDC(list);
  const HGDIOBJ old = SelectObject(dc, font);
  int widest = 0;
  for (const std::string& item : items) {
    const std::wstring text = Wide(item);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    widest = std::max(widest, static_cast<int>(size.cx));
  }
  SelectObject(dc, old);
  ReleaseDC(list, dc);
  return widest;
}

// Whether the three tabs stand whole on one row of the tab control; the selected tab
// is drawn two pixels wider on each side.
bool TabsFit(HWND pages) {
  RECT client;
  GetClientRect(pages, &client);
  RECT last{};
  TabCtrl_GetItemRect(pages, TabCtrl_GetItemCount(pages) - 1, &last);
  return TabCtrl_GetRowCount(pages) == 1 && last.right + 2 <= client.right;
}

int Selection(HWND combo) {
  return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
}

}  // namespace

Win32SettingsDialog::Win32SettingsDialog(const ui::SettingsRequest& request) : m_request(request) {}

std::optional<ui::SettingsValues> Win32SettingsDialog::Run(HWND owner) {
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&classes);
  m_owner = owner;
  m_result.reset();
  const INT_PTR answer =
      RunDialog(owner, kDialogStyle, L"Settings", &Win32SettingsDialog::Proc, this);
  m_window = nullptr;
  if (m_tab_font != nullptr) DeleteObject(m_tab_font);
  m_tab_font = nullptr;
  if (answer != IDOK) return std::nullopt;
  return m_result;
}

INT_PTR CALLBACK Win32SettingsDialog::Proc(HWND window, UINT message, WPARAM wparam,
                                           LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<Win32SettingsDialog*>(lparam);
    SetWindowLongPtrW(window, DWLP_USER, lparam);
    self->m_window = window;
    self->Build(window);
    self->Fill();
    self->CentreOnDesktop(self->m_owner);
    // The keyboard starts in "Port name:", so typing goes there at once.
    SetFocus(self->Item(kPortComboBoxId));
    if (self->OnOpen) self->OnOpen(window);
    return FALSE;
  }
  auto* self = reinterpret_cast<Win32SettingsDialog*>(GetWindowLongPtrW(window, DWLP_USER));
  if (self == nullptr) return FALSE;
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wparam) == kSettingsOkId) {
        self->OkButtonClick();
        return TRUE;
      }
      if (LOWORD(wparam) == kSettingsCancelId) {
        EndDialog(window, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    case WM_NOTIFY: {
      const auto* note = reinterpret_cast<const NMHDR*>(lparam);
      if (note->idFrom == kSettingsPagesId && note->code == TCN_SELCHANGE) {
        self->ShowPage(TabCtrl_GetCurSel(note->hwndFrom));
        return TRUE;
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}

void Win32SettingsDialog::Build(HWND window) {
  // The design is in pixels at 96 DPI; the dialog's font is already at the screen's.
  const DialogScale px(window);
  const UINT dpi = static_cast<UINT>(px.Dpi());
  SizeClientArea(window, kDialogStyle, px, kWidth, kHeight);

  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  const auto child = [&](const wchar_t* type, const wchar_t* text, DWORD style, int x, int y, int w,
                         int h, int id) {
    HWND control =
        CreateWindowExW(0, type, text, WS_CHILD | style, x, y, w, h, window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
  };

  // The lists stand on the dialog over the tab control, which clips itself around
  // them; GetDlgItem on the dialog finds every one. Multi-line, so a tab that did not
  // fit would show as a second row rather than hide behind scroll arrows; FitTabs
  // keeps them to one.
  const int pages_width = kWidth - 3 * kMargin - kButtonWidth;
  HWND pages =
      child(WC_TABCONTROLW, L"", WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | TCS_MULTILINE,
            px(kMargin), px(kMargin), px(pages_width), px(kHeight - 2 * kMargin), kSettingsPagesId);
  SendMessageW(pages, TCM_SETPADDING, 0, MAKELPARAM(px(4), px(3)));
  for (int page = 0; page < 3; ++page) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(kPages[page]);
    SendMessageW(pages, TCM_INSERTITEMW, static_cast<WPARAM>(page),
                 reinterpret_cast<LPARAM>(&item));
  }
  FitTabs(pages, font, px(2));
  RECT area;
  GetClientRect(pages, &area);
  TabCtrl_AdjustRect(pages, FALSE, &area);
  MapWindowPoints(pages, window, reinterpret_cast<POINT*>(&area), 2);

  const int label_width = LabelWidth(window, font) + px(kLabelGap);
  int row_on_page = 0;
  int last_page = 0;
  for (const Row& row : kRows) {
    if (row.page != last_page) row_on_page = 0;
    last_page = row.page;
    const DWORD shown = row.page == 0 ? WS_VISIBLE : 0;
    const int top = area.top + px(kPageMargin + kRowPitch * row_on_page++);
    const int left = area.left + px(kPageMargin);
    child(L"STATIC", row.label, shown | SS_LEFT | SS_NOPREFIX, left, top + px(4), label_width,
          px(16), row.id + kSettingsLabelOffset);
    const DWORD kind =
        row.editable ? CBS_DROPDOWN | CBS_AUTOHSCROLL : static_cast<DWORD>(CBS_DROPDOWNLIST);
    const int list_left = left + label_width;
    HWND list = child(WC_COMBOBOXW, L"", shown | kind | WS_VSCROLL | WS_TABSTOP, list_left, top,
                      area.right - px(kPageMargin) - list_left, px(kListHeight), row.id);
    // Room for the item's margins and the list's scroll bar.
    const int dropped = ItemWidth(list, font, m_request.*row.items) + px(8) +
                        GetSystemMetricsForDpi(SM_CXVSCROLL, dpi);
    SendMessageW(list, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(dropped), 0);
  }

  const int buttons_left = px(kWidth - kMargin - kButtonWidth);
  child(L"BUTTON", L"Ok", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, buttons_left,
        px(kMargin + 20), px(kButtonWidth), px(kButtonHeight), kSettingsOkId);
  child(L"BUTTON", L"Cancel", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, buttons_left,
        px(kMargin + 20 + kButtonHeight + kMargin), px(kButtonWidth), px(kButtonHeight),
        kSettingsCancelId);
}

// The dialog's font and padding when the three tabs fit them on one row; else less
// padding, then the dialog's font a pixel smaller at a time until they do.
void Win32SettingsDialog::FitTabs(HWND pages, HFONT font, int min_padding) {
  if (TabsFit(pages)) return;
  SendMessageW(pages, TCM_SETPADDING, 0, MAKELPARAM(min_padding, min_padding));
  SendMessageW(pages, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  LOGFONTW log{};
  GetObjectW(font, sizeof log, &log);
  for (int height = std::abs(log.lfHeight) - 1; !TabsFit(pages) && height > 6; --height) {
    log.lfHeight = -height;
    HFONT smaller = CreateFontIndirectW(&log);
    SendMessageW(pages, WM_SETFONT, reinterpret_cast<WPARAM>(smaller), FALSE);
    if (m_tab_font != nullptr) DeleteObject(m_tab_font);
    m_tab_font = smaller;
  }
}

void Win32SettingsDialog::Fill() {
  for (const Row& row : kRows) {
    HWND list = Item(row.id);
    for (const std::string& item : m_request.*row.items) {
      SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
    }
  }
  const ui::SettingsValues& v = m_request.values;
  SetText(Item(kPortComboBoxId), v.port_name);
  SetText(Item(kBaudRateComboBoxId), v.baud_rate);
  const std::pair<int, int> chosen[] = {
      {kDataBitsComboBoxId, v.data_bits},   {kParityComboBoxId, v.parity},
      {kStopBitsComboBoxId, v.stop_bits},   {kHwFlowComboBoxId, v.hw_flow},
      {kSwFlowComboBoxId, v.sw_flow},       {kDTRControlComboBoxId, v.dtr_control},
      {kDevCheckComboBoxId, v.device_check}};
  for (const auto& [id, index] : chosen) {
    HWND list = Item(id);
    const int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
    SendMessageW(list, CB_SETCURSEL, index >= 0 && index < count ? index : -1, 0);
  }
  TabCtrl_SetCurSel(Item(kSettingsPagesId), 0);
  ShowPage(0);
}

// In the middle of the work area of the screen the owner is on.
void Win32SettingsDialog::CentreOnDesktop(HWND owner) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(owner != nullptr ? owner : m_window, MONITOR_DEFAULTTOPRIMARY),
                  &monitor);
  RECT frame;
  GetWindowRect(m_window, &frame);
  const RECT& work = monitor.rcWork;
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(m_window, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32SettingsDialog::ShowPage(int page) {
  for (const Row& row : kRows) {
    const int show = row.page == page ? SW_SHOW : SW_HIDE;
    ShowWindow(Item(row.id), show);
    ShowWindow(Item(row.id + kSettingsLabelOffset), show);
  }
}

ui::SettingsValues Win32SettingsDialog::Values() const {
  ui::SettingsValues v;
  v.port_name = Text(Item(kPortComboBoxId));
  v.baud_rate = Text(Item(kBaudRateComboBoxId));
  v.data_bits = Selection(Item(kDataBitsComboBoxId));
  v.parity = Selection(Item(kParityComboBoxId));
  v.stop_bits = Selection(Item(kStopBitsComboBoxId));
  v.hw_flow = Selection(Item(kHwFlowComboBoxId));
  v.sw_flow = Selection(Item(kSwFlowComboBoxId));
  v.dtr_control = Selection(Item(kDTRControlComboBoxId));
  v.device_check = Selection(Item(kDevCheckComboBoxId));
  return v;
}

void Win32SettingsDialog::OkButtonClick() {
  // A refused "Ok" has told the user why; the dialog stays open with its values.
  const ui::SettingsValues values = Values();
  if (m_request.ok && !m_request.ok(values)) return;
  m_result = values;
  EndDialog(m_window, IDOK);
}

}  // namespace win32gui
