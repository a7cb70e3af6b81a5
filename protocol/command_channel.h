// The way every command reaches the controller: written through the driver when the
// port is open, filed with the reply recogniser as a request, and bounded in time. A
// handler that stops Timer3 to wait for a reply calls AwaitReply; if no reply has
// put the link back in the supervision's hands by the bound, OnReplyOverdue runs, so
// a controller that has gone silent is always noticed.
//
// A curve command (Read, Send, REC EEPR) is "under way" from the moment it is accepted
// until its reply comes or its bound passes: only then may the next one be written,
// so a reply can answer nothing but the one request waiting for it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "protocol/reply_recogniser.h"
#include "serial/comm_port_driver.h"
#include "ui/event_loop.h"

namespace protocol {

// What an accepted command waits for.
enum class Awaiting {
  Nothing,
  Curve,   // a curve reply, "OK" or "RECOK": no other command until it comes
  Option,  // an option's confirmation: the lockout alone paces what follows
};

class CommandChannel {
 public:
  CommandChannel(ui::EventLoop& loop, serial::TCommPortDriver& driver, ReplyRecogniser& recogniser,
                 ui::Timer& timer3);

  // Writes the command if the port is open; false when it is closed or the write
  // fails. A command written while a reply is awaited restarts the bound. `shown`
  // names the curve a PLX point code is sent for.
  bool Send(std::string_view command, int shown = 0);
  // A command was accepted and waits for its reply: Timer3 stops and the bound starts.
  void AwaitReply(Awaiting what = Awaiting::Option);
  // The accepted command wrote nothing: no reply will come to hold other commands
  // back, but the supervision still waits for the bound, as for a silent controller.
  void NothingWritten();
  // The awaited reply came: the bound stops and the command is over.
  void ReplyCame();
  // An option's confirmation came: it ends the wait of an option command, and no other.
  void OptionConfirmed();
  // The awaited reply came damaged: the command ends as if its bound had passed.
  void Abandon();

  // A curve command waits for its reply.
  bool CurveCommandUnderWay() const { return m_awaiting == Awaiting::Curve; }
  Awaiting AwaitingNow() const { return m_awaiting; }

  // Hands whatever has arrived and is still waiting in the port to the receive handler
  // now, so that it counts as received before the next command is written.
  void TakeWaitingInput();

  // Starts Timer3 unless a curve command is under way or SupervisionHeld says the
  // supervision rests (live data runs, the settings dialog holds the port closed).
  void ResumeSupervision();
  std::function<bool()> SupervisionHeld;

  // The bound passed with no reply, or the reply came damaged: the handler ends the
  // command. `abandoned` is the curve command that waited, if one did.
  std::function<void(const std::optional<Request>& abandoned)> OnReplyOverdue;

  ui::Timer& ReplyBound() { return m_bound; }
  // Two seconds (or what SetWaitMs chose), and the time two curve replies take on the
  // line at its baud rate.
  std::uint32_t BoundMs() const;
  // How long a controller may think before its reply starts; the command-line tool
  // lets the user choose it.
  void SetWaitMs(std::uint32_t ms) { m_wait_ms = ms; }

  static constexpr std::uint32_t kBoundMs = 2000;

 private:
  void StartBound();
  void Overdue();

  serial::TCommPortDriver& m_driver;
  ReplyRecogniser& m_recogniser;
  ui::Timer& m_timer3;
  ui::Timer m_bound;
  Awaiting m_awaiting = Awaiting::Nothing;
  std::uint32_t m_wait_ms = kBoundMs;
};

}  // namespace protocol
