// The reply recogniser: turns the chunks the driver delivers into the controller's
// replies, in the fixed order of the receive steps, knowing which curve command (Read,
// Send or EEPROM write) is waiting for its answer. It keeps RxBuffer and acts on
// nothing: the window's receive handler acts on what it yields.
//
//   recogniser.Sent("RD1");                      // every command, as written
//   recogniser.Begin(chunk, live_data_expected);  // one receive event
//   while (auto reply = recogniser.Next()) { ... act; maybe Sent("RD2") ... }
//
// Replies are yielded one at a time so that a request the handler sends while acting
// on a reply (the second curve of a Read) is known before the next reply is filed.
// Only one curve command is ever waiting, and only a reply whose first byte arrived
// after that command was written can answer it: the bytes of a chunk already in hand
// when "RD2" goes out, or a late answer to an abandoned command that was already
// arriving, answer nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "protocol/catalogue.h"
#include "ui/variant.h"

namespace protocol {

// What a command sent to the controller waits for.
enum class RequestKind {
  Curve,    // "RD1", "RD", "RD2": a curve reply
  Send,     // "SD...": "OK"
  Record,   // "EW n": "RECOK"
  Version,  // "VER": a version reply
  Option,   // "O12", "O05", "INF", "IPF", "TT..", "PR..": a "CH.." confirmation
};

struct Request {
  RequestKind kind = RequestKind::Version;
  int curve = 0;             // Curve, Send, Record: the curve (1 or 2) the command names
  CurvePoints points{};      // Send of a whole curve: the point values sent
  bool whole_curve = false;  // Send: the curve travelled, not a PLX point code
};

// The request a command's bytes make, or nothing for commands that wait for no reply
// ("LON", "LOF") and bytes that are no command.
std::optional<Request> RequestOf(std::string_view command);

// A diagnostic label and the text it is given.
enum class TraceLabel { Label22, Label29, Label31, Label33 };
struct Trace {
  TraceLabel label;
  std::string text;
};

// A curve reply (steps 5.2 to 5.6), filed under the curve whose request it answers; 0
// when it answers none. A reply of 33 bytes (its last byte late or lost) carries its
// points but no option status yet.
struct CurveReplyFor {
  int curve = 0;
  CurvePoints points{};
};

// A curve reply to the request waiting for it, damaged on the line: its points are
// not the controller's, and the request is over.
struct DamagedCurveReply {
  int curve = 0;
};

// The three- and four-byte confirmations of the options panel.
enum class ShortReply { Cht, Chs, Chr, Ch12, Ch05, Chpf, Chnf };

// "RECOK" answering the EEPROM write waiting for it: the curve it named.
struct Recorded {
  int curve = 0;
};

// The option status that ends a two-curve read (step 11), taken from the curve-2
// reply; present only when byte 30 is "A".
struct ReadCompleted {
  std::optional<OptionStatus> options;
  std::uint8_t voltage_byte = 0;  // byte 32, traced whatever it holds
};

// "OK" answering a send: the curve sent and, for a whole curve, its points.
struct SendAcknowledged {
  Request send;
};

using Reply = std::variant<Trace, CurveReplyFor, DamagedCurveReply, ShortReply, Recorded,
                           VersionReply, ReadCompleted, LiveFrame, SendAcknowledged>;

class ReplyRecogniser {
 public:
  explicit ReplyRecogniser(ui::Variant variant) : m_variant(variant) {}

  // A command went out on the line. A buffer that began a curve reply and never
  // completed is dropped: whatever comes now answers this command. A send of a PLX
  // point code names no curve: `shown` is the curve it was sent for.
  void Sent(std::string_view command, int shown = 0);
  // The Read empties RxBuffer after sending its first request.
  void ClearRxBuffer() { m_rx_buffer.clear(); }
  // The command waiting for its reply is over without one: nothing answers it any more,
  // and what was received for it is dropped.
  void Expire();

  // One receive event. An empty chunk yields nothing.
  void Begin(std::string_view chunk, bool live_data_expected);
  // The next reply of the chunk, in the order of the receive steps; nothing when the
  // chunk has been dealt with.
  std::optional<Reply> Next();
  // Begin and every Next at once, for callers that send nothing in between.
  std::vector<Reply> Feed(std::string_view chunk, bool live_data_expected = false);

  const std::string& RxBuffer() const { return m_rx_buffer; }
  // The curve command waiting for its reply, if any.
  const std::optional<Request>& Awaited() const { return m_awaited; }
  // A curve request is waiting for its reply.
  bool CurveAwaited() const { return m_awaited && m_awaited->kind == RequestKind::Curve; }

 private:
  enum class Step {
    Done,
    CurveReplies,
    ShortReplies,
    Version,
    OptionStatus,
    LiveFrame,
    ChunkTrace,
    Acknowledgement,
  };

  void Prepare(std::string_view chunk);
  bool TakeLateByte(std::string_view& chunk);
  void ResetRule(std::string_view chunk);
  void TakeCurveReply();
  void DropStrayBytes();
  void DropBytesBeforeCurveReply();
  void ShortReplies();
  void VersionReplies();
  void Acknowledgement();
  // The request waiting for a reply of that kind that began `ago` bytes before the end
  // of the bytes received so far; it is answered and waits no more.
  std::optional<Request> Answer(RequestKind kind, std::size_t ago);
  void Emit(Reply reply) { m_pending.push_back(std::move(reply)); }

  ui::Variant m_variant;
  std::string m_rx_buffer;
  std::optional<Request> m_awaited;
  // Bytes received before the awaited request was written, and bytes received in all:
  // positions in the stream of bytes from the controller.
  std::uint64_t m_awaited_after = 0;
  std::uint64_t m_received = 0;

  // The chunk under way and what is left to yield of it.
  std::string m_chunk;
  // The chunk less a late byte that completed the previous reply.
  std::string m_rest;
  bool m_live_expected = false;
  Step m_step = Step::Done;
  std::deque<Reply> m_pending;
  // Curve-2 replies taken in this chunk whose option status step 11 examines.
  std::vector<std::string> m_read_ends;

  // A curve reply that came with 33 bytes: its 34th byte may still come.
  std::optional<std::string> m_short_curve_reply;
  int m_short_curve = 0;
  // The previous chunk when it was a single byte: the first byte of a reply whose
  // rest the poll has put in the next chunk.
  std::optional<char> m_lone_byte;
};

}  // namespace protocol
