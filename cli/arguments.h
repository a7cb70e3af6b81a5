// The command line of palunorctl: the command, its operands and the options, read
// without touching anything, so a wrong line costs nothing and says why.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/variant.h"

namespace cli {

enum class Command { Help, Version, Ports, Info, Read, Send, Record, Diff, Log, Set };

// Which curves a send or a record handles.
enum class CurveChoice { First, Second, Both };

// The option `set` changes.
enum class Setting { Output, Polarity, Bypass, Vref };

struct Arguments {
  Command command = Command::Help;
  std::string port = "\\\\.\\COM2";  // as the driver opens it
  std::uint32_t baud = 9600;
  ui::Variant variant = ui::Variant::Palunor6;
  std::uint32_t timeout_ms = 2000;
  bool verbose = false;

  std::string file;  // send, diff: the map; read, log: -o
  bool json = false;
  CurveChoice curves = CurveChoice::Both;
  bool record = false;
  bool dry_run = false;
  std::optional<std::uint32_t> seconds;  // log: until Ctrl-C without it

  Setting setting = Setting::Output;
  int value = 0;  // output: 5 or 12; polarity: 1 positive, 0 negative; bypass: step
                  // (0 off); vref: step
};

// The arguments (argv without the program name), or why not in `error`.
std::optional<Arguments> ParseArguments(const std::vector<std::string>& args, std::string& error);

// "COM3" and "\\.\COM3" name the third port as the programs do; any other name (a
// device path) stands as it is.
std::string DriverPortName(const std::string& name);

// The short usage text that --help prints and a usage error ends with.
extern const char* const kUsage;

}  // namespace cli
