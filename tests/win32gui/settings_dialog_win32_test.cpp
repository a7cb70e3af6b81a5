// Guards the Windows port settings dialog and message boxes as a user meets them: the
// dialog's pages, lists and values, "Ok" handing the values to the core (a refusal
// keeps it open), "Cancel" and Escape giving nothing, and the system's message boxes
// with the core's titles, texts and answers, over the dialog that asked for them.
#include <gtest/gtest.h>

#include <windows.h>
// The common controls' header after windows.h.
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "win32gui/settings_dialog_ids.h"
#include "win32gui/win32_dialogs.h"
#include "win32gui/win32_settings_dialog.h"

namespace {

using namespace win32gui;

ui::SettingsRequest Request() {
  ui::SettingsRequest request;
  for (int n = 1; n <= 16; ++n) request.port_items.push_back("\\\\.\\COM" + std::to_string(n));
  request.baud_rate_items = {"110", "9600", "19200", "115200"};
  request.data_bits_items = {"5", "6", "7", "8"};
  request.parity_items = {"None", "Odd", "Even", "Mark", "Space"};
  request.stop_bits_items = {"1", "1.5", "2"};
  request.hw_flow_items = {"None", "None but RTS on", "RTS/CTS"};
  request.sw_flow_items = {"None", "XON/XOFF"};
  request.dtr_control_items = {"Standard", "Keep off"};
  request.device_check_items = {"Yes", "No"};
  request.values = {"\\\\.\\COM2", "9600", 3, 0, 0, 1, 0, 0, 1};
  return request;
}

std::wstring Text(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

int Selection(HWND dialog, int id) {
  return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0));
}

