// What the program knows of the controller on the line: its model code, whether it
// has answered since the last poll, and the supervision's tick count.
#pragma once

#include <string>

namespace serial {

struct LinkState {
  std::string DeviceModel;  // "QZR" or "PLX" once a version reply came; empty before
  bool DeviceFound = false;
  int LinkTicks = 0;
  bool DualChannel = false;
};

}  // namespace serial
