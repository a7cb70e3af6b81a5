#include "live/options_panel.h"

#include <string>

#include "live/status_panel.h"

namespace live {

namespace {

constexpr const char* kTwelveVoltWarning =
    "                Attention!!!\r\n12V could damage the commutator\r\n        Do you want to "
    "proceed";
constexpr const char* kTimeOff = "Time off,";

}  // namespace

OptionsPanel::OptionsPanel(ui::ControlSet& controls, OptionState& options,
                           protocol::Lockout lockout, serial::TCommPortDriver& driver,
                           ui::Timer& timer3, serial::Supervision& supervision,
                           ui::Dialogs& dialogs)
    : m_controls(controls),
      m_options(options),
      m_lockout(lockout),
      m_driver(driver),
      m_timer3(timer3),
      m_supervision(supervision),
      m_dialogs(dialogs) {}

void OptionsPanel::SRefresh(ui::Color color, unsigned item) {
  live::SRefresh(m_controls, m_options, color, item);
}

bool OptionsPanel::BeginCommand(bool stop_timer3) {
  if (m_lockout.Running()) return false;
  m_lockout.Start();
  if (stop_timer3) m_timer3.SetEnabled(false);
  return true;
}

void OptionsPanel::Send(const std::string& command) {
  if (!command.empty() && m_driver.IsOpen()) m_driver.WriteText(command);
}

void OptionsPanel::ConnectIfClosed() {
  if (!m_driver.IsOpen()) m_supervision.ConnectP();
}

void OptionsPanel::V5ButClick() {
  // A refused click still restarts the count of six ticks.
  m_lockout.ResetCount();
  if (!BeginCommand(true)) return;
  ConnectIfClosed();
  std::string command;
  if (!m_options.Output5V) {
    command = protocol::Output5V();
  } else if (m_dialogs.MessageDlg(kTwelveVoltWarning, ui::DialogIcon::Warning,
                                  ui::DialogButtons::OkCancel) == ui::DialogResult::Ok) {
    command = protocol::Output12V();
  }
  Send(command);
}

void OptionsPanel::btnPNClick() {
  m_lockout.ResetCount();
  if (!BeginCommand(true)) return;
  // This command never opens a closed port.
  Send(m_options.InputPositive ? protocol::InputNegative() : protocol::InputPositive());
}

void OptionsPanel::btnSetTimeClick() {
  if (!BeginCommand(true)) return;
  m_controls["UpDown3"].SetEnabled(false);
  ConnectIfClosed();
  Send(protocol::SetBypassTime(m_options.BypassStep));
}

void OptionsPanel::btnSVrefClick() {
  if (!BeginCommand(true)) return;
  m_controls["UpDown4"].SetEnabled(false);
  ConnectIfClosed();
  Send(protocol::SetVref(m_options.VrefStep));
}

void OptionsPanel::chTenClick() {
  const bool on = m_controls["chTen"].Checked();
  // Switching the time off keeps the supervision running: no reply is awaited by it.
  if (!BeginCommand(on)) return;
  m_controls["UpDown3"].SetEnabled(false);
  ConnectIfClosed();
  Send(on ? protocol::SetBypassTime(m_options.BypassStep) : protocol::BypassOff());
}

void OptionsPanel::btnAdvSetClick() {
  ui::Control& panel = m_controls["Panel2"];
  const bool show = !panel.Visible();
  panel.SetVisible(show);
  m_controls["btnAdvSet"].SetCaption(show ? "&Advanced<<" : "&Advanced>>");
}

void OptionsPanel::UpDown3Click() {
  const int position = m_controls["UpDown3"].Position();
  if (position == m_options.BypassStep) return;
  m_options.BypassStep = position;
  m_controls["lblTime"].SetCaption("Time: " + BypassText(position) + "sec");
  m_controls["btnSetTime"].SetEnabled(true);
}

void OptionsPanel::UpDown4Click() {
  const int position = m_controls["UpDown4"].Position();
  if (position == m_options.VrefStep) return;
  m_options.VrefStep = position;
  m_controls["lblVref"].SetCaption(VrefText(position) + "V");
  ConnectIfClosed();
  m_controls["btnSVref"].SetEnabled(true);
}

void OptionsPanel::Confirmed(const std::string& message) {
  m_options.StatusText = message;
  SRefresh(ui::kGreen, StatusItem::StatusLine);
  m_timer3.SetEnabled(true);
}

void OptionsPanel::TimeSet() {
  SRefresh(ui::kRed, StatusItem::BypassTime);
  m_controls["btnSetTime"].SetEnabled(false);
  m_controls["lblTime"].SetEnabled(true);
  m_controls["UpDown3"].SetEnabled(true);
  Confirmed("Time Changed!");
}

void OptionsPanel::TimeOff() {
  m_controls["btnSetTime"].SetEnabled(false);
  m_controls["lblTime"].SetEnabled(false);
  m_controls["chTen"].SetChecked(false);
  m_options.StatusText = kTimeOff;
  SRefresh(ui::kRed, StatusItem::BypassTime);
  Confirmed("Time Changed!");
}

void OptionsPanel::VrefSet() {
  SRefresh(ui::kRed, StatusItem::ReferenceVoltage);
  m_controls["btnSVref"].SetEnabled(false);
  m_controls["UpDown4"].SetEnabled(true);
  Confirmed("Vref Changed!");
}

void OptionsPanel::OutputNow12V() {
  m_options.Output5V = false;
  SRefresh(ui::kRed, StatusItem::OutputVoltage);
  m_controls["V5But"].SetCaption(" 5 V out");
  Confirmed("Output Volt. Changed!");
}

void OptionsPanel::OutputNow5V() {
  m_options.Output5V = true;
  SRefresh(ui::kRed, StatusItem::OutputVoltage);
  m_controls["V5But"].SetCaption("12 V out");
  Confirmed("Output Volt. Changed!");
}

void OptionsPanel::InputNowPositive() {
  m_options.InputPositive = true;
  m_controls["btnPN"].SetPicture(ui::Picture::PulseNegative);
  SRefresh(ui::kRed, StatusItem::InputSignal);
  Confirmed("Input Signal Changed!");
}

void OptionsPanel::InputNowNegative() {
  m_options.InputPositive = false;
  m_controls["btnPN"].SetPicture(ui::Picture::PulsePositive);
  SRefresh(ui::kRed, StatusItem::InputSignal);
  Confirmed("Input Signal Changed!");
}

void OptionsPanel::ShowOptionButtons() {
  // Each toggle offers the state a click switches to.
  m_controls["V5But"].SetCaption(m_options.Output5V ? "12 V out" : " 5 V out");
  m_controls["btnPN"].SetPicture(m_options.InputPositive ? ui::Picture::PulseNegative
                                                         : ui::Picture::PulsePositive);
}

void OptionsPanel::ApplyOptionStatus(const protocol::OptionStatus& status) {
  if (status.voltage == 5) m_options.Output5V = true;
  if (status.voltage == 12) m_options.Output5V = false;
  if (status.polarity == 'P') m_options.InputPositive = true;
  if (status.polarity == 'N') m_options.InputPositive = false;
  ShowOptionButtons();
  if (status.vref < 16) {
    m_controls["UpDown4"].SetPosition(status.vref);
    // Forces UpDown4Click to take the chooser's position as a change.
    m_options.VrefStep = -1;
    UpDown4Click();
    SRefresh(ui::kRed, StatusItem::ReferenceVoltage);
  }
  if (status.bypass >= 1 && status.bypass <= 20) {
    m_controls["UpDown3"].SetPosition(status.bypass);
    m_options.BypassStep = -1;
    UpDown3Click();
    SRefresh(ui::kRed, StatusItem::BypassTime);
    m_controls["lblTime"].SetEnabled(true);
    m_controls["chTen"].SetChecked(true);
  }
  if (status.bypass == 'S') {
    m_controls["btnSetTime"].SetEnabled(false);
    m_controls["lblTime"].SetEnabled(false);
    m_controls["chTen"].SetChecked(false);
    m_options.StatusText = kTimeOff;
    SRefresh(ui::kRed, StatusItem::BypassTime);
  }
  SRefresh(ui::kRed, StatusItem::OutputVoltage);
  SRefresh(ui::kRed, StatusItem::InputSignal);
}

}  // namespace live
