#include "map/gauge_panel_toggle.h"

#include <string>

namespace map {

namespace {

// The gauge pictures, their readouts and figures, and the picture of the unit.
std::vector<ui::Control*> GaugeControls(ui::ControlSet& controls) {
  std::vector<std::string> names = {"Image2",  "Image3",  "Label28",
                                    "Label30", "Label21", "imgStatus"};
  for (int n = 9; n <= 18; ++n) names.push_back("Label" + std::to_string(n));
  for (int n = 23; n <= 27; ++n) names.push_back("Label" + std::to_string(n));
  std::vector<ui::Control*> gauges;
  for (const std::string& name : names) gauges.push_back(&controls[name]);
  return gauges;
}

}  // namespace

GaugePanelToggle::GaugePanelToggle(ui::Variant variant, ui::ControlSet& controls,
                                   live::LiveState& live)
    : m_live(live),
      m_gauges(GaugeControls(controls)),
      m_label7(controls["Label7"]),
      m_label8(controls["Label8"]) {
  std::vector<const char*> toggles = {"Label20", "Label10", "Label27"};
  if (variant == ui::Variant::Palunor6) toggles.push_back("Label36");
  for (const char* name : toggles) controls[name].OnClick = [this] { Label20Click(); };
}

void GaugePanelToggle::Label20Click() {
  m_live.GaugesHidden = !m_live.GaugesHidden;
  const bool hidden = m_live.GaugesHidden;
  m_label7.SetVisible(hidden);
  m_label8.SetVisible(hidden);
  for (ui::Control* control : m_gauges) control->SetVisible(!hidden);
}

}  // namespace map
