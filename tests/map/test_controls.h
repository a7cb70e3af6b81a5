// The window's controls from its layout table, with recording canvases, the curve
// model and the gauges: enough of the window to drive the editor and the drawing
// operations as the user would.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "live/gauges.h"
#include "live/option_state.h"
#include "map/curve_editor.h"
#include "map/curve_model.h"
#include "serial/link_state.h"
#include "shell/layout.h"
#include "testing/recording_canvas.h"
#include "ui/control.h"
#include "ui/variant.h"

namespace model_test {

class RecordingCanvases : public ui::CanvasFactory {
 public:
  std::unique_ptr<ui::Canvas> Make(int width, int height) override {
    return std::make_unique<ui::RecordingCanvas>(width, height);
  }
};

// The editor with its gauges over the whole window, in the start-up state: both
// curves flat at 0 degrees and the controller's copy equal to them.
struct EditorWindow {
  explicit EditorWindow(ui::Variant v) : variant(v) {
    for (int c = 1; c <= 2; ++c) {
      model.Working(c).fill(25);
      model.Device(c).fill(25);
    }
  }

  ui::RecordingCanvas& Canvas(const std::string& image) {
    return static_cast<ui::RecordingCanvas&>(*controls[image].GetCanvas());
  }
  // The operations of one kind on an image since its canvas was last cleared.
  std::vector<ui::DrawOp> Ops(const std::string& image, ui::DrawKind kind) {
    std::vector<ui::DrawOp> ops;
    for (const ui::DrawOp& op : Canvas(image).Ops()) {
      if (op.kind == kind) ops.push_back(op);
    }
    return ops;
  }

  ui::Variant variant;
  RecordingCanvases canvases;
  ui::ControlSet controls{shell::LayoutTable(variant), canvases};
  map::CurveModel model;
  live::LiveState live;
  serial::LinkState link;
  live::Gauges gauges{variant, controls, model, live, link};
  map::CurveEditor editor{variant, controls, model, gauges};
};

}  // namespace model_test
