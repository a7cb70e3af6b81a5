#include "serial/advance_ini.h"

#include <cctype>
#include <filesystem>
#include <limits>
#include <string_view>
#include <system_error>
#include <type_traits>

#include "files/read_file.h"
#include "files/replace_file.h"
#include "files/utf8_path.h"

namespace serial {

namespace fs = std::filesystem;

namespace {

constexpr const char* kReadName = "Advance.ini";
constexpr const char* kWriteName = "Advance.INI";
// Longer lines are cut here; nothing past a line's end is read into the next line.
constexpr std::size_t kMaxLine = 256;
// Three sound lines take some forty bytes; a file is never read past this, so a huge
// or endless one costs no more than a short one.
constexpr std::size_t kMaxRead = 4096;

// Whether `name` is "Advance.ini" in any letter case. Compared on the system's own
// characters, so no other name in the folder needs converting (on Windows a name that
// is not valid UTF-16 could not be).
bool IsIniName(const fs::path::string_type& name) {
  const std::string_view wanted = kReadName;
  if (name.size() != wanted.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<std::make_unsigned_t<fs::path::value_type>>(name[i]);
    if (c > 127 ||
        std::tolower(static_cast<int>(c)) != std::tolower(static_cast<unsigned char>(wanted[i]))) {
      return false;
    }
  }
  return true;
}

// The existing file whose name equals "Advance.ini" ignoring case, if any.
std::optional<fs::path> FindIni(const fs::path& dir) {
  std::error_code ec;
  const fs::path exact = dir / kReadName;
  if (fs::is_regular_file(exact, ec)) return exact;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (IsIniName(it->path().filename().native()) && it->is_regular_file(ec)) return it->path();
  }
  return std::nullopt;
}

// Takes one line ended by CR LF, LF or CR from `text` at `pos`; at most kMaxLine
// characters are kept.
std::string TakeLine(const std::string& text, std::size_t& pos) {
  std::string line;
  while (pos < text.size()) {
    const char c = text[pos++];
    if (c == '\n') break;
    if (c == '\r') {
      if (pos < text.size() && text[pos] == '\n') ++pos;
      break;
    }
    if (line.size() < kMaxLine) line.push_back(c);
  }
  return line;
}

// A decimal integer as the run-time library converts it: optional blanks, an optional
// sign, digits, nothing after; within 32 bits.
std::optional<long long> ToInteger(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == text.size()) return std::nullopt;
  long long value = 0;
  for (; i < text.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
    value = value * 10 + (text[i] - '0');
    if (value > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
  }
  if (negative) value = -value;
  if (value < std::numeric_limits<std::int32_t>::min()) return std::nullopt;
  return value;
}

}  // namespace

AdvanceIni ParseAdvanceIni(const std::string& line1, const std::string& line2,
                           const std::string& line3) {
  AdvanceIni ini;
  // Line 1: the digits after "COM PORT= COM", characters 14 and 15.
  if (line1.size() >= 14) {
    if (auto port = ToInteger(line1.substr(13, 2)); port && *port >= 1 && *port <= 16) {
      ini.port = static_cast<int>(*port);
    }
  }
  // Line 2: everything after "BAUDRATE= ". A speed no port takes is dropped like a
  // port or data bits out of range: written to the driver, it would fail every open of
  // this run and be written back at closing, locking the program out for good.
  const std::string baud = line2.size() > 10 ? line2.substr(10) : std::string();
  if (auto value = ToInteger(baud)) {
    const auto rate = static_cast<std::uint32_t>(*value);
    if (rate >= kMinBaudRate && rate <= kMaxBaudRate) ini.baud_rate = rate;
  } else {
    ini.error = "'" + baud + "' is not a valid integer value";
  }
  // Line 3: the digit after "DATABITS= ".
  if (line3.size() >= 11) {
    const char digit = line3[10];
    if (digit >= '5' && digit <= '8') ini.data_bits = digit - '0';
  }
  return ini;
}

std::optional<AdvanceIni> ReadAdvanceIni(const std::string& dir) {
  const auto path = FindIni(files::PathFromUtf8(dir));
  std::string text;
  if (!path || files::ReadFileStart(*path, kMaxRead, text)) return std::nullopt;
  std::size_t pos = 0;
  const std::string line1 = TakeLine(text, pos);
  const std::string line2 = TakeLine(text, pos);
  const std::string line3 = TakeLine(text, pos);
  return ParseAdvanceIni(line1, line2, line3);
}

AdvanceIniLines FormatAdvanceIni(const std::string& port_name, std::uint32_t baud_rate_value,
                                 int data_bits) {
  AdvanceIniLines lines;
  lines.port = "COM PORT= " + (port_name.size() > 4 ? port_name.substr(4, 5) : std::string());
  lines.baud_rate = "BAUDRATE= " + std::to_string(baud_rate_value);
  lines.data_bits = "DATABITS= " + std::to_string(data_bits) + "bits";
  return lines;
}

bool WriteAdvanceIni(const std::string& dir, const AdvanceIniLines& lines) {
  const fs::path folder = files::PathFromUtf8(dir);
  const fs::path target = FindIni(folder).value_or(folder / kWriteName);
  const std::string text =
      lines.port + "\r\n" + lines.baud_rate + "\r\n" + lines.data_bits + "\r\n";
  return !files::ReplaceFile(target, text);
}

}  // namespace serial
