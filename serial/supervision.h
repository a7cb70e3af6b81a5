// Connection supervision and controller discovery: ConnectP keeps the port open,
// "Find QZR" asks the controller who it is, and Timer3 polls a present QZR
// controller and declares it lost when it stops answering.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "protocol/command_channel.h"
#include "protocol/lockout.h"
#include "serial/comm_port_driver.h"
#include "serial/link_state.h"
#include "ui/color.h"
#include "ui/control.h"
#include "ui/dialogs.h"
#include "ui/event_loop.h"
#include "ui/variant.h"

namespace serial {

class Supervision {
 public:
  using CaptionSetter = std::function<void(const std::string&)>;
  // Shows a text on the status line in a colour.
  using StatusSetter = std::function<void(const std::string&, ui::Color)>;

  // Binds VerBut and Timer3.
  Supervision(ui::Variant variant, ui::ControlSet& controls, TCommPortDriver& driver,
              LinkState& link, protocol::Lockout& lockout, protocol::CommandChannel& channel,
              ui::Timer& timer3, ui::Dialogs& dialogs, CaptionSetter set_caption,
              StatusSetter show_status);

  // Opens the port if it is closed; tells the user when that fails. Nothing retries.
  void ConnectP();
  // ConnectP at start-up, when `chosen` could not be opened and the fallback is tried:
  // the box names why the port the user chose cannot be used, if the system says.
  void ConnectP(const std::string& chosen);
  void VerButClick();
  // Every 500 ms while Timer3 runs.
  void Timer3Timer();

  static constexpr std::uint32_t kIntervalMs = 500;

 private:
  void DeclareLost();
  void Poll();

  struct Controls {
    ui::Control& RDBut;
    ui::Control& SDBut;
    ui::Control& Button3;
    ui::Control& Button6;
    ui::Control& Panel2;
    ui::Control& btnAdvSet;
    ui::Control& Label33;
  };

  ui::Variant m_variant;
  Controls m_c;
  TCommPortDriver& m_driver;
  LinkState& m_link;
  protocol::Lockout& m_lockout;
  protocol::CommandChannel& m_channel;
  ui::Dialogs& m_dialogs;
  CaptionSetter m_set_caption;
  StatusSetter m_show_status;
};

}  // namespace serial
