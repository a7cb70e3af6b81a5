#include "serial/supervision.h"

#include <utility>

#include "protocol/catalogue.h"
#include "serial/port_access.h"

namespace serial {

namespace {

constexpr const char* kLostCaption = "VYN Advance Controller Program (No QZR Present!)";

// Palunor6 declares a silent controller lost after 10 ticks and polls a present one
// after 5; Palunor has the two swapped.
struct Thresholds {
  int loss_after;
  int poll_after;
};

Thresholds ThresholdsOf(ui::Variant variant) {
  return variant == ui::Variant::Palunor6 ? Thresholds{9, 4} : Thresholds{4, 9};
}

}  // namespace

Supervision::Supervision(ui::Variant variant, ui::ControlSet& controls, TCommPortDriver& driver,
                         LinkState& link, protocol::Lockout& lockout,
                         protocol::CommandChannel& channel, ui::Timer& timer3, ui::Dialogs& dialogs,
                         CaptionSetter set_caption, StatusSetter show_status)
    : m_variant(variant),
      m_c{controls["RDBut"],  controls["SDBut"],     controls["Button3"], controls["Button6"],
          controls["Panel2"], controls["btnAdvSet"], controls["Label33"]},
      m_driver(driver),
      m_link(link),
      m_lockout(lockout),
      m_channel(channel),
      m_dialogs(dialogs),
      m_set_caption(std::move(set_caption)),
      m_show_status(std::move(show_status)) {
  controls["VerBut"].OnClick = [this] { VerButClick(); };
  timer3.OnTimer = [this] { Timer3Timer(); };
}

void Supervision::ConnectP() {
  ConnectP(m_driver.PortName());
}

void Supervision::ConnectP(const std::string& chosen) {
  if (m_driver.IsOpen()) return;
  if (m_driver.OpenPort()) return;
  // Where the user may not open the device, the box also says why and what to do.
  std::string details = OpenFailureDetails(chosen);
  if (details.empty()) details = OpenFailureDetails(m_driver.PortName());
  m_dialogs.DetailedMessageBox(kComPortErrorText, details, kComPortErrorTitle,
                               ui::DialogIcon::Error, ui::DialogButtons::Ok);
}

void Supervision::VerButClick() {
  if (m_lockout.Running()) return;
  m_lockout.Start();
  if (!m_driver.IsOpen()) ConnectP();
  m_channel.Send(protocol::VersionRequest());
}

void Supervision::Timer3Timer() {
  const Thresholds limits = ThresholdsOf(m_variant);
  ++m_link.LinkTicks;
  if (!m_link.DeviceFound && m_link.LinkTicks > limits.loss_after && m_driver.IsOpen()) {
    // A command is waiting for its reply: this tick does nothing at all.
    if (m_lockout.Running()) return;
    DeclareLost();
  }
  const bool pollable = m_variant == ui::Variant::Palunor || m_link.DeviceModel == "QZR";
  if (m_driver.IsOpen() && m_link.LinkTicks > limits.poll_after && m_link.DeviceFound && pollable &&
      !m_lockout.Running()) {
    Poll();
  }
}

void Supervision::DeclareLost() {
  m_link.LinkTicks = 0;
  m_lockout.Start();
  m_set_caption(kLostCaption);
  for (ui::Control* button : {&m_c.RDBut, &m_c.SDBut, &m_c.Button3, &m_c.Button6}) {
    button->SetEnabled(false);
  }
  m_c.Panel2.SetVisible(false);
  m_c.btnAdvSet.SetCaption("&Advanced>>");
  m_c.btnAdvSet.SetEnabled(false);
  m_channel.Send(protocol::VersionRequest());
  m_show_status("Device Disconnected!", ui::kGreen);
}

void Supervision::Poll() {
  m_link.LinkTicks = 0;
  m_lockout.Start();
  if (m_variant == ui::Variant::Palunor6) m_c.Label33.SetCaption("$");
  m_channel.Send(protocol::VersionRequest());
  m_link.DeviceFound = false;
}

}  // namespace serial
