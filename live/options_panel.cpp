#include "live/options_panel.h"

#include <string>
#include <utility>

#include "live/status_panel.h"

namespace live {

namespace {

constexpr const char* kTwelveVoltWarning =
    "                Attention!!!\r\n12V could damage the commutator\r\n        Do you want to "
    "proceed";
constexpr const char* kTimeOff = "Time off,";

}  // namespace

OptionsPanel::OptionsPanel(ui::ControlSet& controls, OptionState& options, StatusPanel& status,
                           protocol::Lockout& lockout, protocol::CommandChannel& channel,
                           ui::Timer& timer3, ConnectP connect, ui::Dialogs& dialogs)
    : m_c{controls["V5But"],   controls["btnPN"],     controls["btnSetTime"], controls["btnSVref"],
          controls["chTen"],   controls["btnAdvSet"], controls["Panel2"],     controls["UpDown3"],
          controls["UpDown4"], controls["lblTime"],   controls["lblVref"]},
      m_options(options),
      m_status(status),
      m_lockout(lockout),
      m_channel(channel),
      m_timer3(timer3),
      m_connect(std::move(connect)),
      m_dialogs(dialogs) {
  m_c.V5But.OnClick = [this] { V5ButClick(); };
  m_c.btnPN.OnClick = [this] { btnPNClick(); };
  m_c.btnSetTime.OnClick = [this] { btnSetTimeClick(); };
  m_c.btnSVref.OnClick = [this] { btnSVrefClick(); };
  m_c.chTen.OnClick = [this] { chTenClick(); };
  m_c.btnAdvSet.OnClick = [this] { btnAdvSetClick(); };
  m_c.UpDown3.OnClick = [this] { UpDown3Click(); };
  m_c.UpDown4.OnClick = [this] { UpDown4Click(); };
}

void OptionsPanel::SRefresh(ui::Color color, unsigned item) {
  m_status.SRefresh(color, item);
}

bool OptionsPanel::BeginCommand(bool stop_timer3) {
  if (m_lockout.Running()) return false;
  m_lockout.Start();
  // The reply is awaited with Timer3 stopped, and for no longer than the bound.
  if (stop_timer3) m_channel.AwaitReply();
  return true;
}

void OptionsPanel::Send(const std::string& command) {
  m_channel.Send(command);
}

void OptionsPanel::ConnectIfClosed() {
  m_connect();
}

void OptionsPanel::V5ButClick() {
  // A refused click still restarts the count of six ticks.
  m_lockout.ResetCount();
  if (m_lockout.Running()) return;
  m_lockout.Start();
  // No poll goes out while the user reads the warning, and the reply's bound starts
  // only when the command is written.
  m_timer3.SetEnabled(false);
  ConnectIfClosed();
  if (m_options.Output5V &&
      m_dialogs.MessageDlg(kTwelveVoltWarning, ui::DialogIcon::Warning,
                           ui::DialogButtons::OkCancel) != ui::DialogResult::Ok) {
    // Nothing was written: the supervision goes on watching the link.
    m_channel.ResumeSupervision();
    return;
  }
  m_channel.AwaitReply();
  Send(m_options.Output5V ? protocol::Output12V() : protocol::Output5V());
}

void OptionsPanel::btnPNClick() {
  m_lockout.ResetCount();
  if (!BeginCommand(true)) return;
  // This command never opens a closed port.
  Send(m_options.InputPositive ? protocol::InputNegative() : protocol::InputPositive());
}

void OptionsPanel::btnSetTimeClick() {
  if (!BeginCommand(true)) return;
  m_c.UpDown3.SetEnabled(false);
  ConnectIfClosed();
  Send(protocol::SetBypassTime(m_options.BypassStep));
}

void OptionsPanel::btnSVrefClick() {
  if (!BeginCommand(true)) return;
  m_c.UpDown4.SetEnabled(false);
  ConnectIfClosed();
  Send(protocol::SetVref(m_options.VrefStep));
}

void OptionsPanel::chTenClick() {
  const bool on = m_c.chTen.Checked();
  // Switching the time off keeps the supervision running: no reply is awaited by it.
  if (!BeginCommand(on)) return;
  m_c.UpDown3.SetEnabled(false);
  ConnectIfClosed();
  Send(on ? protocol::SetBypassTime(m_options.BypassStep) : protocol::BypassOff());
}

void OptionsPanel::btnAdvSetClick() {
  ui::Control& panel = m_c.Panel2;
  const bool show = !panel.Visible();
  panel.SetVisible(show);
  m_c.btnAdvSet.SetCaption(show ? "&Advanced<<" : "&Advanced>>");
}

void OptionsPanel::UpDown3Click() {
  const int position = m_c.UpDown3.Position();
  if (position == m_options.BypassStep) return;
  m_options.BypassStep = position;
  m_c.lblTime.SetCaption("Time: " + BypassText(position) + "sec");
  m_c.btnSetTime.SetEnabled(true);
}

void OptionsPanel::UpDown4Click() {
  const int position = m_c.UpDown4.Position();
  if (position == m_options.VrefStep) return;
  m_options.VrefStep = position;
  m_c.lblVref.SetCaption(VrefText(position) + "V");
  ConnectIfClosed();
  m_c.btnSVref.SetEnabled(true);
}

void OptionsPanel::Confirmed(const std::string& message) {
  m_options.StatusText = message;
  SRefresh(ui::kGreen, StatusItem::StatusLine);
  m_channel.OptionConfirmed();
  m_channel.ResumeSupervision();
}

void OptionsPanel::TimeSet() {
  SRefresh(ui::kRed, StatusItem::BypassTime);
  m_c.btnSetTime.SetEnabled(false);
  m_c.lblTime.SetEnabled(true);
  m_c.UpDown3.SetEnabled(true);
  Confirmed("Time Changed!");
}

void OptionsPanel::TimeOff() {
  m_c.btnSetTime.SetEnabled(false);
  m_c.lblTime.SetEnabled(false);
  m_c.chTen.SetChecked(false);
  m_options.StatusText = kTimeOff;
  SRefresh(ui::kRed, StatusItem::BypassTime);
  Confirmed("Time Changed!");
}

void OptionsPanel::VrefSet() {
  SRefresh(ui::kRed, StatusItem::ReferenceVoltage);
  m_c.btnSVref.SetEnabled(false);
  m_c.UpDown4.SetEnabled(true);
  Confirmed("Vref Changed!");
}

void OptionsPanel::OutputNow12V() {
  m_options.Output5V = false;
  SRefresh(ui::kRed, StatusItem::OutputVoltage);
  m_c.V5But.SetCaption(" 5 V out");
  Confirmed("Output Volt. Changed!");
}

void OptionsPanel::OutputNow5V() {
  m_options.Output5V = true;
  SRefresh(ui::kRed, StatusItem::OutputVoltage);
  m_c.V5But.SetCaption("12 V out");
  Confirmed("Output Volt. Changed!");
}

void OptionsPanel::InputNowPositive() {
  m_options.InputPositive = true;
  m_c.btnPN.SetPicture(ui::Picture::PulseNegative);
  SRefresh(ui::kRed, StatusItem::InputSignal);
  Confirmed("Input Signal Changed!");
}

void OptionsPanel::InputNowNegative() {
  m_options.InputPositive = false;
  m_c.btnPN.SetPicture(ui::Picture::PulsePositive);
  SRefresh(ui::kRed, StatusItem::InputSignal);
  Confirmed("Input Signal Changed!");
}

void OptionsPanel::ShowOptionButtons() {
  // Each toggle offers the state a click switches to.
  m_c.V5But.SetCaption(m_options.Output5V ? "12 V out" : " 5 V out");
  m_c.btnPN.SetPicture(m_options.InputPositive ? ui::Picture::PulseNegative
                                               : ui::Picture::PulsePositive);
}

void OptionsPanel::ApplyOptionStatus(const protocol::OptionStatus& status) {
  if (status.voltage == 5) m_options.Output5V = true;
  if (status.voltage == 12) m_options.Output5V = false;
  if (status.polarity == 'P') m_options.InputPositive = true;
  if (status.polarity == 'N') m_options.InputPositive = false;
  ShowOptionButtons();
  if (status.vref < 16) {
    m_c.UpDown4.SetPosition(status.vref);
    // Forces UpDown4Click to take the chooser's position as a change.
    m_options.VrefStep = -1;
    UpDown4Click();
    SRefresh(ui::kRed, StatusItem::ReferenceVoltage);
  }
  if (status.bypass >= 1 && status.bypass <= 20) {
    m_c.UpDown3.SetPosition(status.bypass);
    m_options.BypassStep = -1;
    UpDown3Click();
    SRefresh(ui::kRed, StatusItem::BypassTime);
    m_c.lblTime.SetEnabled(true);
    m_c.chTen.SetChecked(true);
  }
  if (status.bypass == 'S') {
    m_c.btnSetTime.SetEnabled(false);
    m_c.lblTime.SetEnabled(false);
    m_c.chTen.SetChecked(false);
    m_options.StatusText = kTimeOff;
    SRefresh(ui::kRed, StatusItem::BypassTime);
  }
  SRefresh(ui::kRed, StatusItem::OutputVoltage);
  SRefresh(ui::kRed, StatusItem::InputSignal);
}

}  // namespace live
