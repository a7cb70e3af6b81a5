// Fuzzes the map file loader with arbitrary file contents, through Open as the user
// runs it: it must never crash, must change only the points the file's lines hold, and
// must leave the curve shown before on screen with point 1 selected.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "live/gauges.h"
#include "map/curve_editor.h"
#include "map/limits.h"
#include "map/map_commands.h"
#include "map/map_file.h"
#include "map/marker.h"
#include "shell/layout.h"
#include "testing/recording_canvas.h"
#include "testing/scripted_dialogs.h"

#include "fuzz/fuzz_support.h"

namespace {

namespace fs = std::filesystem;

class RecordingCanvases : public ui::CanvasFactory {
 public:
  std::unique_ptr<ui::Canvas> Make(int width, int height) override {
    return std::make_unique<ui::RecordingCanvas>(width, height);
  }
};

// The parts of the window a load touches.
struct Window {
  explicit Window(const std::string& dir)
      : commands(variant, controls, model, editor, dialogs, dir) {}

  ui::Variant variant = ui::Variant::Palunor6;
  RecordingCanvases canvases;
  ui::ControlSet controls{shell::LayoutTable(variant), canvases};
  map::CurveModel model;
  live::LiveState live;
  serial::LinkState link;
  live::Gauges gauges{variant, controls, model, live, link};
  map::CurveEditor editor{variant, controls, model, gauges};
  ui::ScriptedDialogs dialogs;
  map::MapCommands commands;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::ScratchDir scratch("map");
  static Window window(scratch.Path().string());
  const std::string text(reinterpret_cast<const char*>(data), size);
  {
    std::ofstream out(scratch.Path() / "map.IJJ", std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    fuzz::Check(out.good());
  }

  // Curves unlike anything a file gives, and the second curve shown.
  map::CurveModel& model = window.model;
  for (std::size_t i = 0; i < protocol::kPoints; ++i) {
    model.Working(1)[i] = static_cast<std::uint8_t>(i);
    model.Working(2)[i] = static_cast<std::uint8_t>(100 + i);
  }
  const auto before = model.AdvCurves;
  const auto device = model.DeviceCurves;
  model.CurrentCurve = 2;
  model.SelectedPoint = 9;

  window.dialogs.AnswerFile("map.IJJ");
  window.controls["OpenBut"].Click();

  const auto lines = map::ReadMapFile(text);
  for (std::size_t c = 0; c < 2; ++c) {
    fuzz::Check(lines[c].count <= protocol::kPoints);
    for (std::size_t i = 0; i < protocol::kPoints; ++i) {
      const std::uint8_t expected = i < lines[c].count ? lines[c].points[i] : before[c][i];
      fuzz::Check(model.AdvCurves[c][i] == expected);
    }
  }
  fuzz::Check(model.DeviceCurves == device);
  fuzz::Check(model.CurrentCurve == 2 && model.SelectedPoint == 1);
  fuzz::Check(model.SelectedValue == model.Working(2)[0]);
  fuzz::Check(window.controls["Lb26"].Top() == map::MarkerTop(model.Working(2)[25]));
  // The file dialog, and the warning when the map holds points beyond the limits.
  const bool beyond = !map::PointsOutsideLimits(model, model.Working(1)).empty() ||
                      !map::PointsOutsideLimits(model, model.Working(2)).empty();
  fuzz::Check(window.dialogs.History().size() == (beyond ? 2u : 1u));
  window.dialogs.ClearHistory();
  for (const char* image : {"Image1", "Image2", "Image3"}) {
    static_cast<ui::RecordingCanvas&>(*window.controls[image].GetCanvas()).Clear();
  }

  // What the loader took must be what a save of the same curves writes, point by
  // point, so that a map saved again reads back the same.
  const std::string saved = map::MapFileText(model.AdvCurves);
  fuzz::Check(saved.size() == map::kMapFileSize);
  const auto again = map::ReadMapFile(saved);
  for (std::size_t c = 0; c < 2; ++c) {
    for (std::size_t i = 0; i < again[c].count; ++i) {
      fuzz::Check(again[c].points[i] == model.AdvCurves[c][i]);
    }
  }
  return 0;
}
