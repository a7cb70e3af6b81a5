// Fuzzes the reply recogniser with any interleaving of commands sent, chunks received
// (raw bytes and whole or split replies), live data switched on and off, and bounds
// expiring. RxBuffer stays within one reply and one chunk, replies are only ever filed
// under requests that were sent, and the outstanding requests never pile up.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <type_traits>
#include <variant>

#include "protocol/catalogue.h"
#include "protocol/reply_recogniser.h"
#include "ui/variant.h"

#include "fuzz/fuzz_support.h"

namespace {

using protocol::ReplyRecogniser;

// Far more than any chunk yields: a loop in Next() shows as a failure, not a hang.
constexpr int kMaxRepliesPerChunk = 1000;
constexpr std::size_t kMaxChunk = 255;

std::string TakeBytes(FuzzedDataProvider& in, std::size_t count) {
  return in.ConsumeBytesAsString(count);
}

protocol::CurvePoints TakePoints(FuzzedDataProvider& in) {
  protocol::CurvePoints points{};
  for (auto& p : points) p = in.ConsumeIntegralInRange<std::uint8_t>(0, 50);
  return points;
}

// The commands the program writes, and now and then bytes that are none.
std::string TakeCommand(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 18)) {
    case 0:
      return protocol::VersionRequest();
    case 1:
      return protocol::ReadCurve(1);
    case 2:
      return protocol::ReadCurve(2);
    case 3:
      return protocol::ReadPlx();
    case 4:
      return protocol::SendCurve(in.ConsumeIntegralInRange(1, 2), TakePoints(in));
    case 5:
      return protocol::SendPointCode(in.ConsumeIntegral<std::uint8_t>());
    case 6:
      return protocol::RecordEeprom(in.ConsumeIntegralInRange(1, 2));
    case 7:
      return protocol::LiveOn();
    case 8:
      return protocol::LiveOff();
    case 9:
      return protocol::Output12V();
    case 10:
      return protocol::Output5V();
    case 11:
      return protocol::InputNegative();
    case 12:
      return protocol::InputPositive();
    case 13:
      return protocol::SetBypassTime(in.ConsumeIntegralInRange(1, 20));
    case 14:
      return protocol::BypassOff();
    case 15:
      return protocol::SetVref(in.ConsumeIntegralInRange(0, 15));
    default:
      return TakeBytes(in, in.ConsumeIntegralInRange<std::size_t>(0, 32));
  }
}

// The controller's replies, well formed, for the fuzzer to cut and corrupt.
std::string TakeReply(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 12)) {
    case 0: {
      protocol::CurveReply reply;
      reply.byte3 = in.ConsumeIntegral<std::uint8_t>();
      reply.points = TakePoints(in);
      if (in.ConsumeBool()) {
        protocol::OptionStatus options;
        options.polarity = in.PickValueInArray<std::uint8_t>({'P', 'N'});
        options.voltage = in.PickValueInArray<std::uint8_t>({5, 12});
        options.vref = in.ConsumeIntegralInRange<std::uint8_t>(0, 15);
        options.bypass = in.PickValueInArray<std::uint8_t>(
            {in.ConsumeIntegralInRange<std::uint8_t>(1, 20), 'S'});
        reply.options = options;
      }
      return reply.Encode();
    }
    case 1: {
      protocol::VersionReply reply;
      reply.model = in.ConsumeBool() ? "QZR" : "PLX";
      reply.version = in.ConsumeIntegral<std::uint8_t>();
      reply.max_advance = in.ConsumeIntegral<std::uint8_t>();
      reply.max_retard = in.ConsumeIntegral<std::uint8_t>();
      reply.channels = in.PickValueInArray<std::uint8_t>({'S', 'D'});
      return reply.Encode();
    }
    case 2:
      return std::string(protocol::kSendAccepted);
    case 3:
      return std::string(protocol::kRecorded);
    case 4:
      return std::string(protocol::kTimeSet);
    case 5:
      return std::string(protocol::kTimeOff);
    case 6:
      return std::string(protocol::kVrefSet);
    case 7:
      return std::string(protocol::kNow12V);
    case 8:
      return std::string(protocol::kNow5V);
    case 9:
      return std::string(protocol::kNowPositive);
    case 10:
      return std::string(protocol::kNowNegative);
    default: {
      protocol::LiveFrame frame;
      frame.period = in.ConsumeIntegral<std::uint8_t>();
      frame.advance = in.ConsumeIntegralInRange<std::uint8_t>(0, 50);
      return frame.Encode();
    }
  }
}

// What was asked since the last expiry, counted by the fuzzer from the bytes it sent,
// and what the recogniser has filed under it since.
struct Ledger {
  std::array<int, 3> curve_requests{};  // by curve: "RD1" and "RD" ask for curve 1
  std::array<int, 3> record_requests{};
  int send_requests = 0;
  std::array<int, 3> curve_replies{};
  std::array<int, 3> recorded{};
  int acknowledged = 0;

  void Sent(const std::string& command) {
    if (command == "RD1" || command == "RD") ++curve_requests[1];
    if (command == "RD2") ++curve_requests[2];
    if (command == "EW1") ++record_requests[1];
    if (command == "EW2") ++record_requests[2];
    if (command.rfind("SD", 0) == 0 && (command.size() == 3 || command.size() == 29)) {
      ++send_requests;
    }
  }
  void Expired() { *this = Ledger{}; }
};

