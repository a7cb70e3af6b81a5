// The whole headless program against the emulated controller, with the line tapped:
// every byte the emulator delivered to the program (and when) and every byte the
// program wrote, so a recording is judged by what the controller actually sent.
//   logbook_test::RecordingBench bench(ui::Variant::Palunor6, 60);
//   bench.StartLiveData();
//   bench.StartRecording("run.csv");
//   bench.clock.Advance(3000);
//   bench.Menu("&Stop recording");
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "logbook/log_row.h"
#include "map/curve_model.h"
#include "serial/port_backend.h"
#include "shell/form.h"
#include "shell/platform.h"
#include "sim/controller.h"
#include "sim/emulated_port.h"
#include "testing/recording_canvas.h"
#include "testing/recording_help_viewer.h"
#include "testing/recording_window.h"
#include "testing/scripted_dialogs.h"
#include "testing/virtual_clock.h"

namespace logbook_test {

// What passed the tap: bytes to the program with the tick they were read at.
struct Tapped {
  std::vector<std::pair<std::uint8_t, std::uint32_t>> read;
  std::string written;
};

class TapPort : public serial::PortBackend {
 public:
  TapPort(std::unique_ptr<serial::PortBackend> port, ui::EventLoop& loop, Tapped& tapped)
      : m_port(std::move(port)), m_loop(loop), m_tapped(tapped) {}
  bool Open(const std::string& name) override { return m_port->Open(name); }
  bool IsOpen() const override { return m_port->IsOpen(); }
  void Close() override { m_port->Close(); }
  bool SetCommState(const serial::DeviceControlBlock& dcb) override {
    return m_port->SetCommState(dcb);
  }
  bool SetupComm(std::uint32_t in, std::uint32_t out) override {
    return m_port->SetupComm(in, out);
  }
  bool SetCommTimeouts(const serial::CommTimeouts& t) override {
    return m_port->SetCommTimeouts(t);
  }
  bool PurgeComm(std::uint32_t flags) override { return m_port->PurgeComm(flags); }
  bool ClearCommError(serial::CommStatus& status) override {
    return m_port->ClearCommError(status);
  }
  bool ReadFile(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& read) override {
    const bool ok = m_port->ReadFile(buffer, count, read);
    for (std::uint32_t i = 0; ok && i < read; ++i) {
      m_tapped.read.emplace_back(buffer[i], m_loop.TickCount());
    }
    return ok;
  }
  bool WriteFile(const std::uint8_t* data, std::uint32_t count, std::uint32_t& written) override {
    const bool ok = m_port->WriteFile(data, count, written);
    if (ok) m_tapped.written.append(reinterpret_cast<const char*>(data), written);
    return ok;
  }
  bool GetCommModemStatus(std::uint32_t& bits) override { return m_port->GetCommModemStatus(bits); }

 private:
  std::unique_ptr<serial::PortBackend> m_port;
  ui::EventLoop& m_loop;
  Tapped& m_tapped;
};

class RecordingCanvases : public ui::CanvasFactory {
 public:
  std::unique_ptr<ui::Canvas> Make(int width, int height) override {
    return std::make_unique<ui::RecordingCanvas>(width, height);
  }
};

class RecordingBench {
 public:
  // The controller's firmware in tenths; a fixed wall clock at the start.
  RecordingBench(ui::Variant v, int firmware) : variant(v) {
    std::filesystem::create_directories(folder);
    controller.SetVersion(firmware);
    form.FormCreate();
    form.Activated();
    clock.Advance(1000);
  }
  ~RecordingBench() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  RecordingBench(const RecordingBench&) = delete;
  RecordingBench& operator=(const RecordingBench&) = delete;

  void StartLiveData() {
    form["Button3"].Click();
    clock.Advance(700);
  }
  // Chooses the command from the context menu opened on the chart.
  void Menu(const std::string& caption) {
    dialogs.AnswerMenu(caption);
    form["Image1"].MouseUp(ui::MouseButton::Right, 10, 10);
  }
  // Whether the context menu offers the command with this caption, enabled.
  bool Offers(const std::string& caption) {
    for (const ui::MenuItem& item : form.Menu().Items()) {
      if (item.caption == caption) return item.enabled;
    }
    return false;
  }
  // The tick the recording started at.
  std::uint32_t StartRecording(const std::string& name) {
    dialogs.AnswerFile((folder / name).string());
    const std::uint32_t start = clock.TickCount();
    Menu("Re&cord live data...");
    return start;
  }
  std::string File(const std::string& name) const {
    std::ifstream in(folder / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  ui::Variant variant;
  std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                 ("palunor-logbook-" + std::to_string(std::random_device{}()));
  ui::VirtualClock clock;
  ui::ScriptedDialogs dialogs;
  ui::RecordingHelpViewer help;
  RecordingCanvases canvases;
  ui::RecordingWindows windows;
  sim::Controller controller{sim::Model::QZR};
  sim::EmulatedDevice device{clock, controller};
  Tapped tapped;
  shell::Platform platform{
      clock,
      dialogs,
      help,
      canvases,
      [this] { return std::make_unique<TapPort>(device.MakePort(), clock, tapped); },
      (folder / "Palunor6").string(),
      folder.string(),
      {},
      safekeeping::SystemLocalTime,
      folder.string(),
      [] { return std::chrono::system_clock::time_point(std::chrono::hours(500000)); },
      &windows};
  shell::TForm1 form{variant, platform};
};

// The rows the frames the emulator delivered from byte `first` on must give, worked
// out from the bytes alone: the period scaled by 10/26 in Palunor6 with 6.x firmware,
// the advance byte decoded as a point byte, no reading for a period of 0 or 255 or
// an advance of 31 degrees or more.
inline std::string ExpectedRows(RecordingBench& bench, std::size_t first, std::uint32_t start) {
  std::string rows;
  const auto& read = bench.tapped.read;
  for (std::size_t i = first; i + 1 < read.size(); i += 2) {
    const int period_byte = read[i].first;
    const int advance_byte = read[i + 1].first;
    const bool scaled =
        bench.variant == ui::Variant::Palunor6 && bench.controller.Version() / 10 == 6;
    const int period = scaled ? period_byte * 10 / 26 : period_byte;
    const int value = advance_byte <= 128 ? advance_byte + 25 : (153 - advance_byte + 256) % 256;
    const std::uint32_t ms = read[i + 1].second - start;
    std::ostringstream row;
    row << ms << ','
        << logbook::LocalTimeText(bench.platform.wall_clock() + std::chrono::milliseconds(ms))
        << ',' << (period == 0 ? 240 : 120000 / period / 10 * 10) << ',' << value - 25 << ','
        << period_byte << ',' << advance_byte << ','
        << (value < 56 && period != 0 && period != 255 ? 1 : 0) << ','
        << bench.form.Model().CurrentCurve << "\r\n";
    rows += row.str();
  }
  return rows;
}

// The file without its header: the comment lines and the column names.
inline std::string Rows(const std::string& file) {
  const std::string columns = std::string(logbook::kLogColumns) + "\r\n";
  const std::size_t at = file.find(columns);
  return at == std::string::npos ? "no header" : file.substr(at + columns.size());
}

}  // namespace logbook_test
