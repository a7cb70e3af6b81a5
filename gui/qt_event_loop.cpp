#include "gui/qt_event_loop.h"

namespace gui {

QtEventLoop::QtEventLoop() {
  m_clock.start();
}

std::uint32_t QtEventLoop::TickCount() {
  return static_cast<std::uint32_t>(m_clock.elapsed());
}

void QtEventLoop::Schedule(ui::Timer& timer) {
  Cancel(timer);
  auto* qt_timer = new QTimer(&m_owner);
  // The 50 ms serial poll and the 100 ms lockout count ticks; a coarse timer would
  // let them drift by several milliseconds each.
  qt_timer->setTimerType(Qt::PreciseTimer);
  qt_timer->setInterval(static_cast<int>(timer.Interval()));
  QObject::connect(qt_timer, &QTimer::timeout, [&timer] { timer.Fire(); });
  qt_timer->start();
  m_timers[&timer] = qt_timer;
}

void QtEventLoop::Cancel(ui::Timer& timer) {
  auto it = m_timers.find(&timer);
  if (it == m_timers.end()) return;
  QTimer* qt_timer = it->second;
  m_timers.erase(it);
  qt_timer->stop();
  // A handler may stop its own timer while QTimer is still delivering the tick.
  QObject::disconnect(qt_timer, nullptr, nullptr, nullptr);
  qt_timer->deleteLater();
}

}  // namespace gui
