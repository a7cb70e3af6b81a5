#include "shell/form.h"

#include <filesystem>
#include <string>

#include "live/gauges.h"
#include "live/option_state.h"
#include "live/options_panel.h"
#include "map/axis.h"
#include "map/curve_editor.h"
#include "map/curve_model.h"
#include "protocol/dispatcher.h"
#include "protocol/lockout.h"
#include "protocol/transfers.h"
#include "serial/advance_ini.h"
#include "serial/comm_port_driver.h"
#include "serial/link_state.h"
#include "serial/supervision.h"
#include "shell/button_sets.h"
#include "shell/layout.h"

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

// The program-wide state and the subsystems, owned by the form for the whole run.
struct TForm1::Parts {
  Parts(ui::Variant variant, Platform& platform, ui::ControlSet& controls,
        const std::function<void(const std::string&)>& set_caption)
      : CPDrv(platform.loop, platform.make_port()),
        Timer1(platform.loop, 100, false),
        Timer3(platform.loop, 500, true),
        gauges(variant, controls, model, live, link),
        editor(variant, controls, model, gauges),
        supervision(variant, controls, CPDrv, link, Timer1, BusyTicks, options, platform.dialogs,
                    set_caption),
        lockout(controls, Timer1, BusyTicks),
        panel(controls, options, lockout, CPDrv, Timer3, supervision, platform.dialogs),
        dispatcher(variant,
                   {controls, model, link, live, options, CPDrv, Timer3, supervision, editor,
                    gauges, panel},
                   set_caption),
        transfers(variant, {controls, model, link, options, lockout, CPDrv, Timer3, supervision,
                            dispatcher}) {}

  serial::TCommPortDriver CPDrv;
  ui::Timer Timer1;
  ui::Timer Timer3;
  std::uint8_t BusyTicks = 0;

  map::CurveModel model;
  serial::LinkState link;
  live::OptionState options;
  live::LiveState live;

  live::Gauges gauges;
  map::CurveEditor editor;
  serial::Supervision supervision;
  protocol::Lockout lockout;
  live::OptionsPanel panel;
  protocol::ReceiveDispatcher dispatcher;
  protocol::Transfers transfers;

  std::string help_file;
};

TForm1::TForm1(ui::Variant variant, Platform& platform)
    : m_variant(variant),
      m_platform(platform),
      m_controls(std::make_unique<ui::ControlSet>(LayoutTable(variant), platform.canvases)),
      m_caption(kStartCaption) {
  m_parts = std::make_unique<Parts>(variant, platform, *m_controls,
                                    [this](const std::string& caption) { SetCaption(caption); });
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
  c["SpeedButton1"].OnClick = [&p] { p.editor.SpeedButton1Click(); };
  c["SpeedButton2"].OnClick = [&p] { p.editor.SpeedButton2Click(); };
  c["SpeedButton3"].OnClick = [&p] { p.editor.SpeedButton3Click(); };
  c["SpeedButton4"].OnClick = [&p] { p.editor.SpeedButton4Click(); };
  c["VerBut"].OnClick = [&p] { p.supervision.VerButClick(); };
  p.Timer3.OnTimer = [&p] { p.supervision.Timer3Timer(); };
  p.Timer1.OnTimer = [&p] { p.lockout.Timer1Timer(); };
  p.CPDrv.OnReceiveData = [&p](serial::TCommPortDriver& sender, const std::uint8_t* data,
                               std::uint32_t size) {
    p.dispatcher.CPDrvReceiveData(sender, data, size);
  };
  c["RDBut"].OnClick = [&p] { p.transfers.RDButClick(); };
  c["SDBut"].OnClick = [&p] { p.transfers.SDButClick(); };
  c["Button6"].OnClick = [&p] { p.transfers.Button6Click(); };
  c["V5But"].OnClick = [&p] { p.panel.V5ButClick(); };
  c["btnPN"].OnClick = [&p] { p.panel.btnPNClick(); };
  c["btnSetTime"].OnClick = [&p] { p.panel.btnSetTimeClick(); };
  c["btnSVref"].OnClick = [&p] { p.panel.btnSVrefClick(); };
  c["chTen"].OnClick = [&p] { p.panel.chTenClick(); };
  c["btnAdvSet"].OnClick = [&p] { p.panel.btnAdvSetClick(); };
  c["UpDown3"].OnClick = [&p] { p.panel.UpDown3Click(); };
  c["UpDown4"].OnClick = [&p] { p.panel.UpDown4Click(); };
  for (const char* name : kKeySwallowingButtons) {
    c[name].OnKeyDown = [this](int& key) { OpenButKeyDown(key); };
    c[name].OnKeyPress = [this](int& key) { OpenButKeyPress(key); };
  }
}

