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
  return kBoundMs + two_replies;
}

bool CommandChannel::Send(std::string_view command) {
  if (command.empty() || !m_driver.IsOpen()) return false;
  if (!m_driver.WriteText(command)) return false;
  m_recogniser.Sent(command);
  if (m_bound.Enabled()) m_bound.SetInterval(BoundMs());
  return true;
}

void CommandChannel::AwaitReply() {
  m_timer3.SetEnabled(false);
  m_bound.SetEnabled(false);
  m_bound.SetInterval(BoundMs());
  m_bound.SetEnabled(true);
}

void CommandChannel::Overdue() {
  m_bound.SetEnabled(false);
  m_recogniser.Expire();
  if (OnReplyOverdue) OnReplyOverdue();
}

}  // namespace protocol
