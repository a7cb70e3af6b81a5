#include "protocol/command_channel.h"

#include <algorithm>

namespace protocol {

namespace {

// Ten bit times a byte: start, eight data bits, stop.
constexpr std::uint32_t kBitsPerByte = 10;

}  // namespace

CommandChannel::CommandChannel(ui::EventLoop& loop, serial::TCommPortDriver& driver,
                               ReplyRecogniser& recogniser, ui::Timer& timer3)
    : m_driver(driver), m_recogniser(recogniser), m_timer3(timer3), m_bound(loop, kBoundMs, false) {
  m_bound.OnTimer = [this] { Overdue(); };
}

std::uint32_t CommandChannel::BoundMs() const {
  const std::uint32_t baud = std::max<std::uint32_t>(m_driver.BaudRateValue(), 1);
  const std::uint32_t two_replies = 2 * kCurveReplyLength * kBitsPerByte * 1000 / baud;
  return m_wait_ms + two_replies;
}

bool CommandChannel::Send(std::string_view command, int shown) {
  if (command.empty() || !m_driver.IsOpen()) return false;
  if (!m_driver.WriteText(command)) return false;
  m_recogniser.Sent(command, shown);
  if (m_bound.Enabled()) StartBound();
  return true;
}

void CommandChannel::AwaitReply(Awaiting what) {
  m_timer3.SetEnabled(false);
  m_awaiting = what;
  StartBound();
}

void CommandChannel::StartBound() {
  // Setting the same interval again would not restart a running timer.
  m_bound.SetEnabled(false);
  m_bound.SetInterval(BoundMs());
  m_bound.SetEnabled(true);
}

void CommandChannel::NothingWritten() {
  if (m_awaiting == Awaiting::Curve) m_awaiting = Awaiting::Option;
}

void CommandChannel::ReplyCame() {
  m_bound.SetEnabled(false);
  m_awaiting = Awaiting::Nothing;
}

void CommandChannel::OptionConfirmed() {
  if (m_awaiting == Awaiting::Option) ReplyCame();
}

void CommandChannel::Abandon() {
  Overdue();
}

void CommandChannel::TakeWaitingInput() {
  if (m_driver.IsOpen()) m_driver.PollTick();
}

void CommandChannel::ResumeSupervision() {
  if (CurveCommandUnderWay()) return;
  if (SupervisionHeld && SupervisionHeld()) return;
  m_timer3.SetEnabled(true);
}

void CommandChannel::Overdue() {
  m_bound.SetEnabled(false);
  m_awaiting = Awaiting::Nothing;
  // Whatever still arrives for the command answers nothing: what is in hand now goes,
  // and a reply already on its way began before the next request.
  if (m_driver.IsOpen()) m_driver.PurgeBuffers(true, false);
  const std::optional<Request> abandoned = m_recogniser.Awaited();
  m_recogniser.Expire();
  if (OnReplyOverdue) OnReplyOverdue(abandoned);
}

}  // namespace protocol
