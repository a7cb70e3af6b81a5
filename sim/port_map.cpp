#include "sim/port_map.h"

#include <cctype>
#include <cstdlib>
#include <random>
#include <system_error>

namespace sim {

namespace fs = std::filesystem;

namespace {

constexpr int kHighestPort = 16;

}  // namespace

std::optional<int> ComPortNumber(std::string_view name) {
  if (name.size() < 4 || name.size() > 5) return std::nullopt;
  for (std::size_t i = 0; i < 3; ++i) {
    if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i]) return std::nullopt;
  }
  int number = 0;
  for (char c : name.substr(3)) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    number = number * 10 + (c - '0');
  }
  if (name[3] == '0' || number < 1 || number > kHighestPort) return std::nullopt;
  return number;
}

PortMapLink::PortMapLink(fs::path dir, int port, fs::path target)
    : m_link(dir / ("com" + std::to_string(port))), m_target(std::move(target)) {
  std::error_code error;
  fs::create_directories(dir, error);
  if (error) {
    m_error = "cannot create " + dir.string() + ": " + error.message();
    return;
  }
  const fs::file_status status = fs::symlink_status(m_link, error);
  if (fs::is_symlink(status)) {
    m_previous = fs::read_symlink(m_link, error);
    if (error) {
      m_error = "cannot read " + m_link.string() + ": " + error.message();
      return;
    }
  } else if (fs::exists(status)) {
    m_error = m_link.string() + " exists and is not a link; left alone";
    return;
  }
  m_linked = PointAt(m_target);
}

bool PortMapLink::PointAt(const fs::path& target) {
  // A fresh link beside the old one, renamed over it: the name never goes missing.
  const fs::path fresh = m_link.parent_path() / ("." + m_link.filename().string() + ".sim-" +
                                                 std::to_string(std::random_device{}()));
  std::error_code error;
  fs::create_symlink(target, fresh, error);
  if (!error) fs::rename(fresh, m_link, error);
  if (error) {
    m_error = "cannot link " + m_link.string() + ": " + error.message();
    std::error_code ignored;
    fs::remove(fresh, ignored);
    return false;
  }
  return true;
}

bool PortMapLink::Retarget(const fs::path& target) {
  if (!m_linked) return false;
  std::error_code error;
  if (fs::read_symlink(m_link, error) != m_target || error) return false;
  if (!PointAt(target)) return false;
  m_target = target;
  return true;
}

void PortMapLink::Restore() {
  if (!m_linked) return;
  m_linked = false;
  std::error_code error;
  const fs::path now = fs::read_symlink(m_link, error);
  if (error || now != m_target) return;
  if (m_previous) {
    PointAt(*m_previous);
  } else {
    fs::remove(m_link, error);
  }
}

}  // namespace sim
