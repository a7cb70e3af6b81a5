// The chart strip, gauge panel and editor controls of the window at their design
// geometry, with recording canvases, the curve model and the gauges: enough of the
// window to drive the editor and the drawing operations as the user would.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "live/gauges.h"
#include "live/option_state.h"
#include "map/curve_editor.h"
#include "map/curve_model.h"
#include "serial/link_state.h"
#include "ui/control.h"
#include "ui/recording_canvas.h"
#include "ui/variant.h"

namespace model_test {

class RecordingCanvases : public ui::CanvasFactory {
 public:
  std::unique_ptr<ui::Canvas> Make(int width, int height) override {
    return std::make_unique<ui::RecordingCanvas>(width, height);
  }
};

inline ui::ControlSpec Spec(const std::string& name, ui::ControlKind kind,
                            const std::string& parent, ui::Rect bounds,
                            const std::string& caption = "") {
  ui::ControlSpec spec;
  spec.name = name;
  spec.kind = kind;
  spec.parent = parent;
  spec.bounds = bounds;
  spec.caption = caption;
  return spec;
}

// Palunor has no Lb31, Lb32, Label36 or Label37: a step that touches them aborts.
inline std::vector<ui::ControlSpec> EditorLayout(ui::Variant variant) {
  using ui::ControlKind;
  const bool newer = variant == ui::Variant::Palunor6;
  std::vector<ui::ControlSpec> rows;
  rows.push_back(Spec("Panel4", ControlKind::Panel, "", {104, 0, 649, 145}));
  rows.push_back(Spec("Image1", ControlKind::Image, "Panel4", {1, 1, 647, 128}));
  for (int p = 1; p <= 26; ++p) {
    rows.push_back(Spec("Lb" + std::to_string(p), ControlKind::Label, "Panel4",
                        {16 + 24 * (p - 1), 61, 16, p == 1 ? 20 : 16}, "o"));
  }
  rows.push_back(Spec("Lb30", ControlKind::Label, "Panel4", {12, 52, 24, 29}, "o"));
  if (newer) {
    rows.push_back(Spec("Lb31", ControlKind::Label, "Panel4", {6, 49, 30, 13}));
    rows.push_back(Spec("Lb32", ControlKind::Label, "Panel4", {12, 76, 20, 13}));
  }
  const std::vector<std::string> scale =
      newer ? std::vector<std::string>{"Label1", "Label2",  "Label3",  "Label4",  "Label5",
                                       "Label6", "Label19", "Label20", "Label36", "Label37"}
            : std::vector<std::string>{"Label1", "Label2", "Label3",  "Label4",
                                       "Label5", "Label6", "Label19", "Label20"};
  for (const std::string& name : scale) {
    rows.push_back(Spec(name, ControlKind::Label, "Panel4", {416, 128, 40, 13}, name));
  }
  rows.push_back(Spec("Panel3", ControlKind::Panel, "", {340, 152, 413, 201}));
  rows.push_back(Spec("Image2", ControlKind::Image, "Panel3", {2, 2, 169, 173}));
  rows.push_back(Spec("Image3", ControlKind::Image, "Panel3", {242, 2, 169, 173}));
  rows.push_back(Spec("Label28", ControlKind::Label, "Panel3", {72, 104, 40, 24}, "00"));
  rows.push_back(Spec("Label30", ControlKind::Label, "Panel3", {318, 112, 37, 24}, "750"));
  rows.push_back(Spec("Button3", ControlKind::Button, "Panel3", {160, 8, 89, 25}, "Live Data"));
  rows.push_back(Spec("Label33", ControlKind::Label, "", {328, 376, 40, 13}, "Label33"));
  ui::ControlSpec sent = Spec("Label34", ControlKind::Label, "", {8, 204, 89, 32});
  sent.visible = false;
  rows.push_back(sent);
  ui::ControlSpec stored = Spec("Label35", ControlKind::Label, "", {8, 252, 89, 32});
  stored.visible = false;
  rows.push_back(stored);
  ui::ControlSpec sink = Spec("Panel1", ControlKind::Panel, "", {528, 304, 41, 41});
  sink.visible = false;
  rows.push_back(sink);
  rows.push_back(Spec("Button1", ControlKind::Button, "Panel1", {0, 0, 41, 41}));
  return rows;
}

// The editor with its gauges over the layout above, in the start-up state: both
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
  // The line operations of the last drawing of an image, in order.
  std::vector<ui::DrawOp> Ops(const std::string& image, ui::DrawKind kind) {
    std::vector<ui::DrawOp> ops;
    for (const ui::DrawOp& op : Canvas(image).Ops()) {
      if (op.kind == kind) ops.push_back(op);
    }
    return ops;
  }

  ui::Variant variant;
  RecordingCanvases canvases;
  ui::ControlSet controls{EditorLayout(variant), canvases};
  map::CurveModel model;
  live::LiveState live;
  serial::LinkState link;
  live::Gauges gauges{variant, controls, model, live, link};
  map::CurveEditor editor{variant, controls, model, gauges};
};

}  // namespace model_test
