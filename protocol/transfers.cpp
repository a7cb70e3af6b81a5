#include "protocol/transfers.h"

#include <string>
#include <utility>

#include "map/axis.h"
#include "map/limits.h"
#include "map/sync.h"
#include "protocol/catalogue.h"

namespace protocol {

Transfers::Transfers(ui::Variant variant, ui::ControlSet& controls, map::CurveModel& model,
                     const serial::LinkState& link, Lockout& lockout, CommandChannel& channel,
                     ReplyRecogniser& recogniser, ui::Dialogs& dialogs, ConnectP connect,
                     StatusSetter show_status)
    : m_variant(variant),
      m_model(model),
      m_link(link),
      m_lockout(lockout),
      m_channel(channel),
      m_recogniser(recogniser),
      m_dialogs(dialogs),
      m_label34(controls["Label34"]),
      m_label35(controls["Label35"]),
      m_connect(std::move(connect)),
      m_show_status(std::move(show_status)) {
  controls["RDBut"].OnClick = [this] { RDButClick(); };
  controls["SDBut"].OnClick = [this] { SDButClick(); };
  controls["Button6"].OnClick = [this] { Button6Click(); };
}

bool Transfers::Plx() const {
  return m_variant == ui::Variant::Palunor6 && m_link.DeviceModel == "PLX";
}

void Transfers::BeginCommand() {
  m_lockout.Start();
  m_channel.TakeWaitingInput();
  m_channel.AwaitReply(Awaiting::Curve);
  m_connect();
}

void Transfers::Write(const std::string& command) {
  if (!m_channel.Send(command)) m_channel.NothingWritten();
}

bool Transfers::RefuseOutOfLimits() {
  const map::CurveModel& m = m_model;
  const std::vector<int> outside = map::PointsOutsideLimits(m, m.AdvCurves[m.CurrentCurve - 1]);
  if (outside.empty()) return false;
  const bool one = outside.size() == 1;
  m_dialogs.MessageBox("Advance " + std::to_string(m.CurrentCurve) + " was not sent: point" +
                           (one ? " " : "s ") + map::PointList(outside) + (one ? " lies" : " lie") +
                           " outside the controller's limits (" + map::LimitsText(m) + ").",
                       ui::ProgramName(m_variant), ui::DialogIcon::Error, ui::DialogButtons::Ok);
  return true;
}

void Transfers::RDButClick() {
  map::CurveModel& m = m_model;
  // A refused click restarts the count of six ticks but leaves the curves alone.
  m_lockout.ResetCount();
  if (m_lockout.Running()) return;
  // The curve shown stays the one being edited until a reply shows another; the
  // replies are filed under the curve each request asked for.
  m.CurveBeforeRead = m.CurrentCurve;
  m.ReadUnderWay = true;
  m_show_status("", ui::kGreen);
  BeginCommand();
  Write(Plx() ? ReadPlx() : ReadCurve(1));
  m_recogniser.ClearRxBuffer();
}

void Transfers::SDButClick() {
  map::CurveModel& m = m_model;
  // The status line is blanked even when the lockout refuses the click.
  m_show_status("", ui::kBlack);
  if (m_lockout.Running()) return;
  std::string message;
  if (Plx()) {
    message = SendPointCode(map::PointCodes[static_cast<std::size_t>(m.SelectedPoint - 1)]);
  } else if (m_variant == ui::Variant::Palunor || m_link.DeviceModel == "QZR") {
    if (RefuseOutOfLimits()) return;
    message = SendCurve(m.CurrentCurve, m.Working(m.CurrentCurve));
  }
  if (!message.empty() && ConfirmSend && !ConfirmSend()) return;
  if (!message.empty() && BeforeSend) BeforeSend();
  BeginCommand();
  // With no controller identified the message stays empty and nothing is written.
  const bool whole_curve = message.size() > 3;
  if (!m_channel.Send(message, m.CurrentCurve)) {
    m_channel.NothingWritten();
  } else if (whole_curve && (m.Working(m.CurrentCurve) != m.Device(m.CurrentCurve) ||
                             !m.DeviceCurveKnown[static_cast<std::size_t>(m.CurrentCurve - 1)])) {
    // From now on the controller may hold the new curve, recorded or not, whether or
    // not its "OK" ever comes: until it does, what it holds is not known.
    m.SetDeviceKnown(m.CurrentCurve, false);
    m.SetRecorded(m.CurrentCurve, false);
    map::CheckSync(m, m_label34, m_label35);
  }
}

void Transfers::Button6Click() {
  m_lockout.ResetCount();
  if (m_lockout.Running()) return;
  if (ConfirmRecord && !ConfirmRecord()) return;
  if (BeforeRecord) BeforeRecord();
  BeginCommand();
  Write(RecordEeprom(m_model.CurrentCurve));
}

}  // namespace protocol