class Session {
 public:
  Session(ui::Variant variant, bool reads_curve_two)
      : m_variant(variant), m_recogniser(variant), m_reads_curve_two(reads_curve_two) {}

  void Send(const std::string& command) {
    m_recogniser.Sent(command);
    m_ledger.Sent(command);
  }

  void Expire() {
    m_recogniser.Expire();
    m_ledger.Expired();
    fuzz::Check(!m_recogniser.Awaited());
  }

  void ClearRxBuffer() { m_recogniser.ClearRxBuffer(); }
  void ToggleLiveData() { m_live = !m_live; }

  void Deliver(const std::string& chunk) {
    if (!chunk.empty()) m_last_chunk = chunk.size();
    m_recogniser.Begin(chunk, m_live);
    CheckBuffer();
    int replies = 0;
    while (std::optional<protocol::Reply> reply = m_recogniser.Next()) {
      fuzz::Check(++replies <= kMaxRepliesPerChunk);
      std::visit([&](const auto& r) { Handle(r, chunk); }, *reply);
      CheckBuffer();
    }
    if (chunk.empty()) fuzz::Check(replies == 0);
  }

 private:
  void CheckBuffer() const {
    fuzz::Check(m_recogniser.RxBuffer().size() <= protocol::kCurveReplyLength + m_last_chunk);
  }

  template <typename R>
  void Handle(const R& reply, const std::string& chunk) {
    if constexpr (std::is_same_v<R, protocol::CurveReplyFor>) {
      fuzz::Check(reply.curve >= 0 && reply.curve <= 2);
      if (reply.curve != 0) {
        fuzz::Check(++m_ledger.curve_replies[reply.curve] <= m_ledger.curve_requests[reply.curve]);
        // Only an intact reply is filed: every point one the encoding can carry.
        for (std::uint8_t value : reply.points) fuzz::Check(value <= 50);
      }
      if (reply.curve == 2) ++m_curve_two_replies;
      // The receive handler asks for the second curve as soon as the first is in.
      if (reply.curve == 1 && m_reads_curve_two) Send(protocol::ReadCurve(2));
    } else if constexpr (std::is_same_v<R, protocol::DamagedCurveReply>) {
      fuzz::Check(reply.curve == 1 || reply.curve == 2);
      fuzz::Check(++m_ledger.curve_replies[reply.curve] <= m_ledger.curve_requests[reply.curve]);
    } else if constexpr (std::is_same_v<R, protocol::ReadCompleted>) {
      fuzz::Check(++m_reads_completed <= m_curve_two_replies);
    } else if constexpr (std::is_same_v<R, protocol::Recorded>) {
      fuzz::Check(reply.curve >= 0 && reply.curve <= 2);
      if (reply.curve != 0) {
        fuzz::Check(++m_ledger.recorded[reply.curve] <= m_ledger.record_requests[reply.curve]);
      }
    } else if constexpr (std::is_same_v<R, protocol::SendAcknowledged>) {
      fuzz::Check(++m_ledger.acknowledged <= m_ledger.send_requests);
    } else if constexpr (std::is_same_v<R, protocol::VersionReply>) {
      fuzz::Check(reply.model == "QZR" ||
                  (reply.model == "PLX" && m_variant == ui::Variant::Palunor6));
    } else if constexpr (std::is_same_v<R, protocol::LiveFrame>) {
      fuzz::Check(m_live && chunk.size() == protocol::kLiveFrameLength);
    }
  }

  ui::Variant m_variant;
  ReplyRecogniser m_recogniser;
  bool m_reads_curve_two;
  bool m_live = false;
  std::size_t m_last_chunk = 0;
  Ledger m_ledger;
  int m_curve_two_replies = 0;
  int m_reads_completed = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const auto variant = in.ConsumeBool() ? ui::Variant::Palunor : ui::Variant::Palunor6;
  Session session(variant, in.ConsumeBool());
  while (in.remaining_bytes() > 0) {
    switch (in.ConsumeIntegralInRange(0, 6)) {
      case 0:
        session.Send(TakeCommand(in));
        break;
      case 1:
        session.Deliver(TakeBytes(in, in.ConsumeIntegralInRange<std::size_t>(0, kMaxChunk)));
        break;
      case 2: {
        // A reply as the driver's polls cut it: whole, or in two chunks.
        const std::string reply = TakeReply(in);
        const std::size_t cut = in.ConsumeIntegralInRange<std::size_t>(0, reply.size());
        session.Deliver(reply.substr(0, cut));
        session.Deliver(reply.substr(cut));
        break;
      }
      case 3:
        session.ToggleLiveData();
        break;
      case 4:
        session.Expire();
        break;
      case 5:
        session.ClearRxBuffer();
        break;
      default:
        // The Read: its first request, then an empty buffer for the reply.
        session.Send(in.ConsumeBool() ? protocol::ReadPlx() : protocol::ReadCurve(1));
        session.ClearRxBuffer();
        break;
    }
  }
  return 0;
}
