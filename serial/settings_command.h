// The "Settings" command: the connection is closed (after the user agrees), the
// settings dialog edits the driver, and the port is opened again, falling back to the
// name it had and then to "\\.\COM1". The supervision resumes afterwards; no version
// request is sent.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "protocol/command_channel.h"
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
                  ui::Timer& timer3, protocol::CommandChannel& channel, DevicePlaces places = {});

  void Button5Click();
  // The dialog is open and holds the port closed: the supervision rests.
  bool DialogOpen() const { return m_dialog_open; }

  // The user chose this port name in the dialog and it opened: the name the closing
  // saves. A choice that cannot be opened is not kept.
  std::function<void(const std::string& port_name)> OnPortChosen;

 private:
  ui::Dialogs& m_dialogs;
  TCommPortDriver& m_driver;
  ui::Timer& m_timer3;
  protocol::CommandChannel& m_channel;
  DevicePlaces m_places;
  bool m_dialog_open = false;
};

}  // namespace serial
