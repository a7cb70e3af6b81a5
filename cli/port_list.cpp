#include "cli/port_list.h"

#include <system_error>

#include "files/utf8_path.h"
#include "serial/settings_dialog.h"

namespace cli {

namespace {

constexpr int kPorts = 16;

}  // namespace

std::vector<std::string> PortLines(const std::filesystem::path& port_map,
                                   const std::vector<serial::SerialDevice>& devices) {
  std::vector<std::string> lines;
  if (!port_map.empty()) {
    for (int n = 1; n <= kPorts; ++n) {
      const std::filesystem::path link = port_map / ("com" + std::to_string(n));
      std::error_code error;
      if (!std::filesystem::is_symlink(link, error)) continue;
      const std::filesystem::path target = std::filesystem::read_symlink(link, error);
      if (error) continue;
      lines.push_back("\\\\.\\COM" + std::to_string(n) + " -> " + files::Utf8FromPath(target));
    }
  }
  for (const serial::SerialDevice& device : devices) lines.push_back(device.label);
  if (devices.empty() && port_map.empty()) return serial::PortItems();
  return lines;
}

}  // namespace cli
