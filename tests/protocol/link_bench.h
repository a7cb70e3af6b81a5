// The whole form, with a virtual clock, scripted dialogs and a serial line that
// records what the program writes. A test feeds chunks as the driver would deliver
// them:
//   test::LinkBench bench(ui::Variant::Palunor6);
//   bench.Receive(test::Version("QZR", 60));   // one chunk
//   EXPECT_EQ(bench.TakeWritten(), "RD2");
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "live/option_state.h"
#include "live/status_panel.h"
#include "map/curve_model.h"
#include "protocol/catalogue.h"
#include "protocol/lockout.h"
#include "protocol/reply_recogniser.h"
#include "serial/comm_port_driver.h"
#include "serial/link_state.h"
#include "serial/port_backend.h"
#include "shell/form.h"
#include "shell/platform.h"
#include "testing/recording_canvas.h"
#include "testing/recording_help_viewer.h"
#include "testing/scripted_dialogs.h"
#include "testing/virtual_clock.h"
#include "ui/control.h"
#include "ui/variant.h"

namespace test {

// What the line carries from the program, what has arrived for it and waits in the
// port for the driver's next poll, and whether the device can be opened.
struct Wire {
  bool available = true;
  std::string written;
  std::string waiting;
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
    status.in_queue = static_cast<std::uint32_t>(m_wire->waiting.size());
    return true;
  }
  bool ReadFile(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& read) override {
    read = static_cast<std::uint32_t>(std::min<std::size_t>(count, m_wire->waiting.size()));
    std::copy_n(m_wire->waiting.begin(), read, buffer);
    m_wire->waiting.erase(0, read);
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

// A headless TForm1, built as the programs build it but without its start-up: both
// curves flat, the port open, Timer3 running, nothing sent yet.
struct LinkBench {
  explicit LinkBench(ui::Variant v) : variant(v) {
    for (int c = 1; c <= 2; ++c) {
      model.Working(c).fill(25);
      model.Device(c).fill(25);
    }
    form.OnCaptionChanged = [this] { caption = form.Caption(); };
    CPDrv.OpenPort();
  }

  // One chunk, as one receive event of the driver.
  void Receive(std::string_view chunk) {
    form.CPDrvReceiveData(CPDrv, reinterpret_cast<const std::uint8_t*>(chunk.data()),
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
  const std::string& RxBuffer() const { return form.Recogniser().RxBuffer(); }
  int BusyTicks() { return form.Lockout().BusyTicks(); }

  ui::Variant variant;
  ui::VirtualClock clock;
  ui::ScriptedDialogs dialogs;
  ui::RecordingHelpViewer help;
  RecordingCanvases canvases;
  std::shared_ptr<Wire> wire = std::make_shared<Wire>();
  shell::Platform platform{
      clock,      dialogs, help, canvases, [w = wire] { return std::make_unique<WirePort>(w); },
      "Palunor6", "."};
  shell::TForm1 form{variant, platform};
  std::string caption = form.Caption();

  ui::ControlSet& controls = form.Controls();
  map::CurveModel& model = form.Model();
  serial::LinkState& link = form.Link();
  live::OptionState& options = form.Options();
  live::LiveState& live = form.Live();
  live::StatusPanel& status = form.StatusPanel();
  serial::TCommPortDriver& CPDrv = form.CPDrv();
  ui::Timer& Timer1 = form.Timer1();
  ui::Timer& Timer3 = form.Timer3();
};

}  // namespace test