void Choose(HWND dialog, int id, int index) {
  SendDlgItemMessageW(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Press(HWND dialog, int id) {
  PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// The control's text, in the font it is drawn with, is no wider than its client area.
void ExpectTextFits(HWND dialog, HWND control) {
  const std::wstring text = Text(control);
  HDC dc = GetDC(control);
  const HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  RECT client;
  GetClientRect(control, &client);
  EXPECT_LE(size.cx, client.right) << "\"" << std::string(text.begin(), text.end())
                                   << "\" is cut at " << GetDpiForWindow(dialog) << " DPI";
}

// A key pressed on one of the dialog's closed lists.
void Key(HWND dialog, WPARAM key) {
  PostMessageW(GetDlgItem(dialog, kParityComboBoxId), WM_KEYDOWN, key, 0);
}

// Run again with wine at 120 to 192 DPI (scripts/windows-tests.sh): aware of the
// scale, as the programs are by their manifest, the dialog lays itself out at it.
TEST(Win32SettingsDialog, ShowsTheRequestOnThreePagesAtItsDesignSize) {
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  Win32SettingsDialog dialog(Request());
  bool checked = false;
  dialog.OnOpen = [&checked](HWND window) {
    checked = true;
    EXPECT_EQ(Text(window), L"Settings");
    RECT client;
    GetClientRect(window, &client);
    const double scale = GetDpiForWindow(window) / 96.0;
    EXPECT_NEAR(client.right, 314 * scale, 1.0);
    EXPECT_NEAR(client.bottom, 206 * scale, 1.0);

    HWND pages = GetDlgItem(window, kSettingsPagesId);
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(TabCtrl_GetItemCount(pages), 3);
    const wchar_t* const captions[] = {L"Base Settings", L"Flow Control", L"Device Control"};
    for (int page = 0; page < 3; ++page) {
      wchar_t caption[64] = {};
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = caption;
      item.cchTextMax = 64;
      SendMessageW(pages, TCM_GETITEMW, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&item));
      EXPECT_STREQ(caption, captions[page]);
    }
    EXPECT_EQ(TabCtrl_GetCurSel(pages), 0);
    // The tabs stand whole on one row, and typing goes to "Port name:" at once.
    EXPECT_EQ(TabCtrl_GetRowCount(pages), 1);
    RECT tabs_client;
    GetClientRect(pages, &tabs_client);
    for (int page = 0; page < 3; ++page) {
      RECT tab{};
      TabCtrl_GetItemRect(pages, page, &tab);
      EXPECT_GE(tab.left, 0);
      EXPECT_LE(tab.right, tabs_client.right) << "tab " << page << " is cut";
    }
    HWND port = GetDlgItem(window, kPortComboBoxId);
    EXPECT_TRUE(GetFocus() == port || IsChild(port, GetFocus()));
    // Every label's text fits its room and stops short of its list; the buttons' too.
    for (int id = kPortComboBoxId; id <= kDevCheckComboBoxId; ++id) {
      ExpectTextFits(window, GetDlgItem(window, id + kSettingsLabelOffset));
      RECT label;
      RECT list;
      GetWindowRect(GetDlgItem(window, id + kSettingsLabelOffset), &label);
      GetWindowRect(GetDlgItem(window, id), &list);
      EXPECT_LE(label.right, list.left) << "label " << id;
    }
    ExpectTextFits(window, GetDlgItem(window, kSettingsOkId));
    ExpectTextFits(window, GetDlgItem(window, kSettingsCancelId));

    EXPECT_EQ(Text(GetDlgItem(window, kPortComboBoxId)), L"\\\\.\\COM2");
    EXPECT_EQ(Text(GetDlgItem(window, kBaudRateComboBoxId)), L"9600");
    EXPECT_EQ(SendDlgItemMessageW(window, kPortComboBoxId, CB_GETCOUNT, 0, 0), 16);
    EXPECT_EQ(Selection(window, kDataBitsComboBoxId), 3);
    EXPECT_EQ(Selection(window, kHwFlowComboBoxId), 1);
    EXPECT_EQ(Selection(window, kDevCheckComboBoxId), 1);
    EXPECT_EQ(Text(GetDlgItem(window, kDataBitsComboBoxId + kSettingsLabelOffset)), L"Data bits:");
    EXPECT_EQ(Text(GetDlgItem(window, kSettingsOkId)), L"Ok");
    EXPECT_EQ(Text(GetDlgItem(window, kSettingsCancelId)), L"Cancel");
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(window, kSettingsOkId), GWL_STYLE) & BS_DEFPUSHBUTTON);
    // Only the lists of the page shown can be seen, and reached with Tab.
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(window, kParityComboBoxId), GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(GetWindowLongW(GetDlgItem(window, kSwFlowComboBoxId), GWL_STYLE) & WS_VISIBLE);

    // Choosing the second page shows its lists instead.
    TabCtrl_SetCurSel(pages, 1);
    NMHDR note{pages, static_cast<UINT_PTR>(kSettingsPagesId), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(window, WM_NOTIFY, kSettingsPagesId, reinterpret_cast<LPARAM>(&note));
    EXPECT_FALSE(GetWindowLongW(GetDlgItem(window, kParityComboBoxId), GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(window, kSwFlowComboBoxId), GWL_STYLE) & WS_VISIBLE);
    Press(window, kSettingsCancelId);
  };
  EXPECT_FALSE(dialog.Run(nullptr));
  EXPECT_TRUE(checked);
}

TEST(Win32SettingsDialog, OkHandsTheChosenValuesToTheCoreAndClosesWithThem) {
  ui::SettingsRequest request = Request();
  std::vector<ui::SettingsValues> offered;
  request.ok = [&offered](const ui::SettingsValues& values) {
    offered.push_back(values);
    return true;
  };
  Win32SettingsDialog dialog(request);
  dialog.OnOpen = [](HWND window) {
    SetDlgItemTextW(window, kPortComboBoxId, L" COM7 ");
    SetDlgItemTextW(window, kBaudRateComboBoxId, L"230400");  // typed, not listed
    Choose(window, kDataBitsComboBoxId, 2);
    Choose(window, kParityComboBoxId, 2);
    Choose(window, kStopBitsComboBoxId, 2);
    Choose(window, kHwFlowComboBoxId, 2);
    Choose(window, kSwFlowComboBoxId, 1);
    Choose(window, kDTRControlComboBoxId, 1);
    Choose(window, kDevCheckComboBoxId, 0);
    Press(window, kSettingsOkId);
  };
  const auto values = dialog.Run(nullptr);
  const ui::SettingsValues expected{" COM7 ", "230400", 2, 2, 2, 2, 1, 1, 0};
  ASSERT_TRUE(values);
  EXPECT_EQ(*values, expected);
  ASSERT_EQ(offered.size(), 1u);
  EXPECT_EQ(offered[0], expected);
}

TEST(Win32SettingsDialog, ARefusedOkKeepsTheDialogOpenWithItsValues) {
  ui::SettingsRequest request = Request();
  HWND window = nullptr;
  std::vector<std::string> offered_bauds;
  request.ok = [&](const ui::SettingsValues& values) {
    offered_bauds.push_back(values.baud_rate);
    if (values.baud_rate == "100") {
      // Still there, with what the user typed: correct it and press "Ok" again.
      EXPECT_TRUE(IsWindow(window));
      SetDlgItemTextW(window, kBaudRateComboBoxId, L"19200");
      Press(window, kSettingsOkId);
      return false;
    }
    return true;
  };
  Win32SettingsDialog dialog(request);
  dialog.OnOpen = [&window](HWND opened) {
    window = opened;
    SetDlgItemTextW(opened, kBaudRateComboBoxId, L"100");
    Press(opened, kSettingsOkId);
  };
  const auto values = dialog.Run(nullptr);
  ASSERT_TRUE(values);
  EXPECT_EQ(values->baud_rate, "19200");
  EXPECT_EQ(offered_bauds, (std::vector<std::string>{"100", "19200"}));
}

TEST(Win32SettingsDialog, CancelEscapeAndEnterAnswerAsTheButtonsDo) {
  int offers = 0;
  ui::SettingsRequest request = Request();
  request.ok = [&offers](const ui::SettingsValues&) {
    ++offers;
    return true;
  };
  {
    Win32SettingsDialog dialog(request);
    dialog.OnOpen = [](HWND window) {
      Choose(window, kParityComboBoxId, 1);
      Press(window, kSettingsCancelId);
    };
    EXPECT_FALSE(dialog.Run(nullptr));
  }
  {
    Win32SettingsDialog dialog(request);
    dialog.OnOpen = [](HWND window) { Key(window, VK_ESCAPE); };
    EXPECT_FALSE(dialog.Run(nullptr));
  }
  EXPECT_EQ(offers, 0);
  {
    Win32SettingsDialog dialog(request);
    dialog.OnOpen = [](HWND window) { Key(window, VK_RETURN); };
    EXPECT_TRUE(dialog.Run(nullptr));
    EXPECT_EQ(offers, 1);
  }
}

// Answers the next message box of the thread: its title, text and icon are recorded
// and the button `id` pressed.
struct BoxAnswer {
  int id = IDOK;
  std::wstring title;
  std::wstring text;
  HWND owner = nullptr;
  bool has_cancel = false;
  std::wstring ok_caption;
};
BoxAnswer* g_answer = nullptr;

void CALLBACK AnswerBox(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = GetForegroundWindow();
  wchar_t class_name[16] = {};
  if (box == nullptr || !GetClassNameW(box, class_name, 16) ||
      std::wstring(class_name) != L"#32770" || GetDlgItem(box, 0xFFFF) == nullptr) {
    return;  // not up yet
  }
  KillTimer(nullptr, timer);
  g_answer->title = Text(box);
  g_answer->text = Text(GetDlgItem(box, 0xFFFF));
  g_answer->owner = GetWindow(box, GW_OWNER);
  g_answer->has_cancel = GetDlgItem(box, IDCANCEL) != nullptr;
  g_answer->ok_caption = Text(GetDlgItem(box, IDOK));
  PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(g_answer->id), 0);
}

