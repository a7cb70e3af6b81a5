// Guards the Windows table and preferences dialogs as a user meets them: the rows and
// columns the core asked for, action buttons that hand the selection and the value box
// to the core and show what it changed, a refused "OK" that keeps the dialog open with
// the core's note, long captions and column titles shown whole, and the preferences'
// switches and folder handed back on "OK" only.
#include <gtest/gtest.h>

#include <windows.h>
// The common controls' header after windows.h.
#include <commctrl.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "win32gui/win32_preferences_dialog.h"
#include "win32gui/win32_table_dialog.h"

namespace {

using namespace win32gui;

// Steps run one per timer tick while a modal dialog of this thread is open.
std::vector<std::function<void(HWND)>> g_steps;

void CALLBACK RunStep(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = GetActiveWindow();
  if (dialog == nullptr || g_steps.empty()) return;
  const auto step = g_steps.front();
  g_steps.erase(g_steps.begin());
  step(dialog);
  if (g_steps.empty()) KillTimer(nullptr, timer);
}

void WhileOpen(std::vector<std::function<void(HWND)>> steps) {
  g_steps = std::move(steps);
  SetTimer(nullptr, 0, 50, &RunStep);
}

std::string Text(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  std::string narrow;
  for (const wchar_t* c = text; *c != 0; ++c) narrow += static_cast<char>(*c);
  return narrow;
}

std::string Cell(HWND dialog, int row, int column) {
  wchar_t text[64] = {};
  ListView_GetItemText(GetDlgItem(dialog, kTableListId), row, column, text, 64);
  std::string narrow;
  for (const wchar_t* c = text; *c != 0; ++c) narrow += static_cast<char>(*c);
  return narrow;
}

void Click(HWND dialog, int id) {
  SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// The width of a control's text in its own font.
int TextWidth(HWND control) {
  wchar_t text[256] = {};
  const int length = GetWindowTextW(control, text, 256);
  HDC dc = GetDC(control);
  const HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, text, length, &size);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return static_cast<int>(size.cx);
}

TEST(Win32TableDialog, ActionsWorkOnTheSelectionAndOkHandsBackWhatTheTableShows) {
  ui::TableRequest request;
  request.title = "Edit points";
  request.state.columns = {"Point", "Advance"};
  request.state.rows = {{"1", "10"}, {"2", "12"}, {"3", "14"}};
  request.editable = {false, true};
  request.value_label = "Degrees";
  request.actions = {"Add"};
  request.act = [](std::size_t, ui::TableState& state) {
    for (int r = state.first_row; r >= 0 && r <= state.last_row; ++r) {
      auto& cell = state.rows[static_cast<std::size_t>(r)][1];
      cell = std::to_string(std::stoi(cell) + std::stoi(state.value));
    }
    state.note = "added";
  };
  int refusals = 0;
  request.ok = [&refusals](ui::TableState& state) {
    if (refusals++ > 0) return true;
    state.note = "point 3 is too far";
    return false;
  };

  std::string title, note_after_action, note_after_refusal;
  WhileOpen({
      [&](HWND dialog) {
        title = Text(dialog);
        HWND list = GetDlgItem(dialog, kTableListId);
        ListView_SetItemState(list, 1, LVIS_SELECTED, LVIS_SELECTED);
        ListView_SetItemState(list, 2, LVIS_SELECTED, LVIS_SELECTED);
        SetWindowTextW(GetDlgItem(dialog, kTableValueId), L"3");
        Click(dialog, kTableFirstActionId);
        note_after_action = Text(GetDlgItem(dialog, kTableNoteId));
      },
      [&](HWND dialog) {
        Click(dialog, IDOK);
        note_after_refusal = Text(GetDlgItem(dialog, kTableNoteId));
        EXPECT_EQ(Cell(dialog, 2, 1), "17");
      },
      [&](HWND dialog) { Click(dialog, IDOK); },
  });
  const auto state = Win32TableDialog(request).Run(nullptr);
  EXPECT_EQ(title, "Edit points");
  EXPECT_EQ(note_after_action, "added");
  EXPECT_EQ(note_after_refusal, "point 3 is too far");
  ASSERT_TRUE(state);
  EXPECT_EQ(state->rows,
            (std::vector<std::vector<std::string>>{{"1", "10"}, {"2", "15"}, {"3", "17"}}));
  EXPECT_EQ(state->first_row, 1);
  EXPECT_EQ(state->last_row, 2);
  EXPECT_EQ(state->value, "3");
}

TEST(Win32TableDialog, CloseOnlyViewerAndCancelHandBackNothing) {
  ui::TableRequest request;
  request.title = "Differences";
  request.state.columns = {"Point"};
  request.state.rows = {{"1"}};
  request.ok_caption.clear();
  bool has_ok = true;
  WhileOpen({[&](HWND dialog) {
    has_ok = GetDlgItem(dialog, IDOK) != nullptr;
    Click(dialog, IDCANCEL);
  }});
  EXPECT_FALSE(Win32TableDialog(request).Run(nullptr));
  EXPECT_FALSE(has_ok);

  request.ok_caption = "Open";
  WhileOpen({[&](HWND dialog) { Click(dialog, IDCANCEL); }});
  EXPECT_FALSE(Win32TableDialog(request).Run(nullptr));
}

// The table's side buttons and column titles are shown whole, however long.
TEST(Win32TableDialog, ShowsLongCaptionsAndColumnTitlesWhole) {
  ui::TableRequest request;
  request.title = "Differences";
  request.state.columns = {"Curve", "Pt", "Controller"};
  request.state.rows = {{"Advance 2", "5", "4"}};
  request.actions = {"Compare with a map file of another controller..."};
  request.ok_caption.clear();
  int button_width = 0, caption_width = 0;
  std::vector<std::pair<int, int>> columns;  // width and title width
  WhileOpen({[&](HWND dialog) {
    HWND button = GetDlgItem(dialog, kTableFirstActionId);
    RECT rect{};
    GetClientRect(button, &rect);
    button_width = rect.right;
    caption_width = TextWidth(button);
    HWND list = GetDlgItem(dialog, kTableListId);
    for (int c = 0; c < 3; ++c) {
      const std::string& title = request.state.columns[static_cast<std::size_t>(c)];
      const std::wstring wide(title.begin(), title.end());
      columns.emplace_back(ListView_GetColumnWidth(list, c),
                           ListView_GetStringWidth(list, wide.c_str()));
    }
    Click(dialog, IDCANCEL);
  }});
  EXPECT_FALSE(Win32TableDialog(request).Run(nullptr));
  EXPECT_GT(button_width, caption_width);
  ASSERT_EQ(columns.size(), 3u);
  // A header draws its title 6 pixels in from each side of the column, or cuts it.
  for (const auto& [width, title] : columns) EXPECT_GE(width, title + 12);
}

TEST(Win32PreferencesDialog, HandsBackTheSwitchesAndFolderOnOkOnly) {
  ui::PreferencesValues values;
  values.backup_folder = "C:\\Backups";
  bool folder_enabled_after_switching_off = true;
  WhileOpen({[&](HWND dialog) {
    Click(dialog, kPreferencesAskId);
    Click(dialog, kPreferencesBackupsId);
    folder_enabled_after_switching_off = IsWindowEnabled(GetDlgItem(dialog, kPreferencesFolderId));
    SetWindowTextW(GetDlgItem(dialog, kPreferencesFolderId), L"D:\\Kept");
    Click(dialog, IDOK);
  }});
  const auto chosen = Win32PreferencesDialog(values).Run(nullptr);
  ASSERT_TRUE(chosen);
  EXPECT_FALSE(chosen->ask_before_closing);
  EXPECT_FALSE(chosen->confirm_writes);
  EXPECT_FALSE(chosen->backups);
  EXPECT_EQ(chosen->backup_folder, "D:\\Kept");
  EXPECT_FALSE(folder_enabled_after_switching_off);

  WhileOpen({[&](HWND dialog) {
    Click(dialog, kPreferencesConfirmId);
    Click(dialog, IDCANCEL);
  }});
  EXPECT_FALSE(Win32PreferencesDialog(values).Run(nullptr));
}

}  // namespace
