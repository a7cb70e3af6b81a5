#include "protocol/transfers.h"

#include <string>
#include <utility>

#include "map/axis.h"
#include "protocol/catalogue.h"

namespace protocol {

Transfers::Transfers(ui::Variant variant, ui::ControlSet& controls, map::CurveModel& model,
                     const serial::LinkState& link, Lockout& lockout, CommandChannel& channel,
                     ReplyRecogniser& recogniser, ConnectP connect, StatusSetter show_status)
    : m_variant(variant),
      m_model(model),
      m_link(link),
      m_lockout(lockout),
      m_channel(channel),
      m_recogniser(recogniser),
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
  m_channel.AwaitReply();
  m_connect();
}

void Transfers::RDButClick() {
  map::CurveModel& m = m_model;
  // A refused click restarts the count of six ticks but leaves the curves alone,
  // so a Read under way still restores the curve shown before it.
  m_lockout.ResetCount();
  if (m_lockout.Running()) return;
  // A Read clicked while another waits for its replies returns to the same curve.
  if (!m.ReadUnderWay) m.CurveBeforeRead = m.CurrentCurve;
  m.ReadUnderWay = true;
  m.CurrentCurve = 1;
  m_show_status("", ui::kGreen);
  BeginCommand();
  m_channel.Send(Plx() ? ReadPlx() : ReadCurve(1));
  m_recogniser.ClearRxBuffer();
}

void Transfers::SDButClick() {
  map::CurveModel& m = m_model;
  // The status line is blanked even when the lockout refuses the click.
  m_show_status("", ui::kBlack);
  if (m_lockout.Running()) return;
  BeginCommand();
  std::string message;
  if (Plx()) {
    message = SendPointCode(map::PointCodes[static_cast<std::size_t>(m.SelectedPoint - 1)]);
  } else if (m_variant == ui::Variant::Palunor || m_link.DeviceModel == "QZR") {
    message = SendCurve(m.CurrentCurve, m.Working(m.CurrentCurve));
  }
  // With no controller identified the message stays empty and nothing is written.
  m_channel.Send(message);
}

void Transfers::Button6Click() {
  m_lockout.ResetCount();
  if (m_lockout.Running()) return;
  BeginCommand();
  m_channel.Send(RecordEeprom(m_model.CurrentCurve));
}

}  // namespace protocol
