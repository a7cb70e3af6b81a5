#include "protocol/reply_recogniser.h"

#include <algorithm>
#include <utility>

namespace protocol {

namespace {

constexpr int kMaxDegrees = 25;
constexpr std::string_view kResetPrefixes[] = {"OK", "CH", "RE", "QZ"};
// Longer than this and not a curve reply: the buffer holds nothing recognisable.
constexpr std::size_t kOverflowLength = 32;
// A curve reply is recognised from its 33rd byte on: the points end at byte 29, and
// only the option status of a curve-2 reply needs byte 34.
constexpr std::size_t kShortCurveReplyLength = kCurveReplyLength - 1;
constexpr std::size_t kOptionMarkPosition = 30;
constexpr std::size_t kVoltagePosition = 32;
// The first bytes of every reply: what a buffer may begin with and still be a reply.
constexpr std::string_view kReplyStarts[] = {"SD", "OK", "CH", "RE", "QZR", "PLX"};

bool BeginsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool IsResetPrefix(std::string_view head) {
  return std::find(std::begin(kResetPrefixes), std::end(kResetPrefixes), head) !=
         std::end(kResetPrefixes);
}

// Each byte's decimal value, every one preceded and followed by a separator.
std::string Decimals(std::string_view bytes, std::string_view before, std::string_view after) {
  std::string text;
  for (char c : bytes) {
    text += before;
    text += std::to_string(static_cast<std::uint8_t>(c));
    text += after;
  }
  return text;
}

// The text is the start of a reply, or a reply starts with the text.
bool CouldBeginReply(std::string_view text) {
  return std::any_of(std::begin(kReplyStarts), std::end(kReplyStarts), [&](std::string_view s) {
    const std::size_t n = std::min(s.size(), text.size());
    return text.substr(0, n) == s.substr(0, n);
  });
}

int CurveDigit(char c) {
  return c == '1' ? 1 : c == '2' ? 2 : 0;
}

}  // namespace

std::optional<Request> RequestOf(std::string_view command) {
  Request request;
  if (command == VersionRequest()) {
    request.kind = RequestKind::Version;
  } else if (command == ReadPlx() || command == ReadCurve(1) || command == ReadCurve(2)) {
    request.kind = RequestKind::Curve;
    request.curve = command == ReadCurve(2) ? 2 : 1;
  } else if (BeginsWith(command, "SD") && command.size() == 3 + kPoints &&
             CurveDigit(command[2]) != 0) {
    request.kind = RequestKind::Send;
    request.curve = CurveDigit(command[2]);
    request.whole_curve = true;
    for (std::size_t i = 0; i < kPoints; ++i) {
      request.points[i] = DecodePoint(static_cast<std::uint8_t>(command[3 + i]));
    }
  } else if (BeginsWith(command, "SD") && command.size() == 3) {
    request.kind = RequestKind::Send;  // a PLX point code: the curve shown is meant
  } else if (BeginsWith(command, "EW") && command.size() == 3 && CurveDigit(command[2]) != 0) {
    request.kind = RequestKind::Record;
    request.curve = CurveDigit(command[2]);
  } else if (command == Output12V() || command == Output5V() || command == InputNegative() ||
             command == InputPositive() ||
             ((BeginsWith(command, "TT") || BeginsWith(command, "PR")) && command.size() == 3)) {
    request.kind = RequestKind::Option;  // "TTS" among them
  } else {
    return std::nullopt;
  }
  return request;
}

void ReplyRecogniser::Sent(std::string_view command, int shown) {
  // Between chunks a buffer that begins with "SD" is a curve reply that stopped short
  // of 33 bytes; it would swallow the start of the answer to this command.
  if (m_step == Step::Done && BeginsWith(m_rx_buffer, "SD")) m_rx_buffer.clear();
  std::optional<Request> request = RequestOf(command);
  if (!request) return;
  switch (request->kind) {
    case RequestKind::Curve:
    case RequestKind::Send:
    case RequestKind::Record:
      if (request->curve == 0) request->curve = shown;
      m_awaited = std::move(*request);
      m_awaited_after = m_received;
      break;
    case RequestKind::Version:
    case RequestKind::Option:
      // Their replies carry no curve: they are taken whenever they come.
      break;
  }
}

void ReplyRecogniser::Expire() {
  m_awaited.reset();
  m_short_curve_reply.reset();
  m_read_ends.clear();
  m_lone_byte.reset();
  m_rx_buffer.clear();
}

std::optional<Request> ReplyRecogniser::Answer(RequestKind kind, std::size_t ago) {
  if (!m_awaited || m_awaited->kind != kind) return std::nullopt;
  // Its first byte was in hand before the request went out: it answers something older.
  if (m_received - ago < m_awaited_after) return std::nullopt;
  return std::exchange(m_awaited, std::nullopt);
}

void ReplyRecogniser::Begin(std::string_view chunk, bool live_data_expected) {
  m_pending.clear();
  m_read_ends.clear();
  if (chunk.empty()) {
    m_step = Step::Done;
    return;
  }
  m_chunk = std::string(chunk);
  m_received += chunk.size();
  m_live_expected = live_data_expected;
  Prepare(m_chunk);
  m_step = Step::CurveReplies;
}

std::vector<Reply> ReplyRecogniser::Feed(std::string_view chunk, bool live_data_expected) {
  std::vector<Reply> replies;
  Begin(chunk, live_data_expected);
  while (std::optional<Reply> reply = Next()) replies.push_back(std::move(*reply));
  return replies;
}

void ReplyRecogniser::Prepare(std::string_view chunk) {
  Emit(Trace{TraceLabel::Label33, std::string("$").append(Decimals(chunk, "", ""))});
  std::string_view rest = chunk;
  TakeLateByte(rest);
  ResetRule(rest);
  if (m_rx_buffer.size() > kOverflowLength && !BeginsWith(m_rx_buffer, "SD")) m_rx_buffer.clear();
  m_rx_buffer += rest;
  if (CurveAwaited()) DropBytesBeforeCurveReply();
  m_rest = std::string(rest);
}

bool ReplyRecogniser::TakeLateByte(std::string_view& chunk) {
  if (!m_short_curve_reply) return false;
  std::string reply = *std::exchange(m_short_curve_reply, std::nullopt);
  // A chunk that begins a reply of its own does not carry the missing byte: the byte
  // was lost, and the reply stays short.
  const std::string_view head = chunk.substr(0, 2);
  if (head == "SD" || head == "PL" || IsResetPrefix(head)) return false;
  reply += chunk.front();
  chunk.remove_prefix(1);
  if (m_short_curve == 2) m_read_ends.push_back(std::move(reply));
  return true;
}

void ReplyRecogniser::ResetRule(std::string_view chunk) {
  const std::string_view head = chunk.substr(0, 2);
  if (chunk.size() >= 2 && IsResetPrefix(head)) {
    // "REC" with "OK" in the next chunk is one "RECOK" while an EEPROM write waits.
    const bool recorded_split = m_rx_buffer == kRecorded.substr(0, 3) && head == "OK" &&
                                m_awaited && m_awaited->kind == RequestKind::Record;
    if (recorded_split) return;
    m_rx_buffer.clear();
  } else if (m_lone_byte && !chunk.empty() &&
             IsResetPrefix(std::string{*m_lone_byte, chunk.front()})) {
    // At 9600 baud the poll falls after the first byte of a short reply about once in
    // fifty; behind the bytes of earlier replies still in RxBuffer it would never be
    // recognised. The reply starts at the lone byte, so the buffer does too.
    m_rx_buffer.assign(1, *m_lone_byte);
  } else if (m_lone_byte == 'S' && !chunk.empty() && chunk.front() == 'D' && CurveAwaited()) {
    // The same for a curve reply that was asked for, cut after its first byte.
    m_rx_buffer.assign(1, 'S');
    return;
  } else if (head == "SD" && CurveAwaited()) {
    // A curve reply that was asked for starts here: bytes in front of it are strays.
    m_rx_buffer.clear();
    return;
  } else {
    return;
  }
  Emit(Trace{TraceLabel::Label31, std::string(chunk)});
}

std::optional<Reply> ReplyRecogniser::Next() {
  for (;;) {
    if (!m_pending.empty()) {
      Reply reply = std::move(m_pending.front());
      m_pending.pop_front();
      return reply;
    }
    switch (m_step) {
      case Step::Done:
        return std::nullopt;
      case Step::CurveReplies:
        if (m_rx_buffer.size() >= kShortCurveReplyLength && BeginsWith(m_rx_buffer, "SD")) {
          TakeCurveReply();
        } else {
          m_step = Step::ShortReplies;
        }
        break;
      case Step::ShortReplies:
        ShortReplies();
        m_step = Step::Version;
        break;
      case Step::Version:
        VersionReplies();
        m_step = Step::OptionStatus;
        break;
      case Step::OptionStatus:
        for (const std::string& reply : m_read_ends) {
          ReadCompleted completed;
          completed.voltage_byte = static_cast<std::uint8_t>(reply[kVoltagePosition - 1]);
          if (reply[kOptionMarkPosition - 1] == 'A') {
            Emit(Trace{TraceLabel::Label31, std::to_string(completed.voltage_byte)});
            completed.options = CurveReply::Decode(reply)->options;
          }
          Emit(completed);
        }
        m_read_ends.clear();
        m_step = Step::LiveFrame;
        break;
      case Step::LiveFrame:
        if (m_live_expected) {
          if (std::optional<protocol::LiveFrame> frame = protocol::LiveFrame::Decode(m_chunk)) {
            Emit(*frame);
            Emit(Trace{TraceLabel::Label31,
                       std::to_string(static_cast<std::uint8_t>(m_chunk[0])) + "  " +
                           std::to_string(static_cast<std::uint8_t>(m_chunk[1]))});
          }
        }
        m_step = Step::ChunkTrace;
        break;
      case Step::ChunkTrace:
        Emit(Trace{TraceLabel::Label29, Decimals(m_chunk, " ", "")});
        m_step = Step::Acknowledgement;
        break;
      case Step::Acknowledgement:
        Acknowledgement();
        m_step = Step::Done;
        break;
    }
  }
}

void ReplyRecogniser::TakeCurveReply() {
  const bool whole = m_rx_buffer.size() >= kCurveReplyLength;
  const std::size_t ago = m_rx_buffer.size();
  std::string reply = m_rx_buffer.substr(0, whole ? kCurveReplyLength : kShortCurveReplyLength);
  m_rx_buffer.erase(0, reply.size());

  const bool intact = CurveReply::Intact(reply);
  const std::optional<Request> request = Answer(RequestKind::Curve, ago);
  CurveReplyFor answer;
  // A reply nobody asked for, or a damaged one, is filed under no curve.
  if (request && intact) answer.curve = request->curve;
  answer.points = *CurveReply::DecodePoints(reply);

  Emit(Trace{TraceLabel::Label22, Decimals(reply, " ", "")});
  Emit(Trace{TraceLabel::Label33, std::string("*").append(Decimals(reply, "", " "))});
  Emit(Trace{TraceLabel::Label31, reply.substr(0, 2)});
  if (request && !intact) {
    Emit(DamagedCurveReply{request->curve});
  } else {
    Emit(answer);
  }

  if (intact && !whole) {
    // Its 34th byte may still come: it must not stand in front of the next reply.
    m_short_curve_reply = std::move(reply);
    m_short_curve = answer.curve;
  } else if (answer.curve == 2) {
    m_read_ends.push_back(std::move(reply));
  }
  DropStrayBytes();
}

void ReplyRecogniser::DropBytesBeforeCurveReply() {
  // Bytes that begin no reply in front of the curve reply awaited (a live frame of a
  // stream the controller did not stop, noise) would keep it from being recognised.
  if (m_rx_buffer.empty() || CouldBeginReply(m_rx_buffer)) return;
  const std::size_t reply = m_rx_buffer.find("SD");
  if (reply != std::string::npos) {
    m_rx_buffer.erase(0, reply);
  } else if (m_rx_buffer.back() == 'S') {
    m_rx_buffer.erase(0, m_rx_buffer.size() - 1);
  } else {
    m_rx_buffer.clear();
  }
}

void ReplyRecogniser::DropStrayBytes() {
  // What follows a curve reply is kept only where a reply may begin: a carriage return
  // or noise behind it would otherwise stand in front of the next reply.
  const std::size_t next = m_rx_buffer.find("SD");
  if (next != std::string::npos) {
    m_rx_buffer.erase(0, next);
  } else if (!CouldBeginReply(m_rx_buffer)) {
    m_rx_buffer.clear();
  }
}

void ReplyRecogniser::ShortReplies() {
  struct Confirmation {
    std::string_view bytes;
    ShortReply reply;
  };
  static constexpr Confirmation kConfirmations[] = {
      {kTimeSet, ShortReply::Cht},      {kTimeOff, ShortReply::Chs},
      {kVrefSet, ShortReply::Chr},      {kNow12V, ShortReply::Ch12},
      {kNow5V, ShortReply::Ch05},       {kNowPositive, ShortReply::Chpf},
      {kNowNegative, ShortReply::Chnf},
  };
  for (const Confirmation& c : kConfirmations) {
    if (m_rx_buffer == c.bytes) Emit(c.reply);
  }
  // "RECOK" that no EEPROM write waits for records nothing.
  if (m_rx_buffer == kRecorded) {
    if (std::optional<Request> request = Answer(RequestKind::Record, m_rx_buffer.size())) {
      Emit(Recorded{request->curve});
    }
  }
}

void ReplyRecogniser::VersionReplies() {
  std::optional<VersionReply> version = VersionReply::Decode(m_rx_buffer);
  if (!version) return;
  if (m_variant == ui::Variant::Palunor && version->model != "QZR") return;
  // A curve spans 25 degrees either way, and a QZR controller names its channels "D" or
  // "S": anything else there is a byte lost or added on the line, and the limits read
  // from such a reply would let the editor and Send go past the controller's own.
  if (version->max_advance > kMaxDegrees || version->max_retard > kMaxDegrees) return;
  if (version->model == "QZR" && version->channels != 'D' && version->channels != 'S') return;
  Emit(std::move(*version));
}

void ReplyRecogniser::Acknowledgement() {
  // The chunk "O" followed by the chunk "K" acknowledges a send as the whole chunk
  // does. While live data runs two bytes are a frame: only the whole chunk counts.
  const bool split = m_lone_byte == 'O' && m_rest == "K" && !m_live_expected;
  m_lone_byte = m_rest.size() == 1 ? std::optional<char>(m_rest[0]) : std::nullopt;
  if (m_rest != kSendAccepted && !split) return;
  // "OK" that no send waits for acknowledges nothing.
  if (std::optional<Request> send = Answer(RequestKind::Send, kSendAccepted.size())) {
    Emit(SendAcknowledged{std::move(*send)});
  }
}

}  // namespace protocol
