#include "shell/form.h"

#include <filesystem>
#include <string>

#include "files/utf8_path.h"
#include "map/axis.h"
#include "protocol/catalogue.h"
#include "protocol/reply_recogniser.h"
#include "safekeeping/close_warning.h"
#include "serial/advance_ini.h"
#include "shell/form_parts.h"
#include "shell/layout.h"
#include "ui/button_sets.h"

namespace shell {

namespace {

constexpr const char* kStartCaption = "VYN Advance Controller Program  (No QZR Found!)";
constexpr const char* kFallbackPort = "\\\\.\\COM1";
constexpr const char* kHelpTopic = "Mainwindow";

// The eleven buttons whose own key handling never sees a key.
constexpr const char* kKeySwallowingButtons[] = {"OpenBut", "SaveBut", "RDBut",   "SDBut",
                                                 "Button5", "Button6", "Button2", "Button4",
                                                 "VerBut",  "Button3", "V5But"};

constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;

}  // namespace

TForm1::TForm1(ui::Variant variant, Platform& platform)
    : m_variant(variant),
      m_platform(platform),
      m_controls(std::make_unique<ui::ControlSet>(LayoutTable(variant), platform.canvases)),
      m_caption(kStartCaption) {
  m_parts = std::make_unique<Parts>(*this, variant, platform, *m_controls);
  BindEvents();
}

TForm1::~TForm1() = default;

void TForm1::SetCaption(const std::string& caption) {
  if (caption == m_caption) return;
  m_caption = caption;
  if (OnCaptionChanged) OnCaptionChanged();
}

void TForm1::BindEvents() {
  ui::ControlSet& c = *m_controls;
  Parts& p = *m_parts;
  c["Button4"].OnClick = [this] { Button4Click(); };
  c["imgStatus"].OnClick = [this] { imgStatusClick(); };
  p.CPDrv.OnReceiveData = [this](serial::TCommPortDriver& sender, const std::uint8_t* data,
                                 std::uint32_t size) { CPDrvReceiveData(sender, data, size); };
  p.channel.OnReplyOverdue = [this](const std::optional<protocol::Request>& abandoned) {
    ReplyOverdue(abandoned);
  };
  for (const char* name : kKeySwallowingButtons) {
    c[name].OnKeyDown = [this](int& key) { OpenButKeyDown(key); };
    c[name].OnKeyPress = [this](int& key) { OpenButKeyPress(key); };
  }
  BindContextMenu();
}

void TForm1::FormCreate() {
  ui::ControlSet& c = *m_controls;
  Parts& p = *m_parts;
  map::CurveModel& m = p.model;

  // 1. The help file is the program's own path with the extension ".hlp".
  p.help_file =
      files::Utf8FromPath(files::PathFromUtf8(m_platform.program_path).replace_extension(".hlp"));

  // 2. Port, baud rate and data bits from "Advance.ini".
  if (auto ini = serial::ReadAdvanceIni(m_platform.work_dir)) {
    if (ini->port) p.CPDrv.SetPort(static_cast<serial::TPortNumber>(*ini->port));
    if (ini->baud_rate) {
      p.CPDrv.SetBaudRateValue(*ini->baud_rate);
    } else if (!ini->error.empty()) {
      // The conversion fails with its message; the rest of start-up still runs. A
      // number no line can run at is passed over like any other unusable value.
      m_platform.dialogs.MessageBox(ini->error, ApplicationTitle(), ui::DialogIcon::Error,
                                    ui::DialogButtons::Ok);
    }
    if (ini->data_bits) p.CPDrv.SetDataBits(static_cast<serial::TDataBits>(*ini->data_bits - 5));
  }

  // 3. Open the port; the fallback name is only remembered here, not opened. The
  // user's choice is what closing keeps.
  p.chosen_port = p.CPDrv.PortName();
  if (!p.CPDrv.OpenPort()) p.CPDrv.SetPortName(kFallbackPort);

  // 4. The drawing surfaces.
  p.gauges.PrepareSurfaces();

  // 5. The curve model and its display, then the gauges.
  m.Dragging = false;
  m.CurrentCurve = 2;
  for (auto& curve : m.AdvCurves) curve.fill(25);
  m.DeviceCurves = m.AdvCurves;
  m.SetRecorded(1, true);
  m.SetRecorded(2, true);
  p.editor.Updatesc();
  m.GaugeAdvance = 25;
  m.RpmPeriod = 200;
  p.gauges.RPM();
  p.gauges.Adv();

  // 6. Gauge, lockout, option and editing state.
  p.live.NeedleAngle = 0;
  p.lockout.ResetCount();
  p.options.Output5V = false;
  p.options.InputPositive = false;
  m.SelectedPoint = 1;
  m.SelectedValue = 25;
  m.FirstPointRetard = 15;
  p.live.GaugesHidden = false;
  p.options.BypassStep = 1;
  p.options.VrefStep = 3;

  // 7. Open the port if step 3 left it closed, or say that it cannot be opened, and
  // why the port the user chose could not.
  p.supervision.ConnectP(p.chosen_port);

  // 8. The axis texts and the firmware version default; the older program has none.
  if (m_variant == ui::Variant::Palunor6) {
    m.AdvText = "0";
    m.RpmText = "1500";
    m.DeviceVersion = 60;
    map::updatelab(c, m.DeviceVersion);
  } else {
    m.AdvText.clear();
  }

  // 9. The preferences of the additions, from their own file.
  p.preferences_command.Load();
}

void TForm1::Activated() {
  if (m_activated) return;
  m_activated = true;
  FormActivate();
}

void TForm1::FormActivate() {
  Parts& p = *m_parts;
  p.model.MaxAdvance = 25;
  p.model.MaxRetard = 25;
  for (ui::Control* button : p.device_commands) button->SetEnabled(false);
  p.lockout.Start();
  p.supervision.ConnectP();
  p.channel.Send(protocol::VersionRequest());
}

bool TForm1::FormCloseQuery() {
  const Parts& p = *m_parts;
  return safekeeping::MayClose(m_variant, p.model, p.preferences, m_platform.dialogs);
}

void TForm1::FormClose() {
  m_parts->recorder.Stop();
  const serial::TCommPortDriver& drv = m_parts->CPDrv;
  // A file that cannot be written is not reported. The port kept is the one the user
  // chose: a fallback opened because it was missing or busy must not replace it.
  serial::WriteAdvanceIni(m_platform.work_dir,
                          serial::FormatAdvanceIni(m_parts->chosen_port, drv.BaudRateValue(),
                                                   static_cast<int>(drv.DataBits()) + 5));
}

void TForm1::PortChosen(const std::string& port_name) {
  m_parts->chosen_port = port_name;
}

void TForm1::KeyDown(int& key) {
  ui::Control* focus = m_controls->Focus();
  if (focus == nullptr) {
    FormKeyDown(key);
  } else if (focus->OnKeyDown) {
    focus->OnKeyDown(key);
  }
}

void TForm1::KeyPress(int& key) {
  ui::Control* focus = m_controls->Focus();
  if (focus == nullptr) {
    FormKeyPress(key);
  } else if (focus->OnKeyPress) {
    focus->OnKeyPress(key);
  }
}

void TForm1::FormKeyDown(int& key) {
  map::CurveEditor& editor = m_parts->editor;
  switch (key) {
    case kKeyUp:
      editor.SpeedButton1Click();
      break;
    case kKeyDown:
      editor.SpeedButton2Click();
      break;
    case kKeyRight:
      editor.SpeedButton4Click();
      break;
    case kKeyLeft:
      editor.SpeedButton3Click();
      break;
    default:
      break;
  }
}

void TForm1::FormKeyPress(int& key) {
  m_parts->handler.Label29.SetCaption(std::to_string(key));
  key = 0;
}

void TForm1::OpenButKeyDown(int& key) {
  m_parts->handler.Label32.SetCaption(std::to_string(key));
  key = 0;
}

void TForm1::OpenButKeyPress(int& key) {
  m_parts->handler.Label32.SetCaption(std::to_string(key));
  key = 0;
}

void TForm1::Button4Click() {
  if (!m_platform.help.ShowContents(m_parts->help_file)) HelpMissing();
}

void TForm1::imgStatusClick() {
  if (!m_platform.help.ShowTopic(m_parts->help_file, kHelpTopic)) HelpMissing();
}

void TForm1::HelpMissing() {
  m_platform.dialogs.MessageBox("Cannot open the help file \"" + m_parts->help_file + "\".",
                                ApplicationTitle(), ui::DialogIcon::Error, ui::DialogButtons::Ok);
}

std::string TForm1::ApplicationTitle() const {
  return ui::ProgramName(m_variant);
}

serial::TCommPortDriver& TForm1::CPDrv() {
  return m_parts->CPDrv;
}
ui::Timer& TForm1::Timer1() {
  return m_parts->lockout.Timer1();
}
ui::Timer& TForm1::Timer3() {
  return m_parts->Timer3;
}
map::CurveModel& TForm1::Model() {
  return m_parts->model;
}
serial::LinkState& TForm1::Link() {
  return m_parts->link;
}
live::OptionState& TForm1::Options() {
  return m_parts->options;
}
live::LiveState& TForm1::Live() {
  return m_parts->live;
}
live::StatusPanel& TForm1::StatusPanel() {
  return m_parts->status;
}
const protocol::ReplyRecogniser& TForm1::Recogniser() const {
  return m_parts->recogniser;
}
protocol::CommandChannel& TForm1::Channel() {
  return m_parts->channel;
}
protocol::Lockout& TForm1::Lockout() {
  return m_parts->lockout;
}

ui::PreferencesValues& TForm1::Preferences() {
  return m_parts->preferences;
}

}  // namespace shell
