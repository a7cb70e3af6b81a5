// The two gauges of the gauge panel (RPM dial on Image3, advance sector on Image2)
// and the curve trace on Image1, drawn from the gauge inputs and the curves.
#pragma once

#include <functional>

#include "live/option_state.h"
#include "map/curve_model.h"
#include "map/gauge_drawing.h"
#include "serial/link_state.h"
#include "ui/control.h"
#include "ui/variant.h"

namespace live {

class Gauges : public map::GaugeDrawing {
 public:
  Gauges(ui::Variant variant, ui::ControlSet& controls, map::CurveModel& model, LiveState& live,
         const serial::LinkState& link);
  Gauges(const Gauges&) = delete;
  Gauges& operator=(const Gauges&) = delete;

  // Window creation: gauge images in the button-face colour with a bare face on
  // the advance gauge, the chart black with its gray dotted pen.
  void PrepareSurfaces();
  // RPM dial from model.RpmPeriod; a period of 0 or 255 keeps the needle where it is.
  void RPM() override;
  // Advance sector from model.GaugeAdvance, and its degrees in Label28.
  void Adv() override;
  // The current curve: the controller's copy under the working copy; with a PLX
  // controller the working curve turns red from the selected point on.
  void DrawTrace() override;

  // Whether the chart also draws the controller's copy of the shown curve as a dim
  // line under the working curve; without it, never.
  std::function<bool()> ControllerCopyShown;

 private:
  // The controls the gauges draw on, resolved once.
  struct Controls {
    explicit Controls(ui::ControlSet& set);
    ui::Control& Image1;  // the chart
    ui::Control& Image2;  // the advance gauge
    ui::Control& Image3;  // the RPM dial
    ui::Control& Label28;
    ui::Control& Label33;
    ui::Control& Lb1;  // the chart's first point stands 3 pixels right of it
  };

  void DrawFace(ui::Canvas& canvas);
  void DrawHubRings(ui::Canvas& canvas, ui::Point centre, int from, int to);

  ui::Variant m_variant;
  Controls m_c;
  map::CurveModel& m_model;
  LiveState& m_live;
  const serial::LinkState& m_link;
};

}  // namespace live
