#include "serial/serial_devices.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace serial {

namespace fs = std::filesystem;

namespace {

constexpr int kHighestPort = 16;

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// The names in `dir` that begin with `prefix`, in natural order (ttyS2 before ttyS10).
std::vector<fs::path> Entries(const fs::path& dir, const std::string& prefix) {
  std::vector<fs::path> found;
  std::error_code error;
  for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.rfind(prefix, 0) == 0) found.push_back(it->path());
  }
  std::sort(found.begin(), found.end(), [](const fs::path& a, const fs::path& b) {
    const std::string x = a.filename().string();
    const std::string y = b.filename().string();
    return x.size() != y.size() ? x.size() < y.size() : x < y;
  });
  return found;
}

// A ttyS node exists for every port the kernel could drive; type 0 means no UART.
bool HasUart(const fs::path& root, const std::string& name) {
  std::ifstream type(root / "sys" / "class" / "tty" / name / "type");
  int value = -1;
  if (!(type >> value)) return true;
  return value != 0;
}

fs::path Resolved(const fs::path& path) {
  std::error_code error;
  const fs::path target = fs::canonical(path, error);
  return error ? path : target;
}

}  // namespace

std::vector<SerialDevice> ListSerialDevices([[maybe_unused]] const fs::path& root) {
  std::vector<SerialDevice> devices;
#ifdef _WIN32
  // Windows names its ports "\\.\COMn" only; a \dev or \sys on the current drive is
  // some folder of the user's, not the devices present.
  return devices;
#endif
  std::vector<fs::path> reached;
  for (const fs::path& link : Entries(root / "dev" / "serial" / "by-id", "")) {
    const fs::path target = Resolved(link);
    reached.push_back(target);
    devices.push_back({link, link.filename().string() + " (" + target.filename().string() + ")"});
  }
  for (const char* prefix : {"ttyUSB", "ttyACM", "ttyS"}) {
    for (const fs::path& node : Entries(root / "dev", prefix)) {
      const std::string name = node.filename().string();
      if (name.find_first_not_of("0123456789", std::string(prefix).size()) != std::string::npos ||
          name.size() == std::string(prefix).size()) {
        continue;
      }
      if (std::find(reached.begin(), reached.end(), Resolved(node)) != reached.end()) continue;
      if (std::string(prefix) == "ttyS" && !HasUart(root, name)) continue;
      devices.push_back({node, node.string()});
    }
  }
  return devices;
}

fs::path PortMapDir() {
  // An empty XDG_CONFIG_HOME counts as unset.
  fs::path config = Env("XDG_CONFIG_HOME");
  if (config.empty()) {
    const std::string home = Env("HOME");
    if (home.empty()) return {};
    config = fs::path(home) / ".config";
  }
  return config / "palunor" / "dosdevices";
}

std::optional<int> LinkIntoPortMap(const fs::path& dir, const fs::path& device) {
  if (dir.empty()) return std::nullopt;
  std::error_code error;
  fs::create_directories(dir, error);
  if (error) return std::nullopt;
  std::optional<int> free;
  for (int n = 1; n <= kHighestPort; ++n) {
    const fs::path link = dir / ("com" + std::to_string(n));
    const fs::file_status status = fs::symlink_status(link, error);
    if (!fs::exists(status)) {
      if (!free) free = n;
      continue;
    }
    if (fs::is_symlink(status) && fs::read_symlink(link, error) == device && !error) return n;
  }
  if (!free) return std::nullopt;
  fs::create_symlink(device, dir / ("com" + std::to_string(*free)), error);
  if (error) return std::nullopt;
  return free;
}

}  // namespace serial
