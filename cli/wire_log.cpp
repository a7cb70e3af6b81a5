#include "cli/wire_log.h"

#include <cstdio>
#include <utility>

namespace cli {

std::string WireLogLine(std::uint32_t ms, std::string_view direction, std::string_view bytes) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%10.3f ", static_cast<double>(ms));
  std::string line = stamp + std::string(direction);
  char hex[4];
  for (char c : bytes) {
    std::snprintf(hex, sizeof hex, " %02X", static_cast<unsigned>(static_cast<unsigned char>(c)));
    line += hex;
  }
  return line;
}

WireLogPort::WireLogPort(std::unique_ptr<serial::PortBackend> inner, ui::EventLoop& loop, Sink sink)
    : m_inner(std::move(inner)), m_loop(loop), m_sink(std::move(sink)), m_start(loop.TickCount()) {}

bool WireLogPort::ReadFile(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& read) {
  const bool ok = m_inner->ReadFile(buffer, count, read);
  if (ok) Log("<-", buffer, read);
  return ok;
}

bool WireLogPort::WriteFile(const std::uint8_t* data, std::uint32_t count, std::uint32_t& written) {
  const bool ok = m_inner->WriteFile(data, count, written);
  if (ok) Log("->", data, written);
  return ok;
}

void WireLogPort::Log(std::string_view direction, const std::uint8_t* bytes, std::uint32_t count) {
  if (count == 0) return;
  m_sink(WireLogLine(m_loop.TickCount() - m_start, direction,
                     std::string_view(reinterpret_cast<const char*>(bytes), count)));
}

}  // namespace cli
