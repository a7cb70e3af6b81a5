// "Advance.ini": the three lines (port, baud rate, data bits) that outlive the
// program, read at start-up and written at closing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace serial {

// The speeds a port is opened with; the settings dialog accepts no other.
constexpr std::uint32_t kMinBaudRate = 110;
constexpr std::uint32_t kMaxBaudRate = 921600;

// What the file says, line by line, before it is applied to the driver.
struct AdvanceIni {
  std::optional<int> port;                 // 1..16 only
  std::optional<std::uint32_t> baud_rate;  // kMinBaudRate..kMaxBaudRate only
  std::optional<int> data_bits;            // 5..8 only
  // The conversion message when the second line holds no integer
  // ("'%s' is not a valid integer value"); empty otherwise.
  std::string error;
};

// Reads the file in `dir` (UTF-8) under the name "Advance.ini" in any letter case. Nothing
// when it does not exist or cannot be opened. Reads the first 4 KiB at most, of them
// three lines, and only the first few hundred bytes of each; lines past the 4 KiB
// read as empty.
std::optional<AdvanceIni> ReadAdvanceIni(const std::string& dir);

// Parses the three lines as read from the file.
AdvanceIni ParseAdvanceIni(const std::string& line1, const std::string& line2,
                           const std::string& line3);

// The three lines as written, without their line ends.
struct AdvanceIniLines {
  std::string port;
  std::string baud_rate;
  std::string data_bits;
};
AdvanceIniLines FormatAdvanceIni(const std::string& port_name, std::uint32_t baud_rate_value,
                                 int data_bits);

// Writes the file in `dir` (UTF-8), replacing the existing one whatever its letter
// case (else creating "Advance.INI"), the one safe way every file is replaced: neither
// a failure, a power cut nor a second program closing at the same time leaves a
// truncated file. False on failure.
bool WriteAdvanceIni(const std::string& dir, const AdvanceIniLines& lines);

}  // namespace serial
