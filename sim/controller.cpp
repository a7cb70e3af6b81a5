#include "sim/controller.h"

#include <algorithm>

#include "sim/engine.h"

namespace sim {

namespace {

constexpr std::size_t kSendCurveLength = 3 + protocol::kPoints;  // "SD" n + 26 point bytes
constexpr std::uint8_t kTimeOffByte = 'S';
constexpr int kMaxBypassStep = 20;
constexpr int kMaxVrefStep = 15;
constexpr std::uint8_t kHighestPoint = 50;  // 25 degrees of advance

// Compares what has arrived with a command's fixed text: a mismatch in the bytes
// there are rules it out; a match of all of them completes it.
bool Prefixes(std::string_view pending, std::string_view text, bool& complete) {
  const std::size_t n = std::min(pending.size(), text.size());
  complete = pending.size() >= text.size();
  return pending.substr(0, n) == text.substr(0, n);
}

bool IsCurveDigit(char c) {
  return c == '1' || c == '2';
}

// A starting curve: from a little advance at low RPM rising to `top` degrees.
protocol::CurvePoints StartCurve(int top) {
  protocol::CurvePoints points{};
  for (std::size_t i = 0; i < protocol::kPoints; ++i) {
    points[i] = static_cast<std::uint8_t>(25 + 2 + static_cast<int>(i) * (top - 2) / 25);
  }
  return points;
}

}  // namespace

std::string ModelCode(Model model) {
  return model == Model::PLX ? "PLX" : "QZR";
}

Controller::Controller(Model model) : m_model(model) {
  m_ram = {StartCurve(12), StartCurve(20)};
  m_eeprom = m_ram;
}

void Controller::SetLimits(int max_advance, int max_retard) {
  m_max_advance = max_advance;
  m_max_retard = max_retard;
}

int Controller::EngineRpmNow() const {
  return EngineRpm(m_frame, m_version);
}

std::string Controller::NextLiveFrame() {
  const int rpm = EngineRpmNow();
  ++m_frame;
  const protocol::LiveFrame frame{PeriodByte(rpm, m_version),
                                  AdvanceAt(Ram(m_active_curve), rpm, m_version)};
  return frame.Encode();
}

std::string Controller::VersionReplyBytes() const {
  protocol::VersionReply reply;
  reply.model = ModelCode(m_model);
  reply.version = static_cast<std::uint8_t>(m_version);
  reply.max_advance = static_cast<std::uint8_t>(m_max_advance);
  reply.max_retard = static_cast<std::uint8_t>(m_max_retard);
  reply.channels = static_cast<std::uint8_t>(m_channels);
  return reply.Encode();
}

std::string Controller::CurveReplyBytes(int curve) const {
  protocol::CurveReply reply;
  reply.byte3 = static_cast<std::uint8_t>('0' + Index(curve) + 1);
  reply.points = Ram(curve);
  protocol::OptionStatus status;
  status.polarity = m_options.input_positive ? 'P' : 'N';
  status.voltage = m_options.output_5v ? 5 : 12;
  status.vref = static_cast<std::uint8_t>(m_options.vref_step);
  status.bypass =
      m_options.bypass_on ? static_cast<std::uint8_t>(m_options.bypass_step) : kTimeOffByte;
  reply.options = status;
  return reply.Encode();
}

std::string Controller::Hear(std::uint8_t byte) {
  m_pending += static_cast<char>(byte);
  std::string reply;
  while (!m_pending.empty()) {
    std::size_t length = 0;
    const Match match = Recognise(length);
    if (match == Match::NeedMore) break;
    if (match == Match::NoMatch) {
      // Resynchronise: a byte that starts no command is skipped.
      m_pending.erase(0, 1);
      continue;
    }
    const std::string command = m_pending.substr(0, length);
    m_pending.erase(0, length);
    ++m_commands;
    reply += Execute(command);
  }
  return reply;
}

Controller::Match Controller::Recognise(std::size_t& length) const {
  const std::string_view p = m_pending;
  bool complete = false;
  auto fixed = [&](std::string_view text) {
    if (!Prefixes(p, text, complete)) return Match::NoMatch;
    length = text.size();
    return complete ? Match::Complete : Match::NeedMore;
  };
  // Two letters and one byte: the byte is checked by `accept` once it is there.
  auto with_byte = [&](std::string_view letters, auto accept) {
    if (!Prefixes(p, letters, complete)) return Match::NoMatch;
    if (p.size() < 3) return Match::NeedMore;
    if (!accept(p[2])) return Match::NoMatch;
    length = 3;
    return Match::Complete;
  };
  auto any = [](char) { return true; };

  switch (p[0]) {
    case 'V':
      return fixed("VER");
    case 'R':
      // A PLX takes "RD" as whole; a QZR waits for the curve digit.
      if (m_model == Model::PLX) return fixed("RD");
      return with_byte("RD", IsCurveDigit);
    case 'S':
      if (m_model == Model::PLX) return with_byte("SD", any);
      if (!Prefixes(p, "SD", complete)) return Match::NoMatch;
      if (p.size() >= 3 && !IsCurveDigit(p[2])) return Match::NoMatch;
      length = kSendCurveLength;
      return p.size() >= kSendCurveLength ? Match::Complete : Match::NeedMore;
    case 'E':
      return with_byte("EW", IsCurveDigit);
    case 'L':
      if (p.size() >= 3 && p[2] == 'F') return fixed("LOF");
      return fixed("LON");
    case 'O':
      if (p.size() >= 2 && p[1] == '0') return fixed("O05");
      return fixed("O12");
    case 'I':
      if (p.size() >= 2 && p[1] == 'P') return fixed("IPF");
      return fixed("INF");
    case 'T':
      return with_byte("TT", any);
    case 'P':
      return with_byte("PR", any);
    default:
      return Match::NoMatch;
  }
}

std::string Controller::Execute(std::string_view command) {
  const std::uint8_t third = command.size() > 2 ? static_cast<std::uint8_t>(command[2]) : 0;
  switch (command[0]) {
    case 'V':
      return VersionReplyBytes();
    case 'R':
      return CurveReplyBytes(m_model == Model::PLX ? 1 : third - '0');
    case 'S':
      if (m_model == Model::PLX) {
        m_point_code = third;
        return std::string(protocol::kSendAccepted);
      }
      return StoreCurve(third - '0', command.substr(3));
    case 'E':
      m_eeprom[Index(third - '0')] = m_ram[Index(third - '0')];
      return std::string(protocol::kRecorded);
    case 'L':
      m_live = command == "LON";
      return {};
    case 'O':
      m_options.output_5v = command == "O05";
      return std::string(m_options.output_5v ? protocol::kNow5V : protocol::kNow12V);
    case 'I':
      m_options.input_positive = command == "IPF";
      return std::string(m_options.input_positive ? protocol::kNowPositive
                                                  : protocol::kNowNegative);
    case 'T':
      // "TTS" and "TT" with the step byte 83 are the same three bytes: time off.
      if (third == kTimeOffByte) {
        m_options.bypass_on = false;
        return std::string(protocol::kTimeOff);
      }
      if (third < 1 || third > kMaxBypassStep) return {};
      m_options.bypass_on = true;
      m_options.bypass_step = third;
      return std::string(protocol::kTimeSet);
    case 'P':
      if (third > kMaxVrefStep) return {};
      m_options.vref_step = third;
      return std::string(protocol::kVrefSet);
    default:
      return {};
  }
}

std::string Controller::StoreCurve(int curve, std::string_view point_bytes) {
  protocol::CurvePoints points{};
  for (std::size_t i = 0; i < protocol::kPoints; ++i) {
    points[i] = protocol::DecodePoint(static_cast<std::uint8_t>(point_bytes[i]));
    // A point beyond 25 degrees either way is no point byte: the curve is refused.
    if (points[i] > kHighestPoint) return {};
  }
  Ram(curve) = points;
  return std::string(protocol::kSendAccepted);
}

}  // namespace sim
