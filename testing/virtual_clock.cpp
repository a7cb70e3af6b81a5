#include "testing/virtual_clock.h"

namespace ui {

std::uint32_t VirtualClock::TickCount() {
  m_now += m_query_step;
  return static_cast<std::uint32_t>(m_now);
}

void VirtualClock::Schedule(Timer& timer) {
  m_due[&timer] = Due{m_now + timer.Interval(), m_order++};
}

void VirtualClock::Cancel(Timer& timer) {
  m_due.erase(&timer);
}

void VirtualClock::Advance(std::uint32_t ms) {
  const std::uint64_t target = m_now + ms;
  for (;;) {
    Timer* next = nullptr;
    Due best{};
    for (const auto& [timer, due] : m_due) {
      if (due.at > target) continue;
      if (next == nullptr || due.at < best.at || (due.at == best.at && due.order < best.order)) {
        next = timer;
        best = due;
      }
    }
    if (next == nullptr) break;
    if (best.at > m_now) m_now = best.at;
    // The next period counts from this due time; periods that passed while the
    // thread was busy collapse into this one tick.
    std::uint64_t at = best.at + next->Interval();
    while (at <= m_now) at += next->Interval();
    m_due[next] = Due{at, m_order++};
    next->Fire();
  }
  if (target > m_now) m_now = target;
}

}  // namespace ui
