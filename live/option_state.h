// The controller's four options as last reported, and the text of the status line.
#pragma once

#include <string>

namespace live {

struct OptionState {
  bool Output5V = false;
  bool InputPositive = false;
  int BypassStep = 1;  // bypass time = step x 0.5 s
  int VrefStep = 3;    // reference voltage = step x 5 / 15 V
  std::string StatusText;
};

// Live data: whether it runs, and whether a frame came since it started.
struct LiveState {
  bool LiveMode = false;
  bool LiveDataExpected = false;
  bool LiveFrameSeen = false;
  bool GaugesHidden = false;
  int NeedleAngle = 0;
};

}  // namespace live
