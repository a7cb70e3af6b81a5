// The per-user port map that makes "\\.\COMn" open a device on POSIX: a symbolic link
// comN in ${XDG_CONFIG_HOME:-$HOME/.config}/palunor/dosdevices/. PortMapLink points
// one such link at the emulator's device while it lives, then puts back what was there.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "serial/serial_devices.h"

namespace sim {

// The map's folder, the one the programs open ports through; empty when neither
// XDG_CONFIG_HOME nor HOME is set.
using serial::PortMapDir;

// "COM1".."COM16" in any letter case gives 1..16.
std::optional<int> ComPortNumber(std::string_view name);

class PortMapLink {
 public:
  // Links comN in `dir` (created if missing) at `target`. A link already there is
  // remembered and put back later; anything else there is left alone and refused.
  PortMapLink(std::filesystem::path dir, int port, std::filesystem::path target);
  ~PortMapLink() { Restore(); }
  PortMapLink(const PortMapLink&) = delete;
  PortMapLink& operator=(const PortMapLink&) = delete;

  bool Linked() const { return m_linked; }
  // Why the link could not be made.
  const std::string& Error() const { return m_error; }
  const std::filesystem::path& Path() const { return m_link; }

  // Points our link at another device (the emulator plugged in again on a new
  // pseudo-terminal). False if the link is not ours any more or cannot be made.
  bool Retarget(const std::filesystem::path& target);

  // Puts back the link that was there before, or removes ours. A link that someone
  // else has changed meanwhile is left as it is.
  void Restore();

 private:
  // Makes `link` point at `target` in one step, replacing what is there.
  bool PointAt(const std::filesystem::path& target);

  std::filesystem::path m_link;
  std::filesystem::path m_target;
  std::optional<std::filesystem::path> m_previous;
  bool m_linked = false;
  std::string m_error;
};

}  // namespace sim
