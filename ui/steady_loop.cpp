#include "ui/steady_loop.h"

#include <thread>

namespace ui {

SteadyLoop::SteadyLoop() : m_start(Clock::now()) {}

std::uint32_t SteadyLoop::TickCount() {
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - m_start).count();
  return static_cast<std::uint32_t>(ms);
}

void SteadyLoop::Schedule(Timer& timer) {
  m_due[&timer] = Due{Clock::now() + std::chrono::milliseconds(timer.Interval()), m_order++};
}

void SteadyLoop::Cancel(Timer& timer) {
  m_due.erase(&timer);
}

void SteadyLoop::Run(const volatile bool* quit_flag) {
  m_quit = false;
  while (!m_quit && (quit_flag == nullptr || !*quit_flag)) {
    Timer* next = nullptr;
    Due best{};
    for (const auto& [timer, due] : m_due) {
      if (next == nullptr || due.at < best.at || (due.at == best.at && due.order < best.order)) {
        next = timer;
        best = due;
      }
    }
    if (next == nullptr) {
      // Nothing scheduled: wake now and then so the quit flag is seen.
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      continue;
    }
    const auto now = Clock::now();
    if (best.at > now) {
      // Sleep in short steps so a signal's quit flag ends the loop promptly.
      std::this_thread::sleep_for(
          std::min<Clock::duration>(best.at - now, std::chrono::milliseconds(20)));
      continue;
    }
    const auto period = std::chrono::milliseconds(next->Interval());
    auto at = best.at + period;
    while (at <= now) at += period;
    m_due[next] = Due{at, m_order++};
    next->Fire();
  }
}

}  // namespace ui
