// The core's event loop on Qt: one QTimer per ui::Timer, and the tick count from a
// monotonic clock started with the loop.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <map>

#include "ui/event_loop.h"

namespace gui {

class QtEventLoop : public ui::EventLoop {
 public:
  QtEventLoop();
  std::uint32_t TickCount() override;

 protected:
  void Schedule(ui::Timer& timer) override;
  void Cancel(ui::Timer& timer) override;

 private:
  // Parent of every QTimer, so timers retired inside their own tick are still freed.
  QObject m_owner;
  QElapsedTimer m_clock;
  std::map<ui::Timer*, QTimer*> m_timers;
};

}  // namespace gui
