// The way every command reaches the controller: written through the driver when the
// port is open, filed with the reply recogniser as a request, and bounded in time. A
// handler that stops Timer3 to wait for a reply calls AwaitReply; if no reply has
// put the link back in the supervision's hands by the bound, OnReplyOverdue runs, so
// a controller that has gone silent is always noticed.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "protocol/reply_recogniser.h"
#include "serial/comm_port_driver.h"
#include "ui/event_loop.h"

namespace protocol {

class CommandChannel {
 public:
  CommandChannel(ui::EventLoop& loop, serial::TCommPortDriver& driver, ReplyRecogniser& recogniser,
                 ui::Timer& timer3);

  // Writes the command if the port is open; false when it is closed or the write
  // fails. A command written while a reply is awaited restarts the bound.
  bool Send(std::string_view command);
  // A command was accepted and waits for its reply (sent or not): Timer3 stops and
  // the bound starts.
  void AwaitReply();

  // The bound passed with no reply: the handler ends the command.
  std::function<void()> OnReplyOverdue;

  ui::Timer& ReplyBound() { return m_bound; }
  // Two seconds, and the time two curve replies take on the line at its baud rate.
  std::uint32_t BoundMs() const;

  static constexpr std::uint32_t kBoundMs = 2000;

 private:
  void Overdue();

  serial::TCommPortDriver& m_driver;
  ReplyRecogniser& m_recogniser;
  ui::Timer& m_timer3;
  ui::Timer m_bound;
};

}  // namespace protocol
