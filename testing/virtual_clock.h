// A deterministic event loop for tests: time moves only when the test says so.
#pragma once

#include <cstdint>
#include <map>
#include <utility>

#include "ui/event_loop.h"

namespace ui {

// Advance(ms) fires every tick that falls due within the next ms milliseconds, in
// time order (ties in the order the timers were started), timers started inside a
// tick included. Like the platform's timer messages, ticks missed while a handler
// kept the thread busy are coalesced into one.
class VirtualClock : public EventLoop {
 public:
  std::uint32_t TickCount() override;

  void Advance(std::uint32_t ms);
  // Milliseconds since the clock was made.
  std::uint64_t Now() const { return m_now; }

  // Every TickCount query moves time on by this many milliseconds without firing
  // timers, so a loop that waits on the tick count (a stalled write) ends. 0 by default.
  void SetTickQueryStep(std::uint32_t ms) { m_query_step = ms; }

  // Number of timers currently scheduled (for tests of "nothing left running").
  std::size_t ScheduledCount() const { return m_due.size(); }

 protected:
  void Schedule(Timer& timer) override;
  void Cancel(Timer& timer) override;

 private:
  struct Due {
    std::uint64_t at;
    std::uint64_t order;
  };
  std::map<Timer*, Due> m_due;
  std::uint64_t m_now = 0;
  std::uint64_t m_order = 0;
  std::uint32_t m_query_step = 0;
};

}  // namespace ui
