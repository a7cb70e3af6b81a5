#include "serial/port_access.h"

namespace serial {

// Windows lets every user open a COM port; a port that fails is missing or in use,
// which the "COM Port Error" text already tells.
std::string OpenFailureDetails(const std::string&) {
  return {};
}

// Only opening a COM port tells whether it is there, and a port held by another
// program fails that the same way.
std::optional<bool> PortDevicePresent(const std::string&) {
  return std::nullopt;
}

}  // namespace serial
