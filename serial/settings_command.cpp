#include "serial/settings_command.h"

#include <utility>

#include "serial/port_access.h"
#include "serial/serial_devices.h"
#include "serial/settings_dialog.h"

namespace serial {

namespace {

constexpr const char* kConfirm =
    "Could not change settings while a connection is active.\r\nClose the connection and "
    "continue ?";
constexpr const char* kFallbackPort = "\\\\.\\COM1";

}  // namespace

SettingsCommand::SettingsCommand(ui::ControlSet& controls, ui::Dialogs& dialogs,
                                 TCommPortDriver& driver, ui::Timer& timer3,
                                 protocol::CommandChannel& channel, DevicePlaces places)
    : m_dialogs(dialogs),
      m_driver(driver),
      m_timer3(timer3),
      m_channel(channel),
      m_places(std::move(places)) {
  controls["Button5"].OnClick = [this] { Button5Click(); };
}

void SettingsCommand::Button5Click() {
  const std::string previous = m_driver.PortName();
  if (m_driver.IsOpen()) {
    if (m_dialogs.MessageDlg(kConfirm, ui::DialogIcon::Question, ui::DialogButtons::OkCancel) !=
        ui::DialogResult::Ok) {
      return;
    }
    m_timer3.SetEnabled(false);
    m_driver.ClosePort();
  }

  m_dialog_open = true;
  TSettingsForm dialog(m_driver, m_dialogs, ListSerialDevices(m_places.root),
                       m_places.port_map.empty() ? PortMapDir() : m_places.port_map);
  const bool chosen = dialog.ShowModal();
  m_dialog_open = false;
  const std::string name = m_driver.PortName();

  // Whether the dialog ended with Ok or Cancel, the port is opened again.
  if (m_driver.OpenPort()) {
    if (chosen && OnPortChosen) OnPortChosen(name);
  } else {
    // Only a device the user may not open is worth telling about here: the fallbacks
    // would otherwise hide that the chosen one can never work for this user.
    const std::string details = chosen ? OpenFailureDetails(name) : std::string();
    m_driver.SetPortName(previous);
    if (!m_driver.OpenPort()) m_driver.SetPortName(kFallbackPort);
    if (!details.empty()) {
      m_dialogs.DetailedMessageBox(kComPortErrorText, details, kComPortErrorTitle,
                                   ui::DialogIcon::Error, ui::DialogButtons::Ok);
    }
  }
  m_channel.ResumeSupervision();
}

}  // namespace serial
