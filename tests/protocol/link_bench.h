// The controller-facing subsystems wired as the form wires them, over the real
// layout, with a virtual clock, scripted dialogs and a serial line that records what
// the program writes. A test feeds chunks as the driver would deliver them:
//   test::LinkBench bench(ui::Variant::Palunor6);
//   bench.Receive(test::Version("QZR", 60));   // one chunk
//   EXPECT_EQ(bench.TakeWritten(), "RD2");
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "live/gauges.h"
#include "live/option_state.h"
#include "live/options_panel.h"
#include "map/curve_editor.h"
#include "map/curve_model.h"
#include "protocol/catalogue.h"
#include "protocol/dispatcher.h"
#include "protocol/lockout.h"
#include "protocol/transfers.h"
#include "serial/comm_port_driver.h"
#include "serial/link_state.h"
#include "serial/port_backend.h"
#include "serial/supervision.h"
#include "shell/layout.h"
#include "ui/control.h"
#include "ui/recording_canvas.h"
#include "ui/scripted_dialogs.h"
#include "ui/variant.h"
#include "ui/virtual_clock.h"

namespace test {

// What the line carries from the program, and whether the device can be opened.
struct Wire {
  bool available = true;
  std::string written;
};

class WirePort : public serial::PortBackend {
 public:
  explicit WirePort(std::shared_ptr<Wire> wire) : m_wire(std::move(wire)) {}
  bool Open(const std::string&) override { return m_open = m_wire->available; }
  bool IsOpen() const override { return m_open; }
  void Close() override { m_open = false; }
  bool SetCommState(const serial::DeviceControlBlock&) override { return true; }
  bool SetupComm(std::uint32_t, std::uint32_t) override { return true; }
  bool SetCommTimeouts(const serial::CommTimeouts&) override { return true; }
  bool PurgeComm(std::uint32_t) override { return true; }
  bool ClearCommError(serial::CommStatus& status) override {
    status = {};
    return true;
  }
  bool ReadFile(std::uint8_t*, std::uint32_t, std::uint32_t& read) override {
    read = 0;
    return true;
  }
  bool WriteFile(const std::uint8_t* data, std::uint32_t count, std::uint32_t& written) override {
    m_wire->written.append(reinterpret_cast<const char*>(data), count);
    written = count;
    return true;
  }
  bool GetCommModemStatus(std::uint32_t& bits) override {
    bits = 0;
    return true;
  }