void TForm1::FormCreate() {
  ui::ControlSet& c = *m_controls;
  Parts& p = *m_parts;
  map::CurveModel& m = p.model;

  // 1. The help file is the program's own path with the extension ".hlp".
  p.help_file = std::filesystem::path(m_platform.program_path).replace_extension(".hlp").string();

  // 2. Port, baud rate and data bits from "Advance.ini".
  if (auto ini = serial::ReadAdvanceIni(m_platform.work_dir)) {
    if (ini->port) p.CPDrv.SetPort(static_cast<serial::TPortNumber>(*ini->port));
    if (ini->baud_rate) {
      p.CPDrv.SetBaudRateValue(*ini->baud_rate);
    } else {
      // The conversion fails with its message; the rest of start-up still runs.
      m_platform.dialogs.MessageBox(ini->error, ApplicationTitle(), ui::DialogIcon::Error,
                                    ui::DialogButtons::Ok);
    }
    if (ini->data_bits) p.CPDrv.SetDataBits(static_cast<serial::TDataBits>(*ini->data_bits - 5));
  }

  // 3. Open the port; the fallback name is only remembered here, not opened.
  if (!p.CPDrv.OpenPort()) p.CPDrv.SetPortName(kFallbackPort);

  // 4. The drawing surfaces.
  p.gauges.PrepareSurfaces();

  // 5. The curve model and its display, then the gauges.
  m.Dragging = false;
  m.CurrentCurve = 2;
  for (auto& curve : m.AdvCurves) curve.fill(25);
  m.DeviceCurves = m.AdvCurves;
  m.CurvesStored = true;
  p.editor.Updatesc();
  m.GaugeAdvance = 25;
  m.RpmPeriod = 200;
  p.gauges.RPM();
  p.gauges.Adv();

  // 6. Gauge, lockout, option and editing state.
  p.live.NeedleAngle = 0;
  p.BusyTicks = 0;
  p.options.Output5V = false;
  p.options.InputPositive = false;
  m.SelectedPoint = 1;
  m.SelectedValue = 25;
  m.FirstPointRetard = 15;
  p.live.GaugesHidden = false;
  p.options.BypassStep = 1;
  p.options.VrefStep = 3;

  // 7. Open the port if step 3 left it closed, or say that it cannot be opened.
  p.supervision.ConnectP();

  // 8. The axis texts and the firmware version default; the older program has none.
  if (m_variant == ui::Variant::Palunor6) {
    m.AdvText = "0";
    m.RpmText = "1500";
    m.DeviceVersion = 60;
    map::updatelab(c, m.DeviceVersion);
  } else {
    m.AdvText.clear();
  }
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
  SetButtons(*m_controls, DeviceCommandButtons(), false);
  p.BusyTicks = 0;
  p.Timer1.SetEnabled(true);
  if (!p.CPDrv.IsOpen()) p.supervision.ConnectP();
  if (p.CPDrv.IsOpen()) p.CPDrv.WriteText("VER");
}

void TForm1::FormClose() {
  const serial::TCommPortDriver& drv = m_parts->CPDrv;
  // A file that cannot be written is not reported.
  serial::WriteAdvanceIni(m_platform.work_dir,
                          serial::FormatAdvanceIni(drv.PortName(), drv.BaudRateValue(),
                                                   static_cast<int>(drv.DataBits()) + 5));
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
  (*m_controls)["Label29"].SetCaption(std::to_string(key));
  key = 0;
}

void TForm1::OpenButKeyDown(int& key) {
  (*m_controls)["Label32"].SetCaption(std::to_string(key));
  key = 0;
}

void TForm1::OpenButKeyPress(int& key) {
  (*m_controls)["Label32"].SetCaption(std::to_string(key));
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
  return m_variant == ui::Variant::Palunor6 ? "Palunor6" : "Palunor";
}

serial::TCommPortDriver& TForm1::CPDrv() {
  return m_parts->CPDrv;
}
ui::Timer& TForm1::Timer1() {
  return m_parts->Timer1;
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

}  // namespace shell
