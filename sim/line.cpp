#include "sim/line.h"

#include <algorithm>

#include "sim/engine.h"

namespace sim {

namespace {

constexpr std::uint64_t kNsPerSecond = 1'000'000'000;
// Noise bursts come at random gaps in this range, a few bytes each.
constexpr std::uint32_t kNoiseGapMinMs = 50;
constexpr std::uint32_t kNoiseGapSpanMs = 350;
constexpr std::uint32_t kNoiseBurstMax = 4;
// A burst due while a reply is going out waits this long after it.
constexpr std::uint64_t kNoiseHoldOffNs = 5 * kNsPerMs;

}  // namespace

std::uint64_t ByteTimeNs(std::uint32_t baud, int data_bits, bool parity, int stop_bits) {
  const std::uint64_t stop_half_bits = stop_bits == 0 ? 2 : stop_bits == 1 ? 3 : 4;
  const std::uint64_t half_bits =
      2 * (1 + static_cast<std::uint64_t>(data_bits) + (parity ? 1 : 0)) + stop_half_bits;
  return half_bits * kNsPerSecond /
         (2 * static_cast<std::uint64_t>(std::max<std::uint32_t>(baud, 1)));
}

void Line::SetFault(const Fault& fault, std::uint64_t now) {
  Update(now);
  m_next_noise_at.reset();
  switch (fault.mode) {
    case FaultMode::Unplug:
      m_plugged = false;
      m_to_controller.clear();
      m_to_host.clear();
      m_rx.clear();
      m_controller.ForgetPartialCommand();
      m_host_free_at = now;
      m_device_free_at = now;
      m_fault = fault;
      return;
    case FaultMode::Replug:
    case FaultMode::None:
      m_plugged = true;
      m_fault = Fault{};
      return;
    case FaultMode::Noise:
      m_fault = fault;
      m_noise_state = fault.seed == 0 ? 1 : fault.seed;
      m_next_noise_at = now + (kNoiseGapMinMs + Random() % kNoiseGapSpanMs) * kNsPerMs;
      return;
    default:
      m_fault = fault;
      return;
  }
}

void Line::HostSend(std::string_view bytes, std::uint64_t now) {
  if (!m_plugged) return;
  std::uint64_t at = std::max(now, m_host_free_at);
  for (char c : bytes) {
    at += m_byte_ns;
    m_to_controller.push_back(Timed{static_cast<std::uint8_t>(c), at});
  }
  m_host_free_at = at;
}

std::size_t Line::HostBytesInFlight(std::uint64_t now) const {
  return static_cast<std::size_t>(std::count_if(m_to_controller.begin(), m_to_controller.end(),
                                                [now](const Timed& t) { return t.at > now; }));
}

void Line::DiscardHostBytes(std::uint64_t now) {
  Update(now);
  m_to_controller.clear();
  m_host_free_at = now;
}

void Line::Update(std::uint64_t now) {
  for (;;) {
    // The earliest of: a byte reaching the controller, a live frame, a noise burst.
    enum class Next { Nothing, HostByte, Frame, Noise } next = Next::Nothing;
    std::uint64_t at = now;
    if (!m_to_controller.empty() && m_to_controller.front().at <= at) {
      next = Next::HostByte;
      at = m_to_controller.front().at;
    }
    if (m_next_frame_at && *m_next_frame_at <= at &&
        (next == Next::Nothing || *m_next_frame_at < at)) {
      next = Next::Frame;
      at = *m_next_frame_at;
    }
    if (m_next_noise_at && *m_next_noise_at <= at &&
        (next == Next::Nothing || *m_next_noise_at < at)) {
      next = Next::Noise;
      at = *m_next_noise_at;
    }
    if (next == Next::Nothing) break;

    if (next == Next::HostByte) {
      const Timed byte = m_to_controller.front();
      m_to_controller.pop_front();
      HearHostByte(byte);
    } else if (next == Next::Frame) {
      const std::string frame = LiveFrameOnLine();
      if (m_plugged && m_fault.mode != FaultMode::NoReply) Emit(frame, at);
      *m_next_frame_at += kLiveFramePeriodNs;
    } else {
      SendNoise(at);
    }
  }
  while (!m_to_host.empty() && m_to_host.front().at <= now) {
    if (m_rx.size() < m_rx_capacity) {
      m_rx += static_cast<char>(m_to_host.front().byte);
    } else {
      m_overrun = true;
    }
    m_to_host.pop_front();
  }
}

void Line::HearHostByte(const Timed& byte) {
  if (m_last_heard_at && byte.at - *m_last_heard_at > kCommandGapNs) {
    m_controller.ForgetPartialCommand();
  }
  m_last_heard_at = byte.at;
  std::string reply = m_controller.Hear(byte.byte);
  if (!reply.empty()) Answer(std::move(reply), byte.at);
  if (!m_controller.LiveStreaming()) {
    m_next_frame_at.reset();
  } else if (!m_next_frame_at) {
    m_next_frame_at = byte.at + kLiveFramePeriodNs;
  }
}

void Line::Answer(std::string reply, std::uint64_t at) {
  if (!m_plugged) return;
  const std::size_t k = m_fault.byte;
  switch (m_fault.mode) {
    case FaultMode::NoReply:
      return;
    case FaultMode::LateReply:
      Emit(reply, at + m_fault.delay_ms * kNsPerMs);
      return;
    case FaultMode::SplitReply:
      Emit(reply, at, k, m_fault.delay_ms * kNsPerMs);
      m_fault = Fault{};
      return;
    case FaultMode::DropByte:
      if (k <= reply.size()) reply.erase(k - 1, 1);
      m_fault = Fault{};
      break;
    case FaultMode::CorruptByte:
      if (k <= reply.size()) reply[k - 1] = static_cast<char>(~reply[k - 1]);
      m_fault = Fault{};
      break;
    default:
      break;
  }
  Emit(reply, at);
}

void Line::Emit(std::string_view bytes, std::uint64_t at, std::size_t pause_after,
                std::uint64_t pause_ns) {
  std::uint64_t due = std::max(at, m_device_free_at);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (pause_after > 0 && i == pause_after) due += pause_ns;
    due += m_byte_ns;
    m_to_host.push_back(Timed{static_cast<std::uint8_t>(bytes[i]), due});
  }
  m_device_free_at = due;
}

