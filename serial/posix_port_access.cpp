#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "serial/port_access.h"
#include "serial/posix_port.h"

namespace serial {

std::string OpenFailureDetails(const std::string& port_name) {
  std::error_code error;
  std::filesystem::path device = ResolvePortName(port_name);
  const std::filesystem::path target = std::filesystem::canonical(device, error);
  if (!error) device = target;
  struct stat info {};
  if (::stat(device.c_str(), &info) != 0) return {};
  if (::access(device.c_str(), R_OK | W_OK) == 0 || errno != EACCES) return {};
  // The group that may use the device: dialout on Debian, uucp on others.
  std::string group = "dialout";
  if (const struct group* owner = ::getgrgid(info.st_gid);
      owner != nullptr && owner->gr_gid != 0 && owner->gr_name != nullptr) {
    group = owner->gr_name;
  }
  return device.string() + ": Permission denied. Add your user to the '" + group +
         "' group and log in again.";
}

std::optional<bool> PortDevicePresent(const std::string& port_name) {
  struct stat info {};
  // Through the port map's link to the device itself: a link that leads nowhere (an
  // adapter unplugged) is no device.
  return ::stat(ResolvePortName(port_name).c_str(), &info) == 0;
}

}  // namespace serial
