#include "serial/advance_ini.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <system_error>

namespace serial {

namespace fs = std::filesystem;

namespace {

constexpr const char* kReadName = "Advance.ini";
constexpr const char* kWriteName = "Advance.INI";
// Longer lines are cut here; nothing past a line's end is read into the next line.
constexpr std::size_t kMaxLine = 256;

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The existing file whose name equals "Advance.ini" ignoring case, if any.
std::optional<fs::path> FindIni(const std::string& dir) {
  std::error_code ec;
  const fs::path exact = fs::path(dir) / kReadName;
  if (fs::is_regular_file(exact, ec)) return exact;
  const std::string wanted = Lower(kReadName);
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (Lower(it->path().filename().string()) == wanted && it->is_regular_file(ec)) {
      return it->path();
    }
  }
  return std::nullopt;
}

// Reads one line ended by CR LF, LF or CR; at most kMaxLine characters are kept.
std::string ReadLine(std::istream& in) {
  std::string line;
  for (int c = in.get(); c != EOF; c = in.get()) {
    if (c == '\n') break;
    if (c == '\r') {
      if (in.peek() == '\n') in.get();
      break;
    }
    if (line.size() < kMaxLine) line.push_back(static_cast<char>(c));
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
  // Line 2: everything after "BAUDRATE= ".
  const std::string baud = line2.size() > 10 ? line2.substr(10) : std::string();
  if (auto value = ToInteger(baud)) {
    ini.baud_rate = static_cast<std::uint32_t>(*value);
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
  const auto path = FindIni(dir);
  if (!path) return std::nullopt;
  std::ifstream in(*path, std::ios::binary);
  if (!in) return std::nullopt;
  const std::string line1 = ReadLine(in);
  const std::string line2 = ReadLine(in);
  const std::string line3 = ReadLine(in);
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
  const fs::path target = FindIni(dir).value_or(fs::path(dir) / kWriteName);
  const fs::path temp = fs::path(dir) / (target.filename().string() + ".tmp");
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << lines.port << "\r\n" << lines.baud_rate << "\r\n" << lines.data_bits << "\r\n";
    out.flush();
    if (!out) {
      out.close();
      std::error_code ec;
      fs::remove(temp, ec);
      return false;
    }
  }
  std::error_code ec;
  fs::rename(temp, target, ec);
  if (ec) {
    fs::remove(temp, ec);
    return false;
  }
  return true;
}

}  // namespace serial
