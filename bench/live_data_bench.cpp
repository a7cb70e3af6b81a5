// Times live data as the program takes it, without a window system: the form with
// the Qt canvases and its serial driver on an in-memory device, fed the emulated
// engine's frames one driver poll at a time. Each frame is decoded, written to the
// RPM read-out and drawn on both gauges (with the window, also painted on it); the
// items per second are the frames a second the program keeps up with. The controller
// streams 10 a second.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "gui/main_window.h"
#include "gui/qt_canvas.h"
#include "shell/form.h"
#include "shell/platform.h"
#include "sim/controller.h"
#include "testing/memory_port.h"
#include "testing/recording_help_viewer.h"
#include "testing/scripted_dialogs.h"
#include "testing/virtual_clock.h"

namespace {

constexpr std::uint32_t kPollMs = 50;
constexpr std::uint32_t kLockoutMs = 700;
constexpr int kFirmware = 60;

// One program with live data running, the controller emulated in process.
class LiveProgram {
 public:
  LiveProgram(ui::Variant variant, bool with_window) : m_form(variant, m_platform) {
    m_controller.SetVersion(kFirmware);
    m_form.FormCreate();
    if (with_window) {
      m_window = std::make_unique<gui::MainWindow>(m_form);
      m_window->show();
    }
    m_form.Activated();
    Deliver(m_controller.VersionReplyBytes());
    m_clock.Advance(kLockoutMs);
    m_form["Button3"].Click();
    m_clock.Advance(kLockoutMs);
    Frame();
  }

  // "Receiving..." once the first frame is in, with "LON" sent before it.
  bool Live() {
    return m_device->WrittenText().ends_with("LON") &&
           m_form["lblstat"].Caption() == "Receiving...";
  }

  // The engine's next frame, delivered by the driver's next poll.
  void Frame() {
    Deliver(m_controller.NextLiveFrame());
    if (m_window) QCoreApplication::processEvents();
  }

 private:
  void Deliver(const std::string& bytes) {
    m_device->Feed(bytes);
    m_clock.Advance(kPollMs);
  }

  QTemporaryDir m_dir;  // the current directory, where "Advance.ini" is looked for
  ui::VirtualClock m_clock;
  ui::ScriptedDialogs m_dialogs;
  ui::RecordingHelpViewer m_help;
  gui::QtCanvasFactory m_canvases;
  std::shared_ptr<serial::MemoryDevice> m_device = std::make_shared<serial::MemoryDevice>();
  shell::Platform m_platform{
      m_clock,
      m_dialogs,
      m_help,
      m_canvases,
      [device = m_device] { return std::make_unique<serial::MemoryPort>(device); },
      "Palunor6",
      "."};
  sim::Controller m_controller;
  shell::TForm1 m_form;
  std::unique_ptr<gui::MainWindow> m_window;
};

void Frames(benchmark::State& state, ui::Variant variant, bool with_window) {
  LiveProgram program(variant, with_window);
  if (!program.Live()) {
    state.SkipWithError("live data did not start");
    return;
  }
  for (auto _ : state) program.Frame();
  state.SetItemsProcessed(state.iterations());
}

void Palunor6Form(benchmark::State& state) {
  Frames(state, ui::Variant::Palunor6, false);
}
void PalunorForm(benchmark::State& state) {
  Frames(state, ui::Variant::Palunor, false);
}
void Palunor6Window(benchmark::State& state) {
  Frames(state, ui::Variant::Palunor6, true);
}
void PalunorWindow(benchmark::State& state) {
  Frames(state, ui::Variant::Palunor, true);
}

BENCHMARK(Palunor6Form)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
BENCHMARK(PalunorForm)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
BENCHMARK(Palunor6Window)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(PalunorWindow)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  // The window is painted on the offscreen platform, as in the tests.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
