// Connection supervision and controller discovery: ConnectP keeps the port open,
// "Find QZR" asks the controller who it is, and Timer3 polls a present QZR
// controller and declares it lost when it stops answering.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "live/option_state.h"
#include "protocol/lockout.h"
#include "serial/comm_port_driver.h"
#include "serial/link_state.h"
#include "ui/control.h"
#include "ui/dialogs.h"
#include "ui/event_loop.h"
#include "ui/variant.h"

namespace serial {

class Supervision {
 public:
  using CaptionSetter = std::function<void(const std::string&)>;

  Supervision(ui::Variant variant, ui::ControlSet& controls, TCommPortDriver& driver,
              LinkState& link, ui::Timer& timer1, std::uint8_t& busy_ticks,
              live::OptionState& options, ui::Dialogs& dialogs, CaptionSetter set_caption);

  // Opens the port if it is closed; tells the user when that fails. Nothing retries.
  void ConnectP();
  void VerButClick();
  // Every 500 ms while Timer3 runs.
  void Timer3Timer();

  static constexpr std::uint32_t kIntervalMs = 500;

 private:
  void DeclareLost();
  void Poll();

  ui::Variant m_variant;
  ui::ControlSet& m_controls;
  TCommPortDriver& m_driver;
  LinkState& m_link;
  protocol::Lockout m_lockout;
  live::OptionState& m_options;
  ui::Dialogs& m_dialogs;
  CaptionSetter m_set_caption;
};

}  // namespace serial
