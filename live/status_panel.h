// The status panel's refresh: repaints one item of pnStatus (the option values and
// the status line) in the colour the caller names.
#pragma once

#include <string>

#include "live/option_state.h"
#include "ui/color.h"
#include "ui/control.h"

namespace live {

// The items of the status panel that SRefresh repaints; other numbers do nothing.
namespace StatusItem {
constexpr unsigned OutputVoltage = 1;
constexpr unsigned InputSignal = 2;
constexpr unsigned StatusLine = 4;
constexpr unsigned BypassTime = 5;
constexpr unsigned ReferenceVoltage = 6;
}  // namespace StatusItem

class StatusPanel {
 public:
  StatusPanel(ui::ControlSet& controls, OptionState& options);

  // Items 5 and 6 leave their value text in StatusText; item 5 reads "OFF" when
  // StatusText is "Time off," on entry. Only item 4 repaints the status line.
  void SRefresh(ui::Color color, unsigned item);
  // StatusText becomes the text, and the status line shows it in the colour.
  void Show(const std::string& text, ui::Color color);

 private:
  struct Controls {
    ui::Control& lblOutV;
    ui::Control& imgInV;
    ui::Control& lblInV;
    ui::Control& lblstat;
    ui::Control& lblTV;
    ui::Control& lblVrV;
  };

  Controls m_c;
  OptionState& m_options;
};

// The bypass time of a step as the panels write it: step 1 is "0.5", step 4 "2.0".
std::string BypassText(int step);
// The reference voltage of a step, in hundredths without a leading zero: step 3 is
// "1.0", step 4 "1.33".
std::string VrefText(int step);

}  // namespace live
