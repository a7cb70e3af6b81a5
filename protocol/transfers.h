// The map transfer sequences: Read fetches both curves and the options, Send
// transmits the shown curve, and REC EEPR has the controller record it; each sends
// one command under the command lockout and the dispatcher carries the rest.
#pragma once

#include "live/option_state.h"
#include "map/curve_model.h"
#include "protocol/dispatcher.h"
#include "protocol/lockout.h"
#include "serial/comm_port_driver.h"
#include "serial/link_state.h"
#include "serial/supervision.h"
#include "ui/control.h"
#include "ui/event_loop.h"
#include "ui/variant.h"

namespace protocol {

class Transfers {
 public:
  struct Parts {
    ui::ControlSet& controls;
    map::CurveModel& model;
    const serial::LinkState& link;
    live::OptionState& options;
    Lockout lockout;
    serial::TCommPortDriver& driver;
    ui::Timer& timer3;
    serial::Supervision& supervision;
    ReceiveDispatcher& dispatcher;
  };

  Transfers(ui::Variant variant, Parts parts) : m_variant(variant), m_parts(parts) {}

  void RDButClick();
  void SDButClick();
  void Button6Click();

 private:
  // Lockout started, Timer3 stopped and the port opened if it is closed.
  void BeginCommand();
  bool Plx() const;

  ui::Variant m_variant;
  Parts m_parts;
};

}  // namespace protocol
