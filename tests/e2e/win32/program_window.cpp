#include "tests/e2e/win32/program_window.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

#include "shell/layout.h"
#include "win32gui/control_ids.h"
#include "win32gui/gdi_canvas.h"
#include "win32gui/text.h"

namespace robot {

namespace {

constexpr wchar_t kMainWindowClass[] = L"PalunorMainWindow";
constexpr wchar_t kDialogClass[] = L"#32770";
// A program starting under a fresh wine prefix may take several seconds.
constexpr DWORD kStartLimitMs = 20000;
constexpr DWORD kMessageLimitMs = 5000;

struct Search {
  DWORD process_id;
  HWND found;
};

template <const wchar_t* kClass>
BOOL CALLBACK FindWindowOf(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD process_id = 0;
  GetWindowThreadProcessId(window, &process_id);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (process_id == search->process_id && wcscmp(name, kClass) == 0 && IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

struct ChildSearch {
  int id;
  HWND found;
};

BOOL CALLBACK FindChildById(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<ChildSearch*>(data);
  if (GetDlgCtrlID(window) == search->id) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

LPARAM Coordinates(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(x)),
                    static_cast<WORD>(static_cast<SHORT>(y)));
}

POINT Centre(HWND control) {
  RECT client{};
  GetClientRect(control, &client);
  return {client.right / 2, client.bottom / 2};
}

bool Handled(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, message, wparam, lparam, SMTO_NORMAL, kMessageLimitMs,
                             &result) != 0;
}

}  // namespace

ProgramWindow::ProgramWindow(ui::Variant variant, const std::wstring& exe,
                             const std::wstring& work_dir)
    : m_canvases(std::make_unique<win32gui::GdiCanvasFactory>()) {
  m_controls = std::make_unique<ui::ControlSet>(shell::LayoutTable(variant), *m_canvases);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring command = L"\"" + exe + L"\"";
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      work_dir.c_str(), &startup, &m_process)) {
    m_process = {};
    return;
  }
  // A message box during start-up comes before the window (a port that cannot be
  // opened): that ends the wait too.
  WaitUntil(
      [&] {
        m_window = FindMainWindow();
        return m_window != nullptr || FindDialog() != nullptr ||
               WaitForSingleObject(m_process.hProcess, 0) == WAIT_OBJECT_0;
      },
      kStartLimitMs);
  if (m_window != nullptr) m_thread_id = GetWindowThreadProcessId(m_window, nullptr);
}

ProgramWindow::~ProgramWindow() {
  if (m_process.hProcess == nullptr) return;
  if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(m_process.hProcess, 1);
    WaitForSingleObject(m_process.hProcess, kMessageLimitMs);
  }
  CloseHandle(m_process.hThread);
  CloseHandle(m_process.hProcess);
}

HWND ProgramWindow::FindMainWindow() const {
  Search search{m_process.dwProcessId, nullptr};
  EnumWindows(FindWindowOf<kMainWindowClass>, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string ProgramWindow::Describe() const {
  struct Windows {
    DWORD process_id;
    std::string text;
  } windows{m_process.dwProcessId, {}};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* found = reinterpret_cast<Windows*>(data);
        DWORD process_id = 0;
        GetWindowThreadProcessId(window, &process_id);
        if (process_id != found->process_id) return TRUE;
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        found->text += " [" + win32gui::Narrow(name) +
                       (IsWindowVisible(window) ? " shown" : " hidden") + " \"" + Text(window) +
                       "\"]";
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  const bool running =
      m_process.hProcess != nullptr && WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT;
  return (running ? "running, windows:" : "not running, windows:") + windows.text;
}

HWND ProgramWindow::FindDialog() const {
  Search search{m_process.dwProcessId, nullptr};
  EnumWindows(FindWindowOf<kDialogClass>, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND ProgramWindow::Control(const std::string& name) const {
  const int id = win32gui::ControlId(*m_controls, name);
  if (id == 0 || m_window == nullptr) return nullptr;
  ChildSearch search{id, nullptr};
  EnumChildWindows(m_window, FindChildById, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string ProgramWindow::Caption() const {
  return Text(m_window);
}

std::string ProgramWindow::Text(HWND window) {
  // WM_GETTEXT rather than GetWindowText: the latter does not ask another process's
  // controls for their text.
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kMessageLimitMs, &length)) {
    return {};
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_NORMAL, kMessageLimitMs, &copied);
  text.resize(copied);
  return win32gui::Narrow(text);
}

void ProgramWindow::Click(HWND control) const {
  const POINT at = Centre(control);
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, Coordinates(at.x, at.y));
  PostMessageW(control, WM_LBUTTONUP, 0, Coordinates(at.x, at.y));
}

void ProgramWindow::RightClick(HWND control) const {
  const POINT at = Centre(control);
  PostMessageW(control, WM_RBUTTONDOWN, MK_RBUTTON, Coordinates(at.x, at.y));
  PostMessageW(control, WM_RBUTTONUP, 0, Coordinates(at.x, at.y));
}

void ProgramWindow::ClickArrow(HWND control, bool up) const {
  RECT client{};
  GetClientRect(control, &client);
  const bool horizontal = (GetWindowLongW(control, GWL_STYLE) & UDS_HORZ) != 0;
  POINT at{client.right / 2, up ? client.bottom / 4 : client.bottom * 3 / 4};
  if (horizontal) at = {up ? client.right * 3 / 4 : client.right / 4, client.bottom / 2};
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, Coordinates(at.x, at.y));
  PostMessageW(control, WM_LBUTTONUP, 0, Coordinates(at.x, at.y));
}

bool ProgramWindow::Drag(HWND control, int dy) const {
  POINT start = Centre(control);
  if (!Handled(control, WM_LBUTTONDOWN, MK_LBUTTON, Coordinates(start.x, start.y))) return false;
  ClientToScreen(control, &start);
  const int steps = std::max(1, std::abs(dy) / 2);
  POINT at = start;
  for (int step = 1; step <= steps; ++step) {
    at = {start.x, start.y + dy * step / steps};
    POINT local = at;
    ScreenToClient(control, &local);
    if (!Handled(control, WM_MOUSEMOVE, MK_LBUTTON, Coordinates(local.x, local.y))) return false;
  }
  ScreenToClient(control, &at);
  return Handled(control, WM_LBUTTONUP, 0, Coordinates(at.x, at.y));
}

void ProgramWindow::Key(UINT virtual_key) const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  HWND target = m_window;
  if (GetGUIThreadInfo(m_thread_id, &info) && info.hwndFocus != nullptr) target = info.hwndFocus;
  const UINT scan = MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC);
  const bool extended = virtual_key >= VK_PRIOR && virtual_key <= VK_DOWN;
  const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16) | (extended ? (1 << 24) : 0);
  const LPARAM up = down | (1 << 30) | (static_cast<LPARAM>(1) << 31);
  PostMessageW(target, WM_KEYDOWN, virtual_key, down);
  PostMessageW(target, WM_KEYUP, virtual_key, up);
}

POINT ProgramWindow::Position(HWND control) const {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top};
}

int ProgramWindow::Close(DWORD limit_ms) {
  if (m_process.hProcess == nullptr) return -1;
  if (m_window != nullptr) PostMessageW(m_window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(m_process.hProcess, limit_ms) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(m_process.hProcess, &code);
  m_window = nullptr;
  return static_cast<int>(code);
}

}  // namespace robot
