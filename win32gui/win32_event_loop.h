// The core's event loop on Windows: each running ui::Timer is a window timer of a
// message-only window, so its ticks arrive on the UI thread through whatever message
// loop runs, a message box's or a dialog's included; the tick count is GetTickCount.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>

#include "ui/event_loop.h"

namespace win32gui {

class Win32EventLoop : public ui::EventLoop {
 public:
  Win32EventLoop();
  ~Win32EventLoop() override;
  Win32EventLoop(const Win32EventLoop&) = delete;
  Win32EventLoop& operator=(const Win32EventLoop&) = delete;

  std::uint32_t TickCount() override;

 protected:
  void Schedule(ui::Timer& timer) override;
  void Cancel(ui::Timer& timer) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  void Tick(UINT_PTR id);

  HWND m_window = nullptr;
  // Each scheduling takes a fresh ID, so a tick already queued for a timer that was
  // cancelled or rescheduled finds nothing and is dropped.
  UINT_PTR m_next_id = 1;
  std::map<UINT_PTR, ui::Timer*> m_timers;
  std::map<ui::Timer*, UINT_PTR> m_ids;
};

}  // namespace win32gui
