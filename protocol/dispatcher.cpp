#include "protocol/dispatcher.h"

#include <algorithm>
#include <utility>

#include "live/status_panel.h"
#include "map/axis.h"
#include "map/sync.h"
#include "protocol/catalogue.h"
#include "shell/button_sets.h"

namespace protocol {

namespace {

constexpr std::string_view kResetPrefixes[] = {"OK", "CH", "RE", "QZ"};
// Longer than this and not a curve reply: the buffer holds nothing recognisable.
constexpr std::size_t kOverflowLength = 32;
constexpr std::uint8_t kOptionMark = 'A';

std::uint8_t At(std::string_view bytes, std::size_t position) {
  return static_cast<std::uint8_t>(bytes[position - 1]);  // positions count from 1
}

// Each byte's decimal value, every one preceded (or followed) by a separator.
std::string Decimals(std::string_view bytes, std::string_view before, std::string_view after) {
  std::string text;
  for (char c : bytes) {
    text += before;
    text += std::to_string(static_cast<std::uint8_t>(c));
    text += after;
  }
  return text;
}

bool BeginsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

ReceiveDispatcher::ReceiveDispatcher(ui::Variant variant, Parts parts, CaptionSetter set_caption)
    : m_variant(variant), m_parts(parts), m_set_caption(std::move(set_caption)) {}

void ReceiveDispatcher::CPDrvReceiveData(serial::TCommPortDriver& /*sender*/,
                                         const std::uint8_t* data, std::uint32_t size) {
  if (data == nullptr || size == 0) return;
  const std::string chunk(reinterpret_cast<const char*>(data), size);
  ui::ControlSet& c = m_parts.controls;

  c["Label33"].SetCaption("$" + Decimals(chunk, "", ""));
  ResetRule(chunk);
  OverflowRule();
  m_rx_buffer += chunk;
  const std::vector<Answer> answers = CurveReplies();
  ThreeByteReplies();
  FourByteReplies();
  RecordedReply();
  VersionReplies();
  for (const Answer& answer : answers) TakeOptionStatus(answer);
  if (chunk.size() == kLiveFrameLength && m_parts.live.LiveDataExpected && OnLiveFrame) {
    OnLiveFrame(chunk);
  }
  c["Label29"].SetCaption(Decimals(chunk, " ", ""));
  // The chunk "O" followed by the chunk "K" acknowledges a send as the whole chunk
  // does. While live data runs two bytes are a frame: only the whole chunk counts.
  const bool split_acknowledgement =
      m_lone_byte == 'O' && chunk == "K" && !m_parts.live.LiveDataExpected;
  m_lone_byte = chunk.size() == 1 ? std::optional<char>(chunk[0]) : std::nullopt;
  if (chunk == kSendAccepted || split_acknowledgement) SendAccepted();
}

void ReceiveDispatcher::ResetRule(std::string_view chunk) {
  auto is_reset_prefix = [](std::string_view head) {
    return std::find(std::begin(kResetPrefixes), std::end(kResetPrefixes), head) !=
           std::end(kResetPrefixes);
  };
  const std::string joined_head =
      m_lone_byte && !chunk.empty() ? std::string{*m_lone_byte, chunk[0]} : std::string();
  if (chunk.size() >= 2 && is_reset_prefix(chunk.substr(0, 2))) {
    m_rx_buffer.clear();
  } else if (!joined_head.empty() && is_reset_prefix(joined_head)) {
    // At 9600 baud the poll falls after the first byte of a short reply about once in
    // fifty; behind the bytes of earlier replies still in RxBuffer it would never be
    // recognised. The reply starts at the lone byte, so the buffer does too.
    m_rx_buffer.assign(1, *m_lone_byte);
  } else {
    return;
  }
  m_parts.controls["Label31"].SetCaption(std::string(chunk));
}

void ReceiveDispatcher::OverflowRule() {
  if (m_rx_buffer.size() > kOverflowLength && !BeginsWith(m_rx_buffer, "SD")) m_rx_buffer.clear();
}

std::vector<ReceiveDispatcher::Answer> ReceiveDispatcher::CurveReplies() {
  // Exactly one reply's 34 bytes are taken each time, so a reply that arrives joined
  // to the end of the previous one is still found, and a buffer that begins with
  // "SD" never grows beyond one reply and one chunk.
  std::vector<Answer> answers;
  while (m_rx_buffer.size() >= kCurveReplyLength && BeginsWith(m_rx_buffer, "SD")) {
    answers.push_back(TakeCurveReply());
  }
  return answers;
}

ReceiveDispatcher::Answer ReceiveDispatcher::TakeCurveReply() {
  ui::ControlSet& c = m_parts.controls;
  map::CurveModel& m = m_parts.model;
  Answer answer{m_rx_buffer.substr(0, kCurveReplyLength), m_requested_curve};
  m_rx_buffer.erase(0, kCurveReplyLength);
  const std::string& reply = answer.reply;

  c["Label22"].SetCaption(Decimals(reply, " ", ""));
  // A reply nobody asked for changes no curve.
  if (answer.curve != 0) {
    for (std::size_t i = 0; i < kPoints; ++i) {
      const std::uint8_t value = DecodePoint(At(reply, i + 4));
      m.Working(answer.curve)[i] = value;
      m.Device(answer.curve)[i] = value;
    }
    m.CurvesInSync = true;
    c["Label34"].SetVisible(false);
  }
  c["Label33"].SetCaption("*" + Decimals(reply, "", " "));
  c["Label31"].SetCaption(reply.substr(0, 2));

  if (answer.curve == 1) {
    serial::TCommPortDriver& driver = m_parts.driver;
    if (!driver.IsOpen()) m_parts.supervision.ConnectP();
    m.GaugeAdvance = m.Working(1)[static_cast<std::size_t>(m.SelectedPoint - 1)];
    m_parts.gauges.Adv();
    m_parts.gauges.RPM();
    m_parts.editor.Updatesc();
    m.CurrentCurve = 2;
    // The second request needs no lockout test: it is part of the Read under way.
    if (driver.IsOpen()) {
      driver.WriteText(ReadCurve(2));
      m_requested_curve = 2;
    } else {
      m_requested_curve = 0;
    }
  } else if (answer.curve == 2) {
    m_requested_curve = 0;
  }
  return answer;
}

void ReceiveDispatcher::ThreeByteReplies() {
  live::OptionsPanel& panel = m_parts.panel;
  if (m_rx_buffer == kTimeSet) panel.TimeSet();
  if (m_rx_buffer == kTimeOff) panel.TimeOff();
  if (m_rx_buffer == kVrefSet) panel.VrefSet();
}

void ReceiveDispatcher::FourByteReplies() {
  live::OptionsPanel& panel = m_parts.panel;
  if (m_rx_buffer == kNow12V) panel.OutputNow12V();
  if (m_rx_buffer == kNow5V) panel.OutputNow5V();
  if (m_rx_buffer == kNowPositive) panel.InputNowPositive();
  if (m_rx_buffer == kNowNegative) panel.InputNowNegative();
}

void ReceiveDispatcher::RecordedReply() {
  if (m_rx_buffer != kRecorded) return;
  map::CurveModel& m = m_parts.model;
  Show("LINE " + std::to_string(m.CurrentCurve) + " SAVED", ui::kAqua);
  m.CurvesStored = true;
  m_parts.controls["Label35"].SetVisible(false);
  m_parts.timer3.SetEnabled(true);
}

void ReceiveDispatcher::VersionReplies() {
  if (m_rx_buffer.size() != kVersionReplyLength) return;
  const bool newer = m_variant == ui::Variant::Palunor6;
  const bool qzr = BeginsWith(m_rx_buffer, "QZR");
  const bool plx = newer && BeginsWith(m_rx_buffer, "PLX");
  if (!qzr && !plx) return;

  ui::ControlSet& c = m_parts.controls;
  map::CurveModel& m = m_parts.model;
  serial::LinkState& link = m_parts.link;
  if (newer) link.DeviceModel = qzr ? "QZR" : "PLX";
  if (!link.DeviceFound) {
    const std::uint8_t retard = At(m_rx_buffer, 6);
    m.MaxAdvance = At(m_rx_buffer, 5);
    m.MaxRetard = retard;
    if (newer) m.FirstPointRetard = std::min<std::uint8_t>(retard, 15);
    m.DeviceVersion = At(m_rx_buffer, 4);
    std::string caption = std::string("VYN Advance Controller Program (") + (qzr ? "QZR" : "PLX") +
                          " Version " + VersionText(m.DeviceVersion);
    if (qzr) {
      const std::uint8_t channels = At(m_rx_buffer, 7);
      if (channels == 'S') link.DualChannel = false;
      if (channels == 'D') link.DualChannel = true;
      caption += link.DualChannel ? ", Dual Channel)" : ", Single Channel)";
    } else {
      caption += ")";
    }
    m_set_caption(caption);
    shell::SetButtons(c, shell::DeviceCommandButtons(), true);
    if (newer) map::updatelab(c, m.DeviceVersion);
  }
  link.LinkTicks = 0;
  link.DeviceFound = true;
  Show("Ready!", ui::kGreen);
  m_parts.timer3.SetEnabled(true);
  c["imgStatus"].SetVisible(false);
  c["pnStatus"].SetVisible(true);
}

void ReceiveDispatcher::TakeOptionStatus(const Answer& answer) {
  // Only the reply that completes a Read carries options the program takes; the
  // option bytes of an unasked reply or of live data are not trusted.
  if (answer.curve != 2) return;
  const std::string& reply = answer.reply;
  if (At(reply, 30) == kOptionMark) {
    m_parts.controls["Label31"].SetCaption(std::to_string(At(reply, 32)));
    protocol::OptionStatus status;
    status.polarity = At(reply, 31);
    status.voltage = At(reply, 32);
    status.vref = At(reply, 33);
    status.bypass = At(reply, 34);
    m_parts.panel.ApplyOptionStatus(status);
  }
  EndOfRead();
}

void ReceiveDispatcher::EndOfRead() {
  map::CurveModel& m = m_parts.model;
  m_parts.editor.Updatesc();
  if (ui::Canvas* chart = m_parts.controls["Image1"].GetCanvas()) chart->Changed();
  m.CurrentCurve = m.CurveBeforeRead;
  m_parts.editor.Updatesc();
  Show("Lines Received!", ui::kGreen);
  m_parts.timer3.SetEnabled(true);
}

void ReceiveDispatcher::SendAccepted() {
  map::CurveModel& m = m_parts.model;
  m.CurvesInSync = true;
  m.CurvesStored = false;
  m.Device(m.CurrentCurve) = m.Working(m.CurrentCurve);
  m_parts.gauges.DrawTrace();
  Show("LINE " + std::to_string(m.CurrentCurve) + " SENT", ui::kAqua);
  map::CheckSync(m, m_parts.controls);
  m_parts.timer3.SetEnabled(true);
}

void ReceiveDispatcher::Show(const std::string& text, ui::Color color) {
  m_parts.options.StatusText = text;
  live::SRefresh(m_parts.controls, m_parts.options, color, live::StatusItem::StatusLine);
}

}  // namespace protocol
