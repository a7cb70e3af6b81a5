#include "protocol/transfers.h"

#include <string>

#include "live/status_panel.h"
#include "map/axis.h"
#include "protocol/catalogue.h"

namespace protocol {

bool Transfers::Plx() const {
  return m_variant == ui::Variant::Palunor6 && m_parts.link.DeviceModel == "PLX";
}

void Transfers::BeginCommand() {
  m_parts.lockout.Start();
  m_parts.timer3.SetEnabled(false);
  if (!m_parts.driver.IsOpen()) m_parts.supervision.ConnectP();
}

void Transfers::RDButClick() {
  map::CurveModel& m = m_parts.model;
  // A refused click restarts the count of six ticks but leaves the curves alone,
  // so a Read under way still restores the curve shown before it.
  m_parts.lockout.ResetCount();
  if (m_parts.lockout.Running()) return;
  m.CurveBeforeRead = m.CurrentCurve;
  m.CurrentCurve = 1;
  m_parts.options.StatusText.clear();
  live::SRefresh(m_parts.controls, m_parts.options, ui::kGreen, live::StatusItem::StatusLine);
  BeginCommand();
  if (m_parts.driver.IsOpen()) {
    m_parts.driver.WriteText(Plx() ? ReadPlx() : ReadCurve(1));
    m_parts.dispatcher.ExpectCurve(1);
  }
  m_parts.dispatcher.ClearRxBuffer();
}

void Transfers::SDButClick() {
  map::CurveModel& m = m_parts.model;
  // The status line is blanked even when the lockout refuses the click.
  m_parts.options.StatusText.clear();
  live::SRefresh(m_parts.controls, m_parts.options, ui::kBlack, live::StatusItem::StatusLine);
  if (m_parts.lockout.Running()) return;
  BeginCommand();
  std::string message;
  if (Plx()) {
    message = SendPointCode(map::PointCodes[static_cast<std::size_t>(m.SelectedPoint - 1)]);
  } else if (m_variant == ui::Variant::Palunor || m_parts.link.DeviceModel == "QZR") {
    message = SendCurve(m.CurrentCurve, m.Working(m.CurrentCurve));
  }
  // With no controller identified the message stays empty and nothing is written.
  if (!message.empty() && m_parts.driver.IsOpen()) m_parts.driver.WriteText(message);
}

void Transfers::Button6Click() {
  m_parts.lockout.ResetCount();
  if (m_parts.lockout.Running()) return;
  BeginCommand();
  if (m_parts.driver.IsOpen()) m_parts.driver.WriteText(RecordEeprom(m_parts.model.CurrentCurve));
}

}  // namespace protocol
