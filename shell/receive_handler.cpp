// The window's receive handler CPDrvReceiveData: the one place that acts on what the
// controller says. The recogniser yields the replies of a chunk in the order of the
// receive steps; each is acted on here, in that order, before the next is recognised.
#include <algorithm>
#include <string>
#include <variant>
#include <vector>

#include "live/frame_reading.h"
#include "map/axis.h"
#include "map/sync.h"
#include "protocol/catalogue.h"
#include "shell/form.h"
#include "shell/form_parts.h"
#include "ui/button_sets.h"

namespace shell {

void TForm1::CPDrvReceiveData(serial::TCommPortDriver& /*sender*/, const std::uint8_t* data,
                              std::uint32_t size) {
  if (data == nullptr || size == 0) return;
  Parts& p = *m_parts;
  p.recogniser.Begin(std::string_view(reinterpret_cast<const char*>(data), size),
                     p.live.LiveDataExpected);
  bool recognised = false;
  while (std::optional<protocol::Reply> reply = p.recogniser.Next()) {
    recognised = recognised || !std::holds_alternative<protocol::Trace>(*reply);
    std::visit([this](const auto& r) { Act(r); }, *reply);
  }
  p.live_data.ChunkArrived(recognised);
}

void TForm1::Act(const protocol::Trace& trace) {
  Parts::HandlerControls& c = m_parts->handler;
  switch (trace.label) {
    case protocol::TraceLabel::Label22:
      c.Label22.SetCaption(trace.text);
      break;
    case protocol::TraceLabel::Label29:
      c.Label29.SetCaption(trace.text);
      break;
    case protocol::TraceLabel::Label31:
      c.Label31.SetCaption(trace.text);
      break;
    case protocol::TraceLabel::Label33:
      c.Label33.SetCaption(trace.text);
      break;
  }
}

void TForm1::Act(const protocol::CurveReplyFor& reply) {
  Parts& p = *m_parts;
  map::CurveModel& m = p.model;
  // A reply nobody asked for changes no curve.
  if (reply.curve == 0) return;
  // A Read replaces both working curves: one step of undo brings back both.
  if (reply.curve == 1) p.history.Record();
  p.controller_copy.Heard(reply.curve);
  m.Working(reply.curve) = reply.points;
  m.Device(reply.curve) = reply.points;
  m.SetDeviceKnown(reply.curve, true);
  // The other curve may still hold edits the controller has not seen.
  map::CheckSync(m, p.handler.Label34, p.handler.Label35);
  if (reply.curve != 1) return;

  // The first curve of a Read: shown, then the second is asked for. The request needs
  // no lockout test: it is part of the Read under way.
  p.supervision.ConnectP();
  m.GaugeAdvance = m.Working(1)[static_cast<std::size_t>(m.SelectedPoint - 1)];
  p.gauges.Adv();
  p.gauges.RPM();
  p.editor.ShowCurve(1);
  p.channel.Send(protocol::ReadCurve(2));
}

void TForm1::Act(const protocol::DamagedCurveReply& /*reply*/) {
  // The reply's points are not the controller's: nothing is stored, and the command
  // ends as if no reply had come.
  m_parts->channel.Abandon();
  Show("Reply Damaged!", ui::kRed);
}

void TForm1::Act(protocol::ShortReply reply) {
  live::OptionsPanel& panel = m_parts->panel;
  switch (reply) {
    case protocol::ShortReply::Cht:
      panel.TimeSet();
      break;
    case protocol::ShortReply::Chs:
      panel.TimeOff();
      break;
    case protocol::ShortReply::Chr:
      panel.VrefSet();
      break;
    case protocol::ShortReply::Ch12:
      panel.OutputNow12V();
      break;
    case protocol::ShortReply::Ch05:
      panel.OutputNow5V();
      break;
    case protocol::ShortReply::Chpf:
      panel.InputNowPositive();
      break;
    case protocol::ShortReply::Chnf:
      panel.InputNowNegative();
      break;
  }
}

void TForm1::Act(const protocol::Recorded& reply) {
  Parts& p = *m_parts;
  map::CurveModel& m = p.model;
  Show("LINE " + std::to_string(reply.curve) + " SAVED", ui::kAqua);
  m.SetRecorded(reply.curve, true);
  map::CheckSync(m, p.handler.Label34, p.handler.Label35);
  p.channel.ReplyCame();
  p.channel.ResumeSupervision();
}

void TForm1::Act(const protocol::VersionReply& reply) {
  Parts& p = *m_parts;
  map::CurveModel& m = p.model;
  serial::LinkState& link = p.link;
  const bool newer = m_variant == ui::Variant::Palunor6;
  const bool qzr = reply.model == "QZR";
  if (newer) link.DeviceModel = reply.model;
  if (!link.DeviceFound) {
    m.MaxAdvance = reply.max_advance;
    m.MaxRetard = reply.max_retard;
    if (newer) m.FirstPointRetard = std::min<std::uint8_t>(reply.max_retard, 15);
    m.DeviceVersion = reply.version;
    p.backups.ControllerFound(reply.model);
    std::string caption = "VYN Advance Controller Program (" + reply.model + " Version " +
                          protocol::VersionText(m.DeviceVersion);
    if (qzr) {
      if (reply.channels == 'S') link.DualChannel = false;
      if (reply.channels == 'D') link.DualChannel = true;
      caption += link.DualChannel ? ", Dual Channel)" : ", Single Channel)";
    } else {
      caption += ")";
    }
    SetCaption(caption);
    for (ui::Control* button : p.device_commands) {
      if (!LockedByLiveData(*button)) button->SetEnabled(true);
    }
    if (newer) map::updatelab(*m_controls, m.DeviceVersion);
  }
  link.LinkTicks = 0;
  link.DeviceFound = true;
  Show("Ready!", ui::kGreen);
  p.channel.ResumeSupervision();
  p.handler.imgStatus.SetVisible(false);
  p.handler.pnStatus.SetVisible(true);
}

void TForm1::Act(const protocol::ReadCompleted& reply) {
  Parts& p = *m_parts;
  map::CurveModel& m = p.model;
  // The Read is over: an option command the option status sends is no longer held back.
  p.channel.ReplyCame();
  if (reply.options) p.panel.ApplyOptionStatus(*reply.options);
  if (ui::Canvas* chart = p.handler.Image1.GetCanvas()) chart->Changed();
  m.ReadUnderWay = false;
  p.editor.ShowCurve(m.CurveBeforeRead);
  Show("Lines Received!", ui::kGreen);
  p.backups.ReadCompleted();
  p.channel.ResumeSupervision();
}

void TForm1::Act(const protocol::LiveFrame& frame) {
  Parts& p = *m_parts;
  map::CurveModel& m = p.model;
  live::LiveState& live = p.live;
  if (!live.LiveFrameSeen) {
    live.LiveFrameSeen = true;
    for (ui::Control* button :
         {&p.handler.SDBut, &p.handler.V5But, &p.handler.btnPN, &p.handler.Button6}) {
      button->SetEnabled(true);
    }
    // The stream is there; the supervision stays stopped while it runs.
    if (p.options.StatusText != "Receiving...") Show("Receiving...", ui::kGreen);
  }
  m.RpmPeriod = live::RpmPeriod(m_variant, m.DeviceVersion, frame.period);
  m.GaugeAdvance = frame.advance;
  m.RpmText = std::to_string(live::RpmOfPeriod(m.RpmPeriod));
  p.handler.Label30.SetCaption(m.RpmText);
  const bool advance_read = live::AdvanceIsReading(m.GaugeAdvance);
  if (advance_read) {
    p.gauges.RPM();
    p.gauges.Adv();
  }
  const bool period_read = m.RpmPeriod != 0 && m.RpmPeriod != 255;
  p.live_data.FrameShown({frame.period, live::AdvanceByteOf(frame.advance), m.RpmPeriod,
                          m.GaugeAdvance, m.RpmText, advance_read && period_read});
}

void TForm1::Act(const protocol::SendAcknowledged& reply) {
  Parts& p = *m_parts;
  map::CurveModel& m = p.model;
  // The curve the send named, as it was sent; a PLX point code, the curve it was sent
  // for, which the controller now holds as the screen showed it.
  const int curve = reply.send.curve;
  m.Device(curve) = reply.send.whole_curve ? reply.send.points : m.Working(curve);
  m.SetDeviceKnown(curve, true);
  p.controller_copy.Heard(curve);
  m.SetRecorded(curve, false);
  p.gauges.DrawTrace();
  Show("LINE " + std::to_string(curve) + " SENT", ui::kAqua);
  map::CheckSync(m, p.handler.Label34, p.handler.Label35);
  p.channel.ReplyCame();
  p.channel.ResumeSupervision();
}

void TForm1::ReplyOverdue(const std::optional<protocol::Request>& abandoned) {
  Parts& p = *m_parts;
  map::CurveModel& m = p.model;
  if (abandoned && abandoned->kind == protocol::RequestKind::Send && abandoned->whole_curve) {
    // The controller may have taken the curve and only its "OK" was lost: what it holds
    // is no longer known, and it may hold a curve it has not recorded.
    m.SetDeviceKnown(abandoned->curve, false);
    m.SetRecorded(abandoned->curve, false);
    map::CheckSync(m, p.handler.Label34, p.handler.Label35);
  }
  if (m.ReadUnderWay) {
    // The editor edits the curve shown before the Read again, and shows it.
    m.ReadUnderWay = false;
    p.editor.ShowCurve(m.CurveBeforeRead);
  }
  // The supervision takes the link back and declares the controller lost if it is.
  p.channel.ResumeSupervision();
}

bool TForm1::LockedByLiveData(const ui::Control& button) const {
  const Parts& p = *m_parts;
  if (!p.live.LiveMode) return false;
  const std::vector<std::string>& locked = ui::LiveDataLockedButtons();
  if (std::find(locked.begin(), locked.end(), button.Name()) == locked.end()) return false;
  // Send and REC EEPR come back with the stream's first frame; the rest stay locked.
  const bool sends = &button == &p.handler.SDBut || &button == &p.handler.Button6;
  return !sends || !p.live.LiveFrameSeen;
}

void TForm1::Show(const std::string& text, ui::Color color) {
  m_parts->status.Show(text, color);
}

}  // namespace shell
