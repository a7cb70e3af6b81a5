// The live data toggle (Button3): "LON" starts the controller's stream of live frames
// and "LOF" stops it, under the command lockout. While it runs, Timer3 does not poll
// and the commands that would disturb the stream are disabled.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "live/option_state.h"
#include "protocol/command_channel.h"
#include "protocol/lockout.h"
#include "serial/comm_port_driver.h"
#include "ui/color.h"
#include "ui/control.h"
#include "ui/event_loop.h"

namespace live {

class LiveData {
 public:
  // StatusText becomes the text and the status line shows it in the colour.
  using StatusShower = std::function<void(const std::string& text, ui::Color color)>;

  LiveData(ui::ControlSet& controls, serial::TCommPortDriver& driver, protocol::Lockout& lockout,
           protocol::CommandChannel& channel, ui::Timer& timer3, LiveState& live,
           std::function<void()> connect_p, StatusShower show_status);

  void Button3Click();

 private:
  struct Controls {
    ui::Control& Button3;
    ui::Control& Panel2;
    ui::Control& btnAdvSet;
  };

  void SetLockedButtons(bool enabled);

  Controls m_c;
  std::vector<ui::Control*> m_locked;  // LiveDataLockedButtons
  serial::TCommPortDriver& m_driver;
  protocol::Lockout& m_lockout;
  protocol::CommandChannel& m_channel;
  ui::Timer& m_timer3;
  LiveState& m_live;
  std::function<void()> m_connect_p;
  StatusShower m_show_status;
};

}  // namespace live
