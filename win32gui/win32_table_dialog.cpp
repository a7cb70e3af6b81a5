#include "win32gui/win32_table_dialog.h"

#include <commctrl.h>

#include <algorithm>

#include "win32gui/dialog_parts.h"
#include "win32gui/text.h"

namespace win32gui {

namespace {

constexpr DWORD kDialogStyle =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME | DS_SHELLFONT;
constexpr int kWidth = 560;
constexpr int kHeight = 460;
constexpr int kMargin = 8;
constexpr int kButtonWidth = 110;
constexpr int kButtonHeight = 25;
constexpr int kTextHeight = 30;
constexpr int kNoteHeight = 30;
// Room around a caption inside a button and around a column title in the header.
constexpr int kCaptionPadding = 16;

std::string CellText(HWND list, int row, int column) {
  wchar_t buffer[512] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = static_cast<int>(std::size(buffer));
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return Narrow(buffer);
}

void SetCellText(HWND list, int row, int column, const std::string& text) {
  std::wstring wide = Wide(text);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = wide.data();
  SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// The width of `text` in the font of `control`, in device pixels.
int TextWidth(HWND control, const std::wstring& text) {
  HDC dc = GetDC(control);
  const HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return static_cast<int>(size.cx);
}

}  // namespace

std::optional<ui::TableState> Win32TableDialog::Run(HWND owner) {
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&classes);
  m_result.reset();
  const INT_PTR answer =
      RunDialog(owner, kDialogStyle, Wide(m_request.title), &Win32TableDialog::Proc, this);
  m_window = nullptr;
  if (answer != IDOK) return std::nullopt;
  return m_result;
}

INT_PTR CALLBACK Win32TableDialog::Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<Win32TableDialog*>(lparam);
    SetWindowLongPtrW(window, DWLP_USER, lparam);
    self->m_window = window;
    self->Build();
    self->Show(self->m_request.state);
    SetFocus(self->Item(kTableListId));
    return FALSE;
  }
  auto* self = reinterpret_cast<Win32TableDialog*>(GetWindowLongPtrW(window, DWLP_USER));
  return self == nullptr ? FALSE : self->Handle(message, wparam, lparam);
}

INT_PTR Win32TableDialog::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE:
      Layout();
      return TRUE;
    case WM_GETMINMAXINFO: {
      const DialogScale px(m_window);
      auto* limits = reinterpret_cast<MINMAXINFO*>(lparam);
      limits->ptMinTrackSize = {px(kWidth * 2 / 3), px(kHeight / 2)};
      return TRUE;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      if (id == IDOK) {
        // Enter in the cell edit box keeps its text; it does not close the dialog.
        if (m_edit_row >= 0) {
          EndEdit(true);
        } else {
          Ok();
        }
        return TRUE;
      }
      if (id == IDCANCEL) {
        if (m_edit_row >= 0) {
          EndEdit(false);
        } else {
          EndDialog(m_window, IDCANCEL);
        }
        return TRUE;
      }
      if (id == kTableCellEditId && HIWORD(wparam) == EN_KILLFOCUS) {
        EndEdit(true);
        return TRUE;
      }
      if (id >= kTableFirstActionId &&
          id < kTableFirstActionId + static_cast<int>(m_request.actions.size())) {
        EndEdit(true);
        Act(static_cast<std::size_t>(id - kTableFirstActionId));
        return TRUE;
      }
      return FALSE;
    }
    case WM_NOTIFY: {
      const auto* note = reinterpret_cast<const NMHDR*>(lparam);
      if (note->idFrom != kTableListId) return FALSE;
      if (note->code == NM_DBLCLK) {
        const auto* hit = reinterpret_cast<const NMITEMACTIVATE*>(lparam);
        if (hit->iItem >= 0 && Editable(hit->iSubItem)) {
          BeginEdit(hit->iItem, hit->iSubItem);
        } else if (hit->iItem >= 0 &&
                   std::none_of(m_request.editable.begin(), m_request.editable.end(),
                                [](bool editable) { return editable; })) {
          Ok();
        }
        return TRUE;
      }
      if (note->code == LVN_BEGINSCROLL) EndEdit(true);
      return FALSE;
    }
    default:
      return FALSE;
  }
}

