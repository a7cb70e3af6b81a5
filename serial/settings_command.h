// The "Settings" command: the connection is closed (after the user agrees), the
// settings dialog edits the driver, and the port is opened again, falling back to the
// name it had and then to "\\.\COM1". Timer3 runs again afterwards; no version
// request is sent.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "serial/comm_port_driver.h"
#include "ui/control.h"
#include "ui/dialogs.h"
#include "ui/event_loop.h"

namespace serial {

// Where the dialog looks for serial devices, and where it links the one chosen.
struct DevicePlaces {
  std::filesystem::path root = "/";
  std::filesystem::path port_map;  // empty: the per-user port map
};

class SettingsCommand {
 public:
  SettingsCommand(ui::ControlSet& controls, ui::Dialogs& dialogs, TCommPortDriver& driver,
                  ui::Timer& timer3, DevicePlaces places = {});

  void Button5Click();

  // The user chose this port name in the dialog: the name the closing saves, even
  // when it cannot be opened now and a fallback is in use.
  std::function<void(const std::string& port_name)> OnPortChosen;

 private:
  ui::Dialogs& m_dialogs;
  TCommPortDriver& m_driver;
  ui::Timer& m_timer3;
  DevicePlaces m_places;
};

}  // namespace serial
