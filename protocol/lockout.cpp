#include "protocol/lockout.h"

namespace protocol {

Lockout::Lockout(ui::EventLoop& loop, ui::ControlSet& controls)
    : m_label31(controls["Label31"]), m_timer1(loop, kIntervalMs, false) {
  m_timer1.OnTimer = [this] { Timer1Timer(); };
}

void Lockout::Start() {
  m_busy_ticks = 0;
  m_timer1.SetEnabled(true);
}

void Lockout::Timer1Timer() {
  ++m_busy_ticks;
  if (m_busy_ticks > kTicks) {
    m_label31.SetCaption("");
    m_timer1.SetEnabled(false);
  }
}

}  // namespace protocol
