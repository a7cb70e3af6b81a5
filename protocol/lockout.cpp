#include "protocol/lockout.h"

namespace protocol {

void Lockout::Start() {
  m_busy_ticks = 0;
  m_timer1.SetEnabled(true);
}

void Lockout::Timer1Timer() {
  ++m_busy_ticks;
  if (m_busy_ticks > kTicks) {
    m_controls["Label31"].SetCaption("");
    m_timer1.SetEnabled(false);
  }
}

}  // namespace protocol
