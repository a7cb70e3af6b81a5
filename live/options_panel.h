// The device options panel (Panel2): output voltage, input polarity, bypass time and
// reference voltage sent to the controller under the command lockout, and the
// controller's replies and option status shown in the panels.
#pragma once

#include "live/option_state.h"
#include "protocol/catalogue.h"
#include "protocol/lockout.h"
#include "serial/comm_port_driver.h"
#include "serial/supervision.h"
#include "ui/control.h"
#include "ui/dialogs.h"
#include "ui/event_loop.h"

namespace live {

class OptionsPanel {
 public:
  OptionsPanel(ui::ControlSet& controls, OptionState& options, protocol::Lockout lockout,
               serial::TCommPortDriver& driver, ui::Timer& timer3, serial::Supervision& supervision,
               ui::Dialogs& dialogs);

  void SRefresh(ui::Color color, unsigned item);

  void V5ButClick();
  void btnPNClick();
  void btnSetTimeClick();
  void btnSVrefClick();
  // Runs whenever the check mark of chTen changes, by the user or by a reply.
  void chTenClick();
  void btnAdvSetClick();
  void UpDown3Click();
  void UpDown4Click();

  // The controller's confirmations: "CHT", "CHS", "CHR", "CH12", "CH05", "CHPF", "CHNF".
  void TimeSet();
  void TimeOff();
  void VrefSet();
  void OutputNow12V();
  void OutputNow5V();
  void InputNowPositive();
  void InputNowNegative();

  // The four option bytes that end a two-curve read, applied in their order.
  void ApplyOptionStatus(const protocol::OptionStatus& status);

 private:
  // The lockout starts and Timer3 stops; false while the lockout refuses the click.
  bool BeginCommand(bool stop_timer3);
  void Send(const std::string& command);
  void ConnectIfClosed();
  // StatusText shown in green and Timer3 started: the end of every confirmation.
  void Confirmed(const std::string& message);
  void ShowOptionButtons();

  ui::ControlSet& m_controls;
  OptionState& m_options;
  protocol::Lockout m_lockout;
  serial::TCommPortDriver& m_driver;
  ui::Timer& m_timer3;
  serial::Supervision& m_supervision;
  ui::Dialogs& m_dialogs;
};

}  // namespace live
