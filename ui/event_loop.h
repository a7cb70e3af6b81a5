// The one-thread event loop the core runs on: timers that fire on it and the
// millisecond tick count that time-outs are measured with.
#pragma once

#include <cstdint>
#include <functional>

namespace ui {

class Timer;

// What the core asks of the platform's event loop. The real loop is backed by Qt
// (gui/) or by a sleeping loop (SteadyLoop); tests use VirtualClock.
class EventLoop {
 public:
  virtual ~EventLoop() = default;

  // Milliseconds since an arbitrary start; wraps round like the platform's tick count.
  virtual std::uint32_t TickCount() = 0;

 protected:
  friend class Timer;
  // The timer was enabled or its interval changed while enabled: its period starts now.
  virtual void Schedule(Timer& timer) = 0;
  // The timer was disabled or is being destroyed.
  virtual void Cancel(Timer& timer) = 0;
};

// A periodic timer on the event loop, with the design's Interval, Enabled and OnTimer.
// Enabling a running timer changes nothing; changing the interval of a running timer
// restarts its period. An interval of 0 never fires.
class Timer {
 public:
  explicit Timer(EventLoop& loop, std::uint32_t interval_ms = 1000, bool enabled = false);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  std::uint32_t Interval() const { return m_interval; }
  void SetInterval(std::uint32_t ms);
  bool Enabled() const { return m_enabled; }
  void SetEnabled(bool enabled);

  // Called by the loop when the period has elapsed.
  void Fire();

  std::function<void()> OnTimer;

 private:
  EventLoop& m_loop;
  std::uint32_t m_interval;
  bool m_enabled = false;
};

}  // namespace ui
