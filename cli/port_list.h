// What `palunorctl ports` lists: the port map's COM ports and the serial devices
// present, as the settings dialog offers them.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "serial/serial_devices.h"

namespace cli {

// "\\.\COM2 -> /dev/ttyUSB0" for each link of the port map, then the devices' labels.
// Where neither exists (Windows), the names COM1 to COM16 the settings dialog offers.
std::vector<std::string> PortLines(const std::filesystem::path& port_map,
                                   const std::vector<serial::SerialDevice>& devices);

}  // namespace cli