void Win32TableDialog::Build() {
  const DialogScale px(m_window);
  SizeClientArea(m_window, kDialogStyle, px, kWidth, kHeight);

  AddChild(m_window, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, kTableTextId);
  HWND list = AddChild(m_window, WC_LISTVIEWW, L"",
                       WS_BORDER | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT | LVS_SHOWSELALWAYS,
                       kTableListId);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  if (!m_request.value_label.empty()) {
    AddChild(m_window, L"STATIC", Wide(m_request.value_label), SS_LEFT, kTableValueLabelId);
    AddChild(m_window, L"EDIT", L"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, kTableValueId);
  }
  for (std::size_t i = 0; i < m_request.actions.size(); ++i) {
    AddChild(m_window, L"BUTTON", Wide(m_request.actions[i]), WS_TABSTOP | BS_PUSHBUTTON,
             kTableFirstActionId + static_cast<int>(i));
  }
  AddChild(m_window, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, kTableNoteId);
  if (m_request.ok_caption.empty()) {
    AddChild(m_window, L"BUTTON", L"Close", WS_TABSTOP | BS_DEFPUSHBUTTON, IDCANCEL);
  } else {
    AddChild(m_window, L"BUTTON", Wide(m_request.ok_caption), WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK);
    AddChild(m_window, L"BUTTON", L"Cancel", WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL);
  }
  HWND edit = AddChild(m_window, L"EDIT", L"", WS_BORDER | ES_AUTOHSCROLL, kTableCellEditId);
  ShowWindow(edit, SW_HIDE);

  CentreOverOwner(m_window);
  Layout();
}

void Win32TableDialog::Layout() {
  if (Item(kTableListId) == nullptr) return;
  const DialogScale px(m_window);
  RECT client{};
  GetClientRect(m_window, &client);
  const int margin = px(kMargin);
  // The side column as wide as its longest caption ("Compare with map file...").
  int button_width = px(kButtonWidth);
  for (std::size_t i = 0; i < m_request.actions.size(); ++i) {
    const HWND button = Item(kTableFirstActionId + static_cast<int>(i));
    button_width =
        std::max(button_width, TextWidth(button, Wide(m_request.actions[i])) + px(kCaptionPadding));
  }
  const int button_height = px(kButtonHeight);
  const bool side = !m_request.actions.empty() || !m_request.value_label.empty();
  const bool text = GetWindowTextLengthW(Item(kTableTextId)) > 0;

  int top = margin;
  MoveWindow(Item(kTableTextId), margin, top, client.right - 2 * margin, px(kTextHeight), TRUE);
  if (text) top += px(kTextHeight) + margin;
  const int bottom_buttons = client.bottom - margin - button_height;
  const int note_top = bottom_buttons - margin - px(kNoteHeight);
  const int list_right = client.right - margin - (side ? button_width + margin : 0);
  MoveWindow(Item(kTableListId), margin, top, list_right - margin, note_top - margin - top, TRUE);
  MoveWindow(Item(kTableNoteId), margin, note_top, client.right - 2 * margin, px(kNoteHeight),
             TRUE);

  int side_top = top;
  const int side_left = client.right - margin - button_width;
  if (!m_request.value_label.empty()) {
    MoveWindow(Item(kTableValueLabelId), side_left, side_top, button_width, px(16), TRUE);
    side_top += px(18);
    MoveWindow(Item(kTableValueId), side_left, side_top, button_width, px(22), TRUE);
    side_top += px(22) + margin;
  }
  for (std::size_t i = 0; i < m_request.actions.size(); ++i) {
    MoveWindow(Item(kTableFirstActionId + static_cast<int>(i)), side_left, side_top, button_width,
               button_height, TRUE);
    side_top += button_height + px(4);
  }
  int right = client.right - margin;
  for (const int id : {IDCANCEL, IDOK}) {
    if (Item(id) == nullptr) continue;
    MoveWindow(Item(id), right - px(80), bottom_buttons, px(80), button_height, TRUE);
    right -= px(80) + margin;
  }
}

void Win32TableDialog::Show(const ui::TableState& state) {
  SetText(Item(kTableTextId), state.text);
  SetText(Item(kTableNoteId), state.note);
  if (Item(kTableValueId) != nullptr) SetText(Item(kTableValueId), state.value);

  HWND list = Item(kTableListId);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  const HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  for (int c = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) - 1; c >= 0; --c) {
    SendMessageW(list, LVM_DELETECOLUMN, static_cast<WPARAM>(c), 0);
  }
  for (std::size_t c = 0; c < state.columns.size(); ++c) {
    std::wstring title = Wide(state.columns[c]);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = title.data();
    column.cx = 80;
    SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
  }
  for (std::size_t r = 0; r < state.rows.size(); ++r) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(r);
    std::wstring first = state.rows[r].empty() ? std::wstring() : Wide(state.rows[r][0]);
    item.pszText = first.data();
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    for (std::size_t c = 1; c < state.rows[r].size() && c < state.columns.size(); ++c) {
      SetCellText(list, static_cast<int>(r), static_cast<int>(c), state.rows[r][c]);
    }
  }
  // Wide enough for the cells and the whole title: a title sized by the list view
  // alone can come out cut ("Po...").
  const DialogScale px(m_window);
  for (std::size_t c = 0; c < state.columns.size(); ++c) {
    SendMessageW(list, LVM_SETCOLUMNWIDTH, c, LVSCW_AUTOSIZE_USEHEADER);
    const int title = TextWidth(header, Wide(state.columns[c])) + px(kCaptionPadding);
    if (SendMessageW(list, LVM_GETCOLUMNWIDTH, c, 0) < title) {
      SendMessageW(list, LVM_SETCOLUMNWIDTH, c, title);
    }
  }
  if (state.first_row >= 0) {
    for (int r = state.first_row; r <= state.last_row && r < static_cast<int>(state.rows.size());
         ++r) {
      ListView_SetItemState(list, r, LVIS_SELECTED, LVIS_SELECTED);
    }
    ListView_SetItemState(list, state.first_row, LVIS_FOCUSED, LVIS_FOCUSED);
    SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(state.first_row), FALSE);
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  Layout();
}

