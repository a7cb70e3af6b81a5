// One Windows program as the robot drives it from another process: started with
// CreateProcess, its main window found by class, its controls found by name through
// the control-ID contract, clicked, dragged and typed at with window messages as the
// mouse and keyboard would send them, and read back with WM_GETTEXT and window rects.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/variant.h"

namespace robot {

class ProgramWindow {
 public:
  // Starts `exe` in `work_dir` and waits until its main window shows; check Started().
  ProgramWindow(ui::Variant variant, const std::wstring& exe, const std::wstring& work_dir);
  ~ProgramWindow();
  ProgramWindow(const ProgramWindow&) = delete;
  ProgramWindow& operator=(const ProgramWindow&) = delete;

  bool Started() const { return m_window != nullptr; }
  // A dialog or message box of the program, shown or not with the main window.
  HWND FindDialog() const;
  // Whether it runs, and its top-level windows: what a failed start leaves.
  std::string Describe() const;
  HWND Window() const { return m_window; }
  DWORD ThreadId() const { return m_thread_id; }
  DWORD ProcessId() const { return m_process.dwProcessId; }

  // The control's child window; null when the layout or the window has no such control.
  HWND Control(const std::string& name) const;
  std::string Caption() const;
  static std::string Text(HWND window);

  // A left click in the middle of the control, pressed and released (posted: a click
  // that opens a modal window returns at once).
  void Click(HWND control) const;
  // A right click in the middle of the control (posted, as Click).
  void RightClick(HWND control) const;
  // A click on the up or down arrow of an up-down control.
  void ClickArrow(HWND control, bool up) const;
  // Presses the left button on the control, moves the mouse `dy` pixels down (up when
  // negative) two at a time, and releases it there; each message is handled before the
  // next goes, so every position is taken from where the control then is.
  bool Drag(HWND control, int dy) const;
  // A key pressed and released at whatever has the keyboard focus.
  void Key(UINT virtual_key) const;
  // The control's Left and Top in its parent's client area.
  POINT Position(HWND control) const;

  // WM_CLOSE, then waits for the process to end; its exit code, or -1 when it did not.
  int Close(DWORD limit_ms);

 private:
  HWND FindMainWindow() const;

  std::unique_ptr<ui::CanvasFactory> m_canvases;
  std::unique_ptr<ui::ControlSet> m_controls;
  PROCESS_INFORMATION m_process{};
  HWND m_window = nullptr;
  DWORD m_thread_id = 0;
};

// Polls `done` every 20 ms until it holds or `limit_ms` passes; true when it held.
template <typename Done>
bool WaitUntil(Done done, DWORD limit_ms) {
  const ULONGLONG end = GetTickCount64() + limit_ms;
  while (!done()) {
    if (GetTickCount64() >= end) return false;
    Sleep(20);
  }
  return true;
}

}  // namespace robot
