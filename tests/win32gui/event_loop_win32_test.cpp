// Guards the Win32 event loop: timers tick through the thread's message loop, and a
// timer stopped or restarted inside a tick drops the ticks already queued for it.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "ui/event_loop.h"
#include "win32gui/win32_event_loop.h"

namespace {

// Runs the thread's message loop until `done` holds; a bound of ten seconds keeps a
// broken loop from hanging the test run.
bool RunUntil(const std::function<bool()>& done) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > 10000) return false;
    MSG msg;
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
  }
  return true;
}

TEST(Win32EventLoop, EnabledTimersTickOnTheThreadThatRunsTheLoop) {
  win32gui::Win32EventLoop loop;
  ui::Timer timer(loop, 10);
  const DWORD thread = GetCurrentThreadId();
  int ticks = 0;
  bool on_loop_thread = true;
  timer.OnTimer = [&] {
    ++ticks;
    on_loop_thread = on_loop_thread && GetCurrentThreadId() == thread;
  };
  timer.SetEnabled(true);
  ASSERT_TRUE(RunUntil([&] { return ticks >= 3; }));
  EXPECT_TRUE(on_loop_thread);
}

TEST(Win32EventLoop, ATimerStoppedInItsOwnTickFiresNoMore) {
  win32gui::Win32EventLoop loop;
  ui::Timer once(loop, 10);
  ui::Timer steady(loop, 10);
  int once_ticks = 0;
  int steady_ticks = 0;
  once.OnTimer = [&] {
    ++once_ticks;
    once.SetEnabled(false);
  };
  steady.OnTimer = [&] { ++steady_ticks; };
  once.SetEnabled(true);
  steady.SetEnabled(true);
  ASSERT_TRUE(RunUntil([&] { return steady_ticks >= 5; }));
  EXPECT_EQ(once_ticks, 1);
}

TEST(Win32EventLoop, ATimerWithIntervalZeroNeverTicks) {
  win32gui::Win32EventLoop loop;
  ui::Timer idle(loop, 0, true);
  ui::Timer steady(loop, 10, true);
  int idle_ticks = 0;
  int steady_ticks = 0;
  idle.OnTimer = [&] { ++idle_ticks; };
  steady.OnTimer = [&] { ++steady_ticks; };
  ASSERT_TRUE(RunUntil([&] { return steady_ticks >= 3; }));
  EXPECT_EQ(idle_ticks, 0);
}

}  // namespace
