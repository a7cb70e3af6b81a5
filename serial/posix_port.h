// The POSIX side of the serial backend: how a Windows port name finds its device, and
// the one setting termios cannot express on its own (a baud rate outside its table).
#pragma once

#include <cstdint>
#include <string>

namespace serial {

// "\\.\COMn" (n = 1..16) is the device that the symbolic link comN in the per-user
// port map names (${XDG_CONFIG_HOME:-$HOME/.config}/palunor/dosdevices/), else
// /dev/ttyS(n-1); any other name stands as it is.
std::string ResolvePortName(const std::string& name);

// Sets an arbitrary input and output speed on an open terminal (Linux termios2).
bool SetCustomBaudRate(int fd, std::uint32_t baud);

}  // namespace serial
