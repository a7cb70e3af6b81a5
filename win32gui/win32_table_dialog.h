// The table dialog on Windows: the text above, a list view of rows under column
// titles, the value box and the action buttons beside it, a note line, and "OK" and
// "Cancel" (or "Close"); resizable. A double click on an editable cell opens an edit
// box over it (Enter keeps the text, Escape drops it). Every button hands the table's
// state to the core and shows what comes back; the dialog itself decides nothing.
#pragma once

#include <windows.h>

#include <optional>

#include "ui/dialogs.h"

namespace win32gui {

// What GetDlgItem finds on the table dialog; "OK" and "Cancel"/"Close" are IDOK and
// IDCANCEL, so Enter and Escape press them.
constexpr int kTableListId = 100;
constexpr int kTableTextId = 101;
constexpr int kTableValueLabelId = 102;
constexpr int kTableValueId = 103;
constexpr int kTableNoteId = 104;
constexpr int kTableCellEditId = 105;
constexpr int kTableFirstActionId = 400;  // action i is kTableFirstActionId + i

class Win32TableDialog {
 public:
  explicit Win32TableDialog(const ui::TableRequest& request) : m_request(request) {}

  // Shows the dialog modally over `owner`: the state it closed with after an accepted
  // "OK", or nothing.
  std::optional<ui::TableState> Run(HWND owner);

 private:
  static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  INT_PTR Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void Build();
  void Layout();
  void Show(const ui::TableState& state);
  ui::TableState State() const;
  void Act(std::size_t action);
  void Ok();
  // The cell edit box over a cell of an editable column.
  void BeginEdit(int row, int column);
  void EndEdit(bool keep);
  bool Editable(int column) const;
  HWND Item(int id) const { return GetDlgItem(m_window, id); }

  ui::TableRequest m_request;
  HWND m_window = nullptr;
  std::optional<ui::TableState> m_result;
  int m_edit_row = -1;
  int m_edit_column = -1;
};

}  // namespace win32gui
