// The serial devices present on a POSIX machine, and the per-user port map that lets
// "\\.\COMn" name one of them: a symbolic link comN in
// ${XDG_CONFIG_HOME:-$HOME/.config}/palunor/dosdevices/.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace serial {

struct SerialDevice {
  std::filesystem::path path;  // what the port map links to
  std::string label;           // what the port list shows
  friend bool operator==(const SerialDevice&, const SerialDevice&) = default;
};

// The devices under `root` ("/" on the machine): /dev/serial/by-id/* first, shown by
// their by-id name and the device they lead to, then the /dev/ttyUSB*, /dev/ttyACM*
// and /dev/ttyS* not reached that way. A ttyS that the kernel reports without a UART
// behind it (type 0 in /sys/class/tty) is left out. None on Windows.
std::vector<SerialDevice> ListSerialDevices(const std::filesystem::path& root);

// The port map's folder; empty when neither XDG_CONFIG_HOME nor HOME is set.
std::filesystem::path PortMapDir();

// Links `device` into the map in `dir` (created if missing) as the lowest comN that
// is free, or finds the comN that already leads to it. The COM number, or nothing
// when all sixteen are taken or the link cannot be made.
std::optional<int> LinkIntoPortMap(const std::filesystem::path& dir,
                                   const std::filesystem::path& device);

}  // namespace serial
