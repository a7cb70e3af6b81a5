// The receive dispatcher: every chunk the driver delivers is appended to RxBuffer and
// run through the fixed sequence of recognition steps, which act on the replies.
// Curve replies are tied to the curve that was asked for.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "live/gauges.h"
#include "live/option_state.h"
#include "live/options_panel.h"
#include "map/curve_editor.h"
#include "map/curve_model.h"
#include "serial/comm_port_driver.h"
#include "serial/link_state.h"
#include "serial/supervision.h"
#include "ui/control.h"
#include "ui/event_loop.h"
#include "ui/variant.h"

namespace protocol {

class ReceiveDispatcher {
 public:
  using CaptionSetter = std::function<void(const std::string&)>;

  struct Parts {
    ui::ControlSet& controls;
    map::CurveModel& model;
    serial::LinkState& link;
    live::LiveState& live;
    live::OptionState& options;
    serial::TCommPortDriver& driver;
    ui::Timer& timer3;
    serial::Supervision& supervision;
    map::CurveEditor& editor;
    live::Gauges& gauges;
    live::OptionsPanel& panel;
  };

  ReceiveDispatcher(ui::Variant variant, Parts parts, CaptionSetter set_caption);

  // The driver's OnReceiveData: one chunk, the bytes that arrived since its last poll.
  void CPDrvReceiveData(serial::TCommPortDriver& sender, const std::uint8_t* data,
                        std::uint32_t size);

  // A curve request went out: the next curve reply belongs to this curve (1 or 2).
  void ExpectCurve(int curve) { m_requested_curve = curve; }
  // The curve whose reply is awaited, 0 when none is.
  int RequestedCurve() const { return m_requested_curve; }
  void ClearRxBuffer() { m_rx_buffer.clear(); }
  const std::string& RxBuffer() const { return m_rx_buffer; }

  // A two-byte chunk while live data is expected: a live frame, handed on in its
  // place in the order (after the option status, before the send acknowledgement).
  std::function<void(std::string_view frame)> OnLiveFrame;

 private:
  // A curve reply taken from RxBuffer, and the curve it answered (0: unasked).
  struct Answer {
    std::string reply;
    int curve = 0;
  };

  void ResetRule(std::string_view chunk);
  void OverflowRule();
  std::vector<Answer> CurveReplies();
  Answer TakeCurveReply();
  void ThreeByteReplies();
  void FourByteReplies();
  void RecordedReply();
  void VersionReplies();
  void TakeOptionStatus(const Answer& answer);
  void EndOfRead();
  void SendAccepted();
  void Show(const std::string& text, ui::Color color);

  ui::Variant m_variant;
  Parts m_parts;
  CaptionSetter m_set_caption;
  std::string m_rx_buffer;
  int m_requested_curve = 0;
  // The previous chunk when it was a single byte: the first byte of a reply whose
  // rest the poll has put in the next chunk.
  std::optional<char> m_lone_byte;
};

}  // namespace protocol
