// Times the three drawings that run on every mouse move of a drag and every live
// frame (curve trace, RPM dial, advance gauge) on the Qt canvas, median per call.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "gui/qt_canvas.h"
#include "live/gauges.h"
#include "shell/layout.h"

namespace {

struct Window {
  gui::QtCanvasFactory canvases;
  ui::ControlSet controls{shell::LayoutTable(ui::Variant::Palunor6), canvases};
  map::CurveModel model;
  live::LiveState live;
  serial::LinkState link;
  live::Gauges gauges{ui::Variant::Palunor6, controls, model, live, link};
  Window() { gauges.PrepareSurfaces(); }
};

void DrawTrace(benchmark::State& state) {
  Window window;
  int step = 0;
  for (auto _ : state) {
    window.model.AdvCurves[0][step % 26] = static_cast<std::uint8_t>(step % 51);
    window.gauges.DrawTrace();
    ++step;
  }
}

void RPM(benchmark::State& state) {
  Window window;
  int step = 0;
  for (auto _ : state) {
    window.model.RpmPeriod = static_cast<std::uint8_t>(15 + step % 200);
    window.gauges.RPM();
    ++step;
  }
}

void Adv(benchmark::State& state) {
  Window window;
  int step = 0;
  for (auto _ : state) {
    window.model.GaugeAdvance = static_cast<std::uint8_t>(step % 51);
    window.gauges.Adv();
    ++step;
  }
}

BENCHMARK(DrawTrace)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
BENCHMARK(RPM)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
BENCHMARK(Adv)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  // QPainter on a QImage needs the GUI application for its fonts and raster engine.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
