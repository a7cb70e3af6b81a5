// The device options panel (Panel2): output voltage, input polarity, bypass time and
// reference voltage sent to the controller under the command lockout, and the
// controller's replies and option status shown in the panels.
#pragma once

#include <functional>
#include <string>

#include "live/option_state.h"
#include "live/status_panel.h"
#include "protocol/catalogue.h"
#include "protocol/command_channel.h"
#include "protocol/lockout.h"
#include "ui/control.h"
#include "ui/dialogs.h"
#include "ui/event_loop.h"

namespace live {

class OptionsPanel {
 public:
  // Opens the port if it is closed, telling the user when that fails.
  using ConnectP = std::function<void()>;

  // Binds the panel's buttons, check box and up-downs.
  OptionsPanel(ui::ControlSet& controls, OptionState& options, StatusPanel& status,
               protocol::Lockout& lockout, protocol::CommandChannel& channel, ui::Timer& timer3,
               ConnectP connect, ui::Dialogs& dialogs);

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

  struct Controls {
    ui::Control& V5But;
    ui::Control& btnPN;
    ui::Control& btnSetTime;
    ui::Control& btnSVref;
    ui::Control& chTen;
    ui::Control& btnAdvSet;
    ui::Control& Panel2;
    ui::Control& UpDown3;
    ui::Control& UpDown4;
    ui::Control& lblTime;
    ui::Control& lblVref;
  };

  Controls m_c;
  OptionState& m_options;
  StatusPanel& m_status;
  protocol::Lockout& m_lockout;
  protocol::CommandChannel& m_channel;
  ui::Timer& m_timer3;
  ConnectP m_connect;
  ui::Dialogs& m_dialogs;
};

}  // namespace live
