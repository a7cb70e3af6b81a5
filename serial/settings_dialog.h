// TSettingsForm, the port settings dialog: filled from the driver it edits, shown
// through the dialogs seam, and on "Ok" validated and written back to the driver.
// Besides COM1..COM16 the port list offers the serial devices present; one chosen is
// linked into the port map and used as its "\\.\COMn".
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "serial/comm_port_driver.h"
#include "serial/serial_devices.h"
#include "ui/dialogs.h"

namespace serial {

class TSettingsForm {
 public:
  // `devices` are offered after COM1..COM16; `port_map` is where a chosen one is linked.
  TSettingsForm(TCommPortDriver& driver, ui::Dialogs& dialogs, std::vector<SerialDevice> devices,
                std::filesystem::path port_map);

  // The dialog as filled from the driver.
  ui::SettingsRequest Request();
  // Shows the dialog modally; true when it closed with "Ok".
  bool ShowModal();

  // "Ok": false, after the "Error" box, when the port name is empty or the baud rate
  // is not a whole number from 110 to 921600; otherwise the settings go to the driver.
  bool OkButtonClick(const ui::SettingsValues& values);

 private:
  // The name the driver opens for the port text: a device of the list is linked.
  std::string PortNameFor(const std::string& text) const;
  void Error(const std::string& text);

  TCommPortDriver& m_driver;
  ui::Dialogs& m_dialogs;
  std::vector<SerialDevice> m_devices;
  std::filesystem::path m_port_map;
};

// The items of the lists, in the order of the driver's enumerations.
const std::vector<std::string>& PortItems();
const std::vector<std::string>& BaudRateItems();

// The baud text as the dialog reads it: a whole decimal number, -1 when it is none.
long long BaudRateOf(const std::string& text);

}  // namespace serial
