// Times the live-data logs: opening a one-hour log (36,000 frames) and drawing it on
// the Qt canvas at the plot window's size, whole and zoomed to a minute; and what
// recording and the plot window add to each live frame the form takes (the
// controller streams 10 a second: a frame's extra time times ten is the share of one
// core they cost).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <variant>

#include "gui/qt_canvas.h"
#include "gui/qt_second_window.h"
#include "logbook/log_reader.h"
#include "logbook/log_row.h"
#include "logbook/plot.h"
#include "shell/form.h"
#include "shell/platform.h"
#include "sim/controller.h"
#include "testing/memory_port.h"
#include "testing/recording_help_viewer.h"
#include "testing/scripted_dialogs.h"
#include "testing/virtual_clock.h"

namespace {

constexpr std::uint32_t kHourFrames = 36000;
constexpr std::uint32_t kPollMs = 50;
constexpr std::uint32_t kLockoutMs = 700;
constexpr int kMenuKey = 93;

// A log of one hour of the emulated engine, written once per run.
const std::filesystem::path& HourLog() {
  static const QTemporaryDir dir;
  static const std::filesystem::path path = [] {
    const std::filesystem::path file = dir.path().toStdString() + "/hour.csv";
    logbook::LogStart start{"QZR", 60, 20, 18, {}, {}};
    for (std::size_t i = 0; i < logbook::kAxisPoints; ++i) {
      start.rpm_axis[i] = 500 + 400 * static_cast<int>(i);
      start.curves[0][i] = static_cast<std::uint8_t>(20 + i);
      start.curves[1][i] = static_cast<std::uint8_t>(30 + i / 2);
    }
    std::string text = logbook::LogHeader(start);
    sim::Controller controller;
    for (std::uint32_t i = 0; i < kHourFrames; ++i) {
      const std::string frame = controller.NextLiveFrame();
      const int period = static_cast<std::uint8_t>(frame[0]);
      const int rpm = period == 0 ? 240 : 120000 / period / 10 * 10;
      text += logbook::LogRow({i * 100, "2026-12-09 13:55:27.123", rpm,
                               static_cast<int>(i % 40) - 5, static_cast<std::uint8_t>(period),
                               static_cast<std::uint8_t>(frame[1]), i % 13 != 0, 1});
    }
    std::ofstream(file, std::ios::binary) << text;
    return file;
  }();
  return path;
}

void OpenHourLog(benchmark::State& state) {
  for (auto _ : state) {
    auto log = logbook::ReadLog(HourLog());
    benchmark::DoNotOptimize(log);
  }
}

void DrawHourLog(benchmark::State& state) {
  const logbook::Log log = std::get<logbook::Log>(logbook::ReadLog(HourLog()));
  const logbook::PlotSource source{log.samples, log.curves, *log.rpm_axis};
  gui::QtCanvas canvas(800, 560);
  const std::uint32_t span = static_cast<std::uint32_t>(state.range(0)) * 1000;
  const std::uint32_t end = log.samples.back().time_ms + 1;
  for (auto _ : state) logbook::DrawPlot(canvas, source, {end / 2 - span / 2, end / 2 + span / 2});
}

// The form with live data running against the emulated controller; with `logbook`,
// recording to a file and the plot window open too.
class LiveProgram {
 public:
  explicit LiveProgram(bool logbook) : m_form(ui::Variant::Palunor6, m_platform) {
    m_controller.SetVersion(60);
    m_form.FormCreate();
    m_form.Activated();
    Deliver(m_controller.VersionReplyBytes());
    m_clock.Advance(kLockoutMs);
    m_form["Button3"].Click();
    m_clock.Advance(kLockoutMs);
    if (logbook) {
      m_dialogs.AnswerMenu("Re&cord live data...");
      m_dialogs.AnswerFile(m_dir.path().toStdString() + "/live.csv");
      Menu();
      m_dialogs.AnswerMenu("&Plot...");
      Menu();
    }
    Frame();
  }

  // With the logbook: the recording's file has its header and the plot is shown.
  bool Recording() const {
    return std::filesystem::exists(m_dir.path().toStdString() + "/live.csv") &&
           QApplication::topLevelWidgets().size() == 1 &&
           QApplication::topLevelWidgets()[0]->isVisible();
  }

  void Frame() {
    Deliver(m_controller.NextLiveFrame());
    QCoreApplication::processEvents();
  }

 private:
  void Menu() { m_form.ShortcutKey({kMenuKey, false, false}); }
  void Deliver(const std::string& bytes) {
    m_device->Feed(bytes);
    m_clock.Advance(kPollMs);
  }

  QTemporaryDir m_dir;
  ui::VirtualClock m_clock;
  ui::ScriptedDialogs m_dialogs;
  ui::RecordingHelpViewer m_help;
  gui::QtCanvasFactory m_canvases;
  gui::QtWindowFactory m_windows{m_dir.path().toStdString()};
  std::shared_ptr<serial::MemoryDevice> m_device = std::make_shared<serial::MemoryDevice>();
  shell::Platform m_platform{
      m_clock,
      m_dialogs,
      m_help,
      m_canvases,
      [device = m_device] { return std::make_unique<serial::MemoryPort>(device); },
      "Palunor6",
      m_dir.path().toStdString(),
      {},
      safekeeping::SystemLocalTime,
      m_dir.path().toStdString(),
      std::chrono::system_clock::now,
      &m_windows};
  sim::Controller m_controller;
  shell::TForm1 m_form;
};

void LiveFrame(benchmark::State& state) {
  const bool logbook = state.range(0) != 0;
  LiveProgram program(logbook);
  if (logbook && !program.Recording()) {
    state.SkipWithError("recording and plot did not start");
    return;
  }
  for (auto _ : state) program.Frame();
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(OpenHourLog)->Unit(benchmark::kMillisecond);
BENCHMARK(DrawHourLog)->Arg(3600)->Arg(60)->Unit(benchmark::kMillisecond);
BENCHMARK(LiveFrame)->Arg(0)->Arg(1)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(
    benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int qt_argc = 1;
  char name[] = "logbook_bench";
  char* qt_argv[] = {name, nullptr};
  QApplication app(qt_argc, qt_argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
