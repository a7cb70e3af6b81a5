#include "serial/supervision.h"

#include <utility>

#include "live/status_panel.h"
#include "protocol/catalogue.h"

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
                         LinkState& link, ui::Timer& timer1, std::uint8_t& busy_ticks,
                         live::OptionState& options, ui::Dialogs& dialogs,
                         CaptionSetter set_caption)
    : m_variant(variant),
      m_controls(controls),
      m_driver(driver),
      m_link(link),
      m_lockout(controls, timer1, busy_ticks),
      m_options(options),
      m_dialogs(dialogs),
      m_set_caption(std::move(set_caption)) {}

void Supervision::ConnectP() {
  if (m_driver.IsOpen()) return;
  if (m_driver.OpenPort()) return;
  m_dialogs.MessageBox("Could not connect to serial port.\r\nPlease, check settings and try again.",
                       "COM Port Error", ui::DialogIcon::Error, ui::DialogButtons::Ok);
}

void Supervision::VerButClick() {
  if (m_lockout.Running()) return;
  m_lockout.Start();
  if (!m_driver.IsOpen()) ConnectP();
  if (m_driver.IsOpen()) m_driver.WriteText(protocol::VersionRequest());
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
  for (const char* name : {"RDBut", "SDBut", "Button3", "Button6"}) {
    m_controls[name].SetEnabled(false);
  }
  m_controls["Panel2"].SetVisible(false);
  m_controls["btnAdvSet"].SetCaption("&Advanced>>");
  m_controls["btnAdvSet"].SetEnabled(false);
  m_driver.WriteText(protocol::VersionRequest());
  m_options.StatusText = "Device Disconnected!";
  live::SRefresh(m_controls, m_options, ui::kGreen, live::StatusItem::StatusLine);
}

void Supervision::Poll() {
  m_link.LinkTicks = 0;
  m_lockout.Start();
  if (m_variant == ui::Variant::Palunor6) m_controls["Label33"].SetCaption("$");
  m_driver.WriteText(protocol::VersionRequest());
  m_link.DeviceFound = false;
}

}  // namespace serial