void Line::SendNoise(std::uint64_t at) {
  if (m_device_free_at > at) {
    // Between replies only.
    m_next_noise_at = m_device_free_at + kNoiseHoldOffNs;
    return;
  }
  std::string burst(1 + Random() % kNoiseBurstMax, '\0');
  for (char& c : burst) c = static_cast<char>(Random() & 0xFF);
  if (m_plugged) Emit(burst, at);
  m_next_noise_at = at + (kNoiseGapMinMs + Random() % kNoiseGapSpanMs) * kNsPerMs;
}

std::string Line::LiveFrameOnLine() {
  std::string frame = m_controller.NextLiveFrame();
  const std::size_t n = m_frames_on_line++;
  if (m_fault.mode != FaultMode::InvalidLiveReadings || n % 2 == 0) return frame;
  return InvalidLiveFrame(frame, n / 2);
}

std::uint32_t Line::Random() {
  // xorshift32: the same bytes from the same seed on every platform.
  m_noise_state ^= m_noise_state << 13;
  m_noise_state ^= m_noise_state >> 17;
  m_noise_state ^= m_noise_state << 5;
  return m_noise_state;
}

std::string Line::Take(std::size_t max) {
  const std::size_t n = std::min(max, m_rx.size());
  std::string out = m_rx.substr(0, n);
  m_rx.erase(0, n);
  return out;
}

bool Line::TakeOverrun() {
  const bool overrun = m_overrun;
  m_overrun = false;
  return overrun;
}

}  // namespace sim
