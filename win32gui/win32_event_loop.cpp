#include "win32gui/win32_event_loop.h"

namespace win32gui {

namespace {

constexpr wchar_t kClassName[] = L"PalunorTimerWindow";

void RegisterTimerClass(WNDPROC procedure) {
  static const bool registered = [procedure] {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = kClassName;
    return RegisterClassExW(&window_class) != 0;
  }();
  (void)registered;
}

}  // namespace

Win32EventLoop::Win32EventLoop() {
  RegisterTimerClass(&WindowProc);
  m_window = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32EventLoop::~Win32EventLoop() {
  for (const auto& [id, timer] : m_timers) KillTimer(m_window, id);
  DestroyWindow(m_window);
}

std::uint32_t Win32EventLoop::TickCount() {
  return GetTickCount();
}

void Win32EventLoop::Schedule(ui::Timer& timer) {
  Cancel(timer);
  if (timer.Interval() == 0) return;
  const UINT_PTR id = m_next_id++;
  if (SetTimer(m_window, id, timer.Interval(), nullptr) == 0) return;
  m_timers[id] = &timer;
  m_ids[&timer] = id;
}

void Win32EventLoop::Cancel(ui::Timer& timer) {
  const auto it = m_ids.find(&timer);
  if (it == m_ids.end()) return;
  KillTimer(m_window, it->second);
  m_timers.erase(it->second);
  m_ids.erase(it);
}

void Win32EventLoop::Tick(UINT_PTR id) {
  const auto it = m_timers.find(id);
  if (it != m_timers.end()) it->second->Fire();
}

LRESULT CALLBACK Win32EventLoop::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_TIMER) {
    auto* loop = reinterpret_cast<Win32EventLoop*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (loop != nullptr) loop->Tick(wparam);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace win32gui
