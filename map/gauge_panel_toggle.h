// The gauge panel toggle: a click on the axis label Label20 (and Label36 in
// Palunor6) or on the dial's Label10 and Label27 hides the gauges and shows the
// static labels Adv1 and Adv2 instead, and the next click brings the gauges back.
#pragma once

#include <vector>

#include "live/option_state.h"
#include "ui/control.h"
#include "ui/variant.h"

namespace map {

class GaugePanelToggle {
 public:
  // Binds the clicks of the labels that toggle the panel.
  GaugePanelToggle(ui::Variant variant, ui::ControlSet& controls, live::LiveState& live);
  GaugePanelToggle(const GaugePanelToggle&) = delete;
  GaugePanelToggle& operator=(const GaugePanelToggle&) = delete;

  // Inverts GaugesHidden and shows the panel's pictures and labels, or Label7 and
  // Label8, to match. The arrow buttons stay visible either way.
  void Label20Click();

 private:
  live::LiveState& m_live;
  std::vector<ui::Control*> m_gauges;  // hidden while GaugesHidden
  ui::Control& m_label7;
  ui::Control& m_label8;
};

}  // namespace map
