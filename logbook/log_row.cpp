#include "logbook/log_row.h"

#include <cstdio>
#include <ctime>

namespace logbook {

namespace {

constexpr std::string_view kEnd = "\r\n";

template <typename Values, typename Convert>
std::string Joined(const Values& values, Convert convert) {
  std::string text;
  for (const auto& value : values) {
    if (!text.empty()) text += ',';
    text += std::to_string(convert(value));
  }
  return text;
}

}  // namespace

std::string LogHeader(const LogStart& start) {
  std::string text(kLogTitle);
  text += kEnd;
  if (start.model.empty()) {
    text += "# controller: none identified";
  } else {
    text += "# controller: " + start.model + ", firmware " + std::to_string(start.firmware / 10) +
            "." + std::to_string(start.firmware % 10) + ", max advance " +
            std::to_string(start.max_advance) + ", max retard " + std::to_string(start.max_retard);
  }
  text += kEnd;
  text += "# rpm axis: " + Joined(start.rpm_axis, [](int rpm) { return rpm; });
  text += kEnd;
  for (std::size_t c = 0; c < start.curves.size(); ++c) {
    text += "# curve " + std::to_string(c + 1) + " (degrees): " +
            Joined(start.curves[c], [](std::uint8_t v) { return static_cast<int>(v) - 25; });
    text += kEnd;
  }
  text += kLogColumns;
  text += kEnd;
  return text;
}

std::string LogRow(const LogRecord& r) {
  std::string row = std::to_string(r.time_ms);
  row += ',';
  row += r.local_time;
  for (int value : {r.rpm, r.advance, static_cast<int>(r.period_byte),
                    static_cast<int>(r.advance_byte), r.taken ? 1 : 0, r.curve}) {
    row += ',';
    row += std::to_string(value);
  }
  row += kEnd;
  return row;
}

std::string LocalTimeText(std::chrono::system_clock::time_point when) {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch());
  const std::time_t seconds = std::chrono::system_clock::to_time_t(
      std::chrono::system_clock::time_point(std::chrono::floor<std::chrono::seconds>(ms)));
  // The one thread of the program is the only caller: localtime's shared result is safe.
  const std::tm* local = std::localtime(&seconds);
  if (local == nullptr) return "";
  char text[32];
  const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", local);
  const long long millis = ms.count() % 1000;
  std::snprintf(text + length, sizeof text - length, ".%03lld",
                millis < 0 ? millis + 1000 : millis);
  return text;
}

}  // namespace logbook
