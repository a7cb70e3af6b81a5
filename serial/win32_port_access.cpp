#include "serial/port_access.h"

namespace serial {

// Windows lets every user open a COM port; a port that fails is missing or in use,
// which the "COM Port Error" text already tells.
std::string OpenFailureDetails(const std::string&) {
  return {};
}

}  // namespace serial
