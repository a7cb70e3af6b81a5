// A real-time event loop without a GUI toolkit, for the command-line programs
// (the controller emulator): it sleeps until the next timer is due.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>

#include "ui/event_loop.h"

namespace ui {

class SteadyLoop : public EventLoop {
 public:
  SteadyLoop();
  std::uint32_t TickCount() override;

  // Runs timers until Quit() is called (from a timer handler) or `quit_flag` turns true.
  void Run(const volatile bool* quit_flag = nullptr);
  void Quit() { m_quit = true; }

 protected:
  void Schedule(Timer& timer) override;
  void Cancel(Timer& timer) override;

 private:
  using Clock = std::chrono::steady_clock;
  struct Due {
    Clock::time_point at;
    std::uint64_t order;
  };
  std::map<Timer*, Due> m_due;
  Clock::time_point m_start;
  std::uint64_t m_order = 0;
  bool m_quit = false;
};

}  // namespace ui
