// Reading a live-data log back for the plot: the controller line, the RPM axis and
// both curves of its header, and its rows. Any bytes at all give either a log or a
// message that says why the file is none; rows that do not parse are counted and
// skipped, so one damaged row never costs the rest.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "logbook/log_row.h"

namespace logbook {

// What the plot draws of a row.
struct LogSample {
  std::uint32_t time_ms = 0;
  int rpm = 0;
  int advance = 0;  // degrees
  bool taken = false;
  int curve = 1;
  friend bool operator==(const LogSample&, const LogSample&) = default;
};

struct Log {
  std::string controller;  // as the header names it: "QZR, firmware 6.0, ..."
  std::optional<std::array<int, kAxisPoints>> rpm_axis;
  // Curves 1 and 2 in degrees, where the header holds them whole.
  std::array<std::optional<std::array<int, kAxisPoints>>, 2> curves;
  std::vector<LogSample> samples;
  std::size_t bad_rows = 0;
};

// A log larger than this is refused unread (some forty hours of live data).
inline constexpr std::size_t kMaxLogBytes = 64u << 20;

// The log in `text`, or why it is none.
std::variant<Log, std::string> ParseLog(std::string_view text);
// The log in the file at `path` (read up to the bound), or why it cannot be opened.
std::variant<Log, std::string> ReadLog(const std::filesystem::path& path);

}  // namespace logbook
