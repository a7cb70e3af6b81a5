#include "ui/event_loop.h"

namespace ui {

Timer::Timer(EventLoop& loop, std::uint32_t interval_ms, bool enabled)
    : m_loop(loop), m_interval(interval_ms) {
  SetEnabled(enabled);
}

Timer::~Timer() {
  m_loop.Cancel(*this);
}

void Timer::SetInterval(std::uint32_t ms) {
  if (ms == m_interval) return;
  m_interval = ms;
  if (m_enabled) {
    m_loop.Cancel(*this);
    if (m_interval > 0) m_loop.Schedule(*this);
  }
}

void Timer::SetEnabled(bool enabled) {
  if (enabled == m_enabled) return;
  m_enabled = enabled;
  if (m_enabled && m_interval > 0) {
    m_loop.Schedule(*this);
  } else {
    m_loop.Cancel(*this);
  }
}

void Timer::Fire() {
  if (m_enabled && OnTimer) OnTimer();
}

}  // namespace ui