 private:
  std::shared_ptr<Wire> m_wire;
  bool m_open = false;
};

class RecordingCanvases : public ui::CanvasFactory {
 public:
  std::unique_ptr<ui::Canvas> Make(int width, int height) override {
    return std::make_unique<ui::RecordingCanvas>(width, height);
  }
};

// A version reply: model, firmware in tenths, limits and channel byte.
inline std::string Version(std::string_view model, int tenths, int advance = 20, int retard = 18,
                           char channels = 'D') {
  return std::string(model) + static_cast<char>(tenths) + static_cast<char>(advance) +
         static_cast<char>(retard) + channels;
}

// A curve reply for the given point values, with the option status bytes.
inline std::string CurveReplyOf(const protocol::CurvePoints& points, char polarity = 'P',
                                int voltage = 5, int vref = 3, int bypass = 4, char mark = 'A') {
  std::string reply = "SD";
  reply += '\x07';
  for (std::uint8_t v : points) reply += static_cast<char>(protocol::EncodePoint(v));
  reply += mark;
  reply += polarity;
  reply += static_cast<char>(voltage);
  reply += static_cast<char>(vref);
  reply += static_cast<char>(bypass);
  return reply;
}

inline protocol::CurvePoints Flat() {
  protocol::CurvePoints points{};
  points.fill(25);
  return points;
}

// Points first, first + 1, ...: every point different, within 0..50.
inline protocol::CurvePoints Ramp(int first) {
  protocol::CurvePoints points{};
  for (std::size_t i = 0; i < points.size(); ++i) {
    points[i] = static_cast<std::uint8_t>((first + static_cast<int>(i)) % 51);
  }
  return points;
}

struct LinkBench {
  explicit LinkBench(ui::Variant v) : variant(v) {
    for (int c = 1; c <= 2; ++c) {
      model.Working(c).fill(25);
      model.Device(c).fill(25);
    }
    Timer1.OnTimer = [this] { lockout.Timer1Timer(); };
    Timer3.OnTimer = [this] { supervision.Timer3Timer(); };
    CPDrv.OnReceiveData = [this](serial::TCommPortDriver& sender, const std::uint8_t* data,
                                 std::uint32_t size) {
      dispatcher.CPDrvReceiveData(sender, data, size);
    };
    controls["RDBut"].OnClick = [this] { transfers.RDButClick(); };
    controls["SDBut"].OnClick = [this] { transfers.SDButClick(); };
    controls["Button6"].OnClick = [this] { transfers.Button6Click(); };
    controls["VerBut"].OnClick = [this] { supervision.VerButClick(); };
    controls["V5But"].OnClick = [this] { panel.V5ButClick(); };
    controls["btnPN"].OnClick = [this] { panel.btnPNClick(); };
    controls["btnSetTime"].OnClick = [this] { panel.btnSetTimeClick(); };
    controls["btnSVref"].OnClick = [this] { panel.btnSVrefClick(); };
    controls["chTen"].OnClick = [this] { panel.chTenClick(); };
    controls["btnAdvSet"].OnClick = [this] { panel.btnAdvSetClick(); };
    controls["UpDown3"].OnClick = [this] { panel.UpDown3Click(); };
    controls["UpDown4"].OnClick = [this] { panel.UpDown4Click(); };
    CPDrv.OpenPort();
  }

  // One chunk, as one receive event of the driver.
  void Receive(std::string_view chunk) {
    dispatcher.CPDrvReceiveData(CPDrv, reinterpret_cast<const std::uint8_t*>(chunk.data()),
                                static_cast<std::uint32_t>(chunk.size()));
  }
  // Everything written since the last call.
  std::string TakeWritten() { return std::exchange(wire->written, std::string()); }
  // The controller answers "VER"; the lockout of the request has run out.
  void Identify(std::string_view model_code = "QZR", int tenths = 60) {
    Receive(Version(model_code, tenths));
    clock.Advance(700);
    TakeWritten();
  }
  // The panels as the user sees them.
  ui::Control& operator[](const std::string& name) { return controls[name]; }

  ui::Variant variant;
  ui::VirtualClock clock;
  ui::ScriptedDialogs dialogs;
  RecordingCanvases canvases;
  ui::ControlSet controls{shell::LayoutTable(variant), canvases};
  std::shared_ptr<Wire> wire = std::make_shared<Wire>();
  serial::TCommPortDriver CPDrv{clock, std::make_unique<WirePort>(wire)};
  ui::Timer Timer1{clock, protocol::Lockout::kIntervalMs, false};
  ui::Timer Timer3{clock, serial::Supervision::kIntervalMs, true};
  std::uint8_t BusyTicks = 0;
  map::CurveModel model;
  serial::LinkState link;
  live::OptionState options;
  live::LiveState live;
  std::string caption = "VYN Advance Controller Program  (No QZR Found!)";
  live::Gauges gauges{variant, controls, model, live, link};
  map::CurveEditor editor{variant, controls, model, gauges};
  serial::Supervision supervision{
      variant, controls, CPDrv,
      link,    Timer1,   BusyTicks,
      options, dialogs,  [this](const std::string& text) { caption = text; }};
  protocol::Lockout lockout{controls, Timer1, BusyTicks};
  live::OptionsPanel panel{controls, options, lockout, CPDrv, Timer3, supervision, dialogs};
  protocol::ReceiveDispatcher dispatcher{
      variant,
      {controls, model, link, live, options, CPDrv, Timer3, supervision, editor, gauges, panel},
      [this](const std::string& text) { caption = text; }};
  protocol::Transfers transfers{
      variant, {controls, model, link, options, lockout, CPDrv, Timer3, supervision, dispatcher}};
};

}  // namespace test
