// Why a port cannot be opened, when the user can do something about it.
#pragma once

#include <optional>
#include <string>

namespace serial {

// The box that tells the user a port cannot be opened.
inline constexpr const char* kComPortErrorTitle = "COM Port Error";
inline constexpr const char* kComPortErrorText =
    "Could not connect to serial port.\r\nPlease, check settings and try again.";

// The reason and the remedy for a port name whose device the user may not open
// ("/dev/ttyUSB0: Permission denied. Add your user to the 'dialout' group and log in
// again."); empty when the device is missing, busy or fine, or the platform has no
// such reason.
std::string OpenFailureDetails(const std::string& port_name);

// Whether a device is there behind the port name: a port whose device is there but
// does not open is held by another program. Nothing where the platform cannot tell.
std::optional<bool> PortDevicePresent(const std::string& port_name);

}  // namespace serial
