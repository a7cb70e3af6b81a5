#include "logbook/log_reader.h"

#include <algorithm>
#include <charconv>
#include <system_error>
#include <vector>

#include "files/read_file.h"
#include "files/utf8_path.h"

namespace logbook {

namespace {

constexpr std::string_view kControllerTag = "# controller: ";
constexpr std::string_view kAxisTag = "# rpm axis: ";
constexpr std::size_t kRowFields = 8;
// Readings no frame can give: a row beyond them is damaged.
constexpr int kMaxRpm = 120000;
constexpr int kMinAdvance = -128;
constexpr int kMaxAdvance = 230;
constexpr int kCurveDegrees = 25;

// The next line without its end (LF or CR LF); `text` moves past it.
std::string_view NextLine(std::string_view& text) {
  const std::size_t end = text.find('\n');
  std::string_view line = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

// The comma-separated fields of `line`, up to `limit` + 1 of them.
std::vector<std::string_view> Fields(std::string_view line, std::size_t limit) {
  std::vector<std::string_view> fields;
  while (fields.size() <= limit) {
    const std::size_t comma = line.find(',');
    fields.push_back(line.substr(0, comma));
    if (comma == std::string_view::npos) break;
    line.remove_prefix(comma + 1);
  }
  return fields;
}

template <typename Number>
std::optional<Number> Whole(std::string_view field, Number lo, Number hi) {
  Number value{};
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (error != std::errc() || end != field.data() + field.size() || value < lo || value > hi) {
    return std::nullopt;
  }
  return value;
}

// 26 whole numbers from lo to hi, or nothing.
std::optional<std::array<int, kAxisPoints>> Points(std::string_view list, int lo, int hi) {
  const std::vector<std::string_view> fields = Fields(list, kAxisPoints);
  if (fields.size() != kAxisPoints) return std::nullopt;
  std::array<int, kAxisPoints> points{};
  for (std::size_t i = 0; i < kAxisPoints; ++i) {
    const std::optional<int> value = Whole(fields[i], lo, hi);
    if (!value) return std::nullopt;
    points[i] = *value;
  }
  return points;
}

void ReadComment(std::string_view line, Log& log) {
  if (line.starts_with(kControllerTag)) {
    log.controller = std::string(line.substr(kControllerTag.size()));
  } else if (line.starts_with(kAxisTag)) {
    log.rpm_axis = Points(line.substr(kAxisTag.size()), 0, kMaxRpm);
  }
  for (int c = 1; c <= 2; ++c) {
    const std::string tag = "# curve " + std::to_string(c) + " (degrees): ";
    if (line.starts_with(tag)) {
      log.curves[static_cast<std::size_t>(c - 1)] =
          Points(line.substr(tag.size()), -kCurveDegrees, kCurveDegrees);
    }
  }
}

std::optional<LogSample> ReadRow(std::string_view line) {
  const std::vector<std::string_view> f = Fields(line, kRowFields);
  if (f.size() != kRowFields) return std::nullopt;
  const auto time = Whole<std::uint32_t>(f[0], 0, UINT32_MAX);
  const auto rpm = Whole(f[2], 0, kMaxRpm);
  const auto advance = Whole(f[3], kMinAdvance, kMaxAdvance);
  const auto period_byte = Whole(f[4], 0, 255);
  const auto advance_byte = Whole(f[5], 0, 255);
  const auto taken = Whole(f[6], 0, 1);
  const auto curve = Whole(f[7], kNoCurveShown, 2);
  if (!time || !rpm || !advance || !period_byte || !advance_byte || !taken || !curve) {
    return std::nullopt;
  }
  return LogSample{*time, *rpm, *advance, *taken == 1, *curve};
}

}  // namespace

std::variant<Log, std::string> ParseLog(std::string_view text) {
  if (text.size() > kMaxLogBytes) return std::string("The file is too large for a live data log.");
  if (NextLine(text) != kLogTitle) {
    return "The file is not a live data log: its first line is not \"" + std::string(kLogTitle) +
           "\".";
  }
  Log log;
  bool columns = false;
  while (!text.empty() && !columns) {
    const std::string_view line = NextLine(text);
    if (line == kLogColumns) {
      columns = true;
    } else if (line.starts_with("#")) {
      ReadComment(line, log);
    } else {
      break;
    }
  }
  if (!columns) return std::string("The live data log has no row of column names.");
  while (!text.empty()) {
    const std::string_view line = NextLine(text);
    if (line.empty()) continue;
    if (const std::optional<LogSample> sample = ReadRow(line)) {
      log.samples.push_back(*sample);
    } else {
      ++log.bad_rows;
    }
  }
  // The plot finds frames by time: rows out of order (a file put together by hand)
  // are put in order, those of one time in the order written.
  const auto by_time = [](const LogSample& a, const LogSample& b) { return a.time_ms < b.time_ms; };
  if (!std::is_sorted(log.samples.begin(), log.samples.end(), by_time)) {
    std::stable_sort(log.samples.begin(), log.samples.end(), by_time);
  }
  return log;
}

std::variant<Log, std::string> ReadLog(const std::filesystem::path& path) {
  std::error_code size_error;
  const std::uintmax_t size = std::filesystem::file_size(path, size_error);
  if (!size_error && size > kMaxLogBytes) {
    return "\"" + files::Utf8FromPath(path) + "\" is too large for a live data log.";
  }
  std::string text;
  // One byte past the bound tells a file at the bound from a larger one.
  if (const std::error_code error = files::ReadFileStart(path, kMaxLogBytes + 1, text)) {
    return "Cannot read \"" + files::Utf8FromPath(path) + "\": " + error.message() + ".";
  }
  return ParseLog(text);
}

}  // namespace logbook