ui::TableState Win32TableDialog::State() const {
  ui::TableState state = m_request.state;
  state.text = Text(Item(kTableTextId));
  state.note = Text(Item(kTableNoteId));
  if (Item(kTableValueId) != nullptr) state.value = Text(Item(kTableValueId));
  HWND list = Item(kTableListId);
  const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  state.rows.assign(static_cast<std::size_t>(rows), {});
  for (int r = 0; r < rows; ++r) {
    for (std::size_t c = 0; c < state.columns.size(); ++c) {
      state.rows[static_cast<std::size_t>(r)].push_back(CellText(list, r, static_cast<int>(c)));
    }
  }
  state.first_row = state.last_row = -1;
  for (int r = ListView_GetNextItem(list, -1, LVNI_SELECTED); r >= 0;
       r = ListView_GetNextItem(list, r, LVNI_SELECTED)) {
    if (state.first_row < 0) state.first_row = r;
    state.last_row = r;
  }
  return state;
}

void Win32TableDialog::Act(std::size_t action) {
  if (!m_request.act) return;
  ui::TableState state = State();
  m_request.act(action, state);
  // The columns an action sets are the ones the table is read back with.
  m_request.state.columns = state.columns;
  Show(state);
}

void Win32TableDialog::Ok() {
  if (m_request.ok_caption.empty()) return;
  ui::TableState state = State();
  if (m_request.ok && !m_request.ok(state)) {
    Show(state);
    return;
  }
  m_result = state;
  EndDialog(m_window, IDOK);
}

bool Win32TableDialog::Editable(int column) const {
  return column >= 0 && static_cast<std::size_t>(column) < m_request.editable.size() &&
         m_request.editable[static_cast<std::size_t>(column)];
}

void Win32TableDialog::BeginEdit(int row, int column) {
  HWND list = Item(kTableListId);
  RECT cell{};
  cell.top = column;
  cell.left = LVIR_BOUNDS;
  if (!SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row),
                    reinterpret_cast<LPARAM>(&cell))) {
    return;
  }
  MapWindowPoints(list, m_window, reinterpret_cast<POINT*>(&cell), 2);
  m_edit_row = row;
  m_edit_column = column;
  HWND edit = Item(kTableCellEditId);
  SetText(edit, CellText(list, row, column));
  SetWindowPos(edit, HWND_TOP, cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top,
               SWP_SHOWWINDOW);
  SetFocus(edit);
  SendMessageW(edit, EM_SETSEL, 0, -1);
}

void Win32TableDialog::EndEdit(bool keep) {
  if (m_edit_row < 0) return;
  const int row = m_edit_row;
  const int column = m_edit_column;
  // Cleared first: hiding the box moves the focus, and its EN_KILLFOCUS comes back here.
  m_edit_row = m_edit_column = -1;
  HWND edit = Item(kTableCellEditId);
  if (keep) SetCellText(Item(kTableListId), row, column, Text(edit));
  ShowWindow(edit, SW_HIDE);
  SetFocus(Item(kTableListId));
}

}  // namespace win32gui
