// The command lockout: Timer1 and its tick count BusyTicks keep every command of the
// program from being sent until about 600 ms after the previous one. One object,
// handed to every handler that paces commands.
#pragma once

#include <cstdint>
#include <functional>

#include "ui/control.h"
#include "ui/event_loop.h"

namespace protocol {

class Lockout {
 public:
  Lockout(ui::EventLoop& loop, ui::ControlSet& controls);

  // A command sent less than about 600 ms ago, or one that holds the others back
  // while it waits for its reply: a new one is refused.
  bool Running() const { return m_timer1.Enabled() || (HeldBy && HeldBy()); }
  // While this is true every command is refused as during the lockout.
  std::function<bool()> HeldBy;
  // Restarts the count of six ticks without starting the timer; a refused click of
  // some commands does this.
  void ResetCount() { m_busy_ticks = 0; }
  // BusyTicks 0 and Timer1 on: the lockout runs from now.
  void Start();

  // Each 100 ms tick counts; the sixth ends the lockout.
  void Timer1Timer();

  ui::Timer& Timer1() { return m_timer1; }
  std::uint8_t BusyTicks() const { return m_busy_ticks; }

  static constexpr std::uint32_t kIntervalMs = 100;
  static constexpr std::uint8_t kTicks = 5;  // the lockout ends when BusyTicks exceeds this

 private:
  ui::Control& m_label31;
  ui::Timer m_timer1;
  std::uint8_t m_busy_ticks = 0;
};

}  // namespace protocol