TEST(Win32Dialogs, MessageBoxesCarryTheCoreTitlesTextsAndAnswers) {
  Win32Dialogs dialogs;
  BoxAnswer answer;
  g_answer = &answer;
  answer.id = IDCANCEL;
  SetTimer(nullptr, 0, 20, AnswerBox);
  EXPECT_EQ(dialogs.MessageDlg("Could not change settings while a connection is active.\r\n"
                               "Close the connection and continue ?",
                               ui::DialogIcon::Question, ui::DialogButtons::OkCancel),
            ui::DialogResult::Cancel);
  EXPECT_EQ(answer.title, L"Confirm");
  EXPECT_EQ(answer.text,
            L"Could not change settings while a connection is active.\r\n"
            L"Close the connection and continue ?");
  EXPECT_TRUE(answer.has_cancel);

  answer = {};
  answer.id = IDOK;
  SetTimer(nullptr, 0, 20, AnswerBox);
  EXPECT_EQ(dialogs.MessageBox("File not found", "Palunor6", ui::DialogIcon::Error,
                               ui::DialogButtons::Ok),
            ui::DialogResult::Ok);
  EXPECT_EQ(answer.title, L"Palunor6");
  EXPECT_EQ(answer.text, L"File not found");
  EXPECT_FALSE(answer.has_cancel);
  EXPECT_EQ(answer.ok_caption, L"OK");

  // The question before closing offers "Close", not "OK"; later boxes "OK" again.
  answer = {};
  answer.id = IDOK;
  SetTimer(nullptr, 0, 20, AnswerBox);
  EXPECT_EQ(dialogs.MessageBox("Close the window and lose them?", "Palunor6",
                               ui::DialogIcon::Warning, ui::DialogButtons::CloseCancel),
            ui::DialogResult::Ok);
  EXPECT_EQ(answer.ok_caption, L"&Close");
  EXPECT_TRUE(answer.has_cancel);
  answer = {};
  SetTimer(nullptr, 0, 20, AnswerBox);
  dialogs.MessageBox("Saved", "Palunor6", ui::DialogIcon::None, ui::DialogButtons::OkCancel);
  EXPECT_EQ(answer.ok_caption, L"OK");
  g_answer = nullptr;
}

