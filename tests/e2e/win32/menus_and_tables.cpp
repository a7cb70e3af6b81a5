#include "tests/e2e/win32/menus_and_tables.h"

#include <commctrl.h>

#include "tests/e2e/win32/program_window.h"
#include "win32gui/text.h"
#include "win32gui/win32_table_dialog.h"

namespace robot {

namespace {

constexpr DWORD kMessageLimitMs = 5000;

BOOL CALLBACK FindMenuWindow(HWND window, LPARAM data) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (wcscmp(name, L"#32768") == 0 && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(data) = window;
    return FALSE;
  }
  return TRUE;
}

HWND MenuWindow(DWORD thread_id) {
  HWND window = nullptr;
  EnumThreadWindows(thread_id, FindMenuWindow, reinterpret_cast<LPARAM>(&window));
  return window;
}

// A buffer in the program's process: the list view takes and fills its items there.
class RemoteBuffer {
 public:
  RemoteBuffer(HWND window, std::size_t size) : m_size(size) {
    DWORD process_id = 0;
    GetWindowThreadProcessId(window, &process_id);
    m_process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process_id);
    if (m_process != nullptr) {
      m_address = VirtualAllocEx(m_process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
  }
  ~RemoteBuffer() {
    if (m_address != nullptr) VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
    if (m_process != nullptr) CloseHandle(m_process);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  bool Ok() const { return m_address != nullptr; }
  char* At(std::size_t offset) const { return static_cast<char*>(m_address) + offset; }
  void Write(std::size_t offset, const void* data, std::size_t size) const {
    WriteProcessMemory(m_process, At(offset), data, size, nullptr);
  }
  void Read(std::size_t offset, void* data, std::size_t size) const {
    ReadProcessMemory(m_process, At(offset), data, size, nullptr);
  }

 private:
  std::size_t m_size;
  HANDLE m_process = nullptr;
  void* m_address = nullptr;
};

constexpr int kCellChars = 256;

}  // namespace

HWND WaitForPopupMenu(DWORD thread_id, DWORD limit_ms) {
  HWND menu = nullptr;
  WaitUntil(
      [&] {
        menu = MenuWindow(thread_id);
        return menu != nullptr;
      },
      limit_ms);
  return menu;
}

void PressMenuKey(HWND menu, wchar_t key) {
  if (key == VK_ESCAPE) {
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 1);
  } else {
    PostMessageW(menu, WM_CHAR, static_cast<WPARAM>(key), 1);
  }
}

bool WaitUntilMenuClosed(DWORD thread_id, DWORD limit_ms) {
  return WaitUntil([&] { return MenuWindow(thread_id) == nullptr; }, limit_ms);
}

bool IsTable(HWND dialog) {
  HWND list = GetDlgItem(dialog, win32gui::kTableListId);
  wchar_t name[32] = {};
  if (list != nullptr) GetClassNameW(list, name, 32);
  return wcscmp(name, WC_LISTVIEWW) == 0;
}

namespace {

// The list view lives in another process: its texts come through a buffer there.
std::string Cell(HWND list, int row, int column) {
  RemoteBuffer buffer(list, sizeof(LVITEMW) + kCellChars * sizeof(wchar_t));
  if (!buffer.Ok()) return {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = reinterpret_cast<wchar_t*>(buffer.At(sizeof(LVITEMW)));
  item.cchTextMax = kCellChars;
  buffer.Write(0, &item, sizeof item);
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(buffer.At(0)));
  wchar_t text[kCellChars] = {};
  buffer.Read(sizeof(LVITEMW), text, sizeof text - sizeof(wchar_t));
  return win32gui::Narrow(text);
}

}  // namespace

std::vector<std::string> TableRows(HWND dialog) {
  HWND list = GetDlgItem(dialog, win32gui::kTableListId);
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  const int columns = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
  const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  std::vector<std::string> lines;
  for (int r = 0; r < rows; ++r) {
    std::string line;
    for (int c = 0; c < columns; ++c) {
      if (c > 0) line += " | ";
      line += Cell(list, r, c);
    }
    lines.push_back(line);
  }
  return lines;
}

bool SelectTableRows(HWND dialog, int first, int last) {
  HWND list = GetDlgItem(dialog, win32gui::kTableListId);
  const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  if (first < 0 || last < first || last >= rows) return false;
  RemoteBuffer buffer(list, sizeof(LVITEMW));
  if (!buffer.Ok()) return false;
  for (int row = 0; row < rows; ++row) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    if (row >= first && row <= last) item.state = LVIS_SELECTED;
    if (row == first) item.state |= LVIS_FOCUSED;
    buffer.Write(0, &item, sizeof item);
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(buffer.At(0)));
  }
  return true;
}

bool SetTableValue(HWND dialog, const std::string& text) {
  HWND value = GetDlgItem(dialog, win32gui::kTableValueId);
  return value != nullptr && SetWindowTextW(value, win32gui::Wide(text).c_str());
}

bool PressTableButton(HWND dialog, const std::string& caption) {
  int id = caption == "OK" ? IDOK : 0;
  for (int i = win32gui::kTableFirstActionId; id == 0; ++i) {
    HWND button = GetDlgItem(dialog, i);
    if (button == nullptr) return false;
    if (ProgramWindow::Text(button) == caption) id = i;
  }
  HWND button = GetDlgItem(dialog, id);
  if (button == nullptr) return false;
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  return true;
}

}  // namespace robot