TEST(Win32Dialogs, TheErrorOfARefusedOkOpensOverTheSettingsDialog) {
  Win32Dialogs dialogs;
  BoxAnswer answer;
  g_answer = &answer;
  HWND settings = nullptr;
  ui::SettingsRequest request = Request();
  int offers = 0;
  request.ok = [&](const ui::SettingsValues&) {
    if (++offers > 1) return true;
    settings = GetActiveWindow();
    SetTimer(nullptr, 0, 20, AnswerBox);
    dialogs.MessageBox("Please, enter a valid port name.", "Error", ui::DialogIcon::Error,
                       ui::DialogButtons::Ok);
    PostMessageW(settings, WM_COMMAND, IDOK, 0);
    return false;
  };
  SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR timer, DWORD) {
    HWND window = FindWindowW(nullptr, L"Settings");
    if (window == nullptr) return;
    KillTimer(nullptr, timer);
    PostMessageW(window, WM_COMMAND, IDOK, 0);
  });
  EXPECT_TRUE(dialogs.Settings(request));
  EXPECT_EQ(offers, 2);
  EXPECT_EQ(answer.title, L"Error");
  EXPECT_EQ(answer.text, L"Please, enter a valid port name.");
  EXPECT_EQ(answer.owner, settings);
  EXPECT_NE(settings, nullptr);
  EXPECT_EQ(dialogs.Owner(), nullptr);  // the owner of later boxes is back
  g_answer = nullptr;
}

}  // namespace
