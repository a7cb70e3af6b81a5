#include "cli/arguments.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <map>

namespace cli {

const char* const kUsage =
    "usage: palunorctl [OPTIONS] COMMAND [ARGUMENTS]\n"
    "commands:\n"
    "  ports                              the serial ports present\n"
    "  info                               model, firmware, channels and limits\n"
    "  read [-o FILE.IJJ|FILE.csv] [--json]\n"
    "                                     both curves and the options\n"
    "  send FILE [--curve 1|2|both] [--record] [--dry-run]\n"
    "                                     send a map or CSV, read it back and compare\n"
    "  record [--curve 1|2|both]          have the controller record its curves in EEPROM\n"
    "  diff FILE                          compare a map or CSV with the controller\n"
    "  log [-o FILE.csv] [--seconds N]    live data as CSV until Ctrl-C or N seconds\n"
    "  set output 5|12\n"
    "  set polarity positive|negative\n"
    "  set bypass SECONDS|off             0.5 to 2.0 in steps of 0.5\n"
    "  set vref VOLTS                     1.0 to 5.0 in steps of 1/3\n"
    "options:\n"
    "  --port NAME      COMn, \\\\.\\COMn or a device path (default COM2)\n"
    "  --baud N         baud rate (default 9600)\n"
    "  --model palunor6|palunor   speak as Palunor6 (default) or Palunor\n"
    "  --timeout SECONDS          how long the controller may take to answer (default 2)\n"
    "  --verbose        the bytes on the wire, with milliseconds, on standard error\n"
    "  --version, --help\n"
    "exit status: 0 done, 1 usage, 2 no controller answered, 3 refused or not confirmed,\n"
    "             4 file error\n";

namespace {

constexpr std::uint32_t kLowestBaud = 110;
constexpr std::uint32_t kHighestBaud = 921600;
constexpr double kLongestTimeoutSeconds = 60;
constexpr std::uint32_t kLongestLogSeconds = 24 * 60 * 60;

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::optional<std::uint32_t> Whole(std::string_view text) {
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return {};
  return value;
}

// A plain decimal number: digits with at most one point, no sign or exponent.
std::optional<double> Decimal(std::string_view text) {
  if (text.empty() || text.find_first_not_of("0123456789.") != std::string_view::npos ||
      std::count(text.begin(), text.end(), '.') > 1 || text == ".") {
    return {};
  }
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return {};
  return value;
}

// A value that is a whole number of `step`s, within low..high steps.
std::optional<int> Steps(std::string_view text, double step, int low, int high) {
  const std::optional<double> value = Decimal(text);
  if (!value) return {};
  const double steps = *value / step;
  const long rounded = std::lround(steps);
  // Volts are written rounded ("1.33"): a hundredth off a step is that step.
  if (std::fabs(*value - static_cast<double>(rounded) * step) > 0.006) return {};
  if (rounded < low || rounded > high) return {};
  return static_cast<int>(rounded);
}

const std::map<std::string, Command, std::less<>> kCommands = {
    {"ports", Command::Ports}, {"info", Command::Info},     {"read", Command::Read},
    {"send", Command::Send},   {"record", Command::Record}, {"diff", Command::Diff},
    {"log", Command::Log},     {"set", Command::Set},
};

// The reader of one command line; each method reports the first fault in m_error.
class Reader {
 public:
  Reader(const std::vector<std::string>& args, std::string& error) : m_args(args), m_error(error) {}

  std::optional<Arguments> Read() {
    std::vector<std::string> operands;
    for (m_at = 0; m_at < m_args.size(); ++m_at) {
      std::string arg = m_args[m_at];
      if (arg.size() > 1 && arg[0] == '-') {
        if (!Option(arg)) return {};
        if (m_stop) return m_result;
      } else {
        operands.push_back(arg);
      }
    }
    if (operands.empty()) return Fail("no command given");
    const auto command = kCommands.find(operands[0]);
    if (command == kCommands.end()) return Fail("unknown command \"" + operands[0] + "\"");
    m_result.command = command->second;
    operands.erase(operands.begin());
    if (!Operands(operands) || !OptionsFit()) return {};
    return m_result;
  }

 private:
  std::nullopt_t Fail(std::string why) {
    m_error = std::move(why);
    return std::nullopt;
  }
  bool Refuse(std::string why) {
    m_error = std::move(why);
    return false;
  }

  // "--name value" or "--name=value".
  std::optional<std::string> Value(std::string& name) {
    const std::size_t equals = name.find('=');
    if (equals != std::string::npos) {
      std::string value = name.substr(equals + 1);
      name.resize(equals);
      return value;
    }
    if (m_at + 1 >= m_args.size()) return Fail(name + " needs a value");
    return m_args[++m_at];
  }

  bool Option(std::string arg) {
    if (arg == "--help" || arg == "-h") {
      m_result.command = Command::Help;
      return m_stop = true;
    }
    if (arg == "--version") {
      m_result.command = Command::Version;
      return m_stop = true;
    }
    for (const auto& [flag, target] :
         std::initializer_list<std::pair<const char*, bool Arguments::*>>{
             {"--verbose", &Arguments::verbose},
             {"--json", &Arguments::json},
             {"--record", &Arguments::record},
             {"--dry-run", &Arguments::dry_run}}) {
      if (arg == flag) {
        m_result.*target = true;
        m_seen.push_back(arg);
        return true;
      }
    }
    std::string name = arg;
    const std::optional<std::string> value = Value(name);
    if (!value) return false;
    m_seen.push_back(name);
    if (name == "--port") {
      if (value->empty()) return Refuse("--port needs a name");
      m_result.port = DriverPortName(*value);
    } else if (name == "--baud") {
      const auto baud = Whole(*value);
      if (!baud || *baud < kLowestBaud || *baud > kHighestBaud) {
        return Refuse("--baud takes a rate from 110 to 921600, not \"" + *value + "\"");
      }
      m_result.baud = *baud;
    } else if (name == "--model") {
      if (EqualNoCase(*value, "palunor6")) {
        m_result.variant = ui::Variant::Palunor6;
      } else if (EqualNoCase(*value, "palunor")) {
        m_result.variant = ui::Variant::Palunor;
      } else {
        return Refuse("--model takes palunor6 or palunor, not \"" + *value + "\"");
      }
    } else if (name == "--timeout") {
      const auto seconds = Decimal(*value);
      if (!seconds || *seconds < 0.1 || *seconds > kLongestTimeoutSeconds) {
        return Refuse("--timeout takes seconds from 0.1 to 60, not \"" + *value + "\"");
      }
      m_result.timeout_ms = static_cast<std::uint32_t>(std::lround(*seconds * 1000));
    } else if (name == "--curve") {
      if (*value == "1") {
        m_result.curves = CurveChoice::First;
      } else if (*value == "2") {
        m_result.curves = CurveChoice::Second;
      } else if (*value == "both") {
        m_result.curves = CurveChoice::Both;
      } else {
        return Refuse("--curve takes 1, 2 or both, not \"" + *value + "\"");
      }
    } else if (name == "-o" || name == "--output") {
      if (value->empty()) return Refuse(name + " needs a file name");
      m_result.file = *value;
      m_seen.back() = "-o";
    } else if (name == "--seconds") {
      const auto seconds = Whole(*value);
      if (!seconds || *seconds == 0 || *seconds > kLongestLogSeconds) {
        return Refuse("--seconds takes a whole number of seconds from 1 to 86400, not \"" + *value +
                      "\"");
      }
      m_result.seconds = *seconds;
    } else {
      return Refuse("unknown option " + name);
    }
    return true;
  }

  bool Operands(const std::vector<std::string>& operands) {
    switch (m_result.command) {
      case Command::Send:
      case Command::Diff:
        if (operands.size() != 1) return Refuse("give one map file");
        if (!m_result.file.empty()) return Refuse("-o does not go with this command");
        m_result.file = operands[0];
        return true;
      case Command::Set:
        if (operands.size() != 2) return Refuse("set takes a name and a value");
        return Setting(operands[0], operands[1]);
      default:
        if (!operands.empty()) return Refuse("unexpected \"" + operands[0] + "\"");
        return true;
    }
  }

  bool Setting(const std::string& name, const std::string& value) {
    Arguments& r = m_result;
    if (name == "output") {
      r.setting = Setting::Output;
      if (value != "5" && value != "12") return Refuse("set output takes 5 or 12");
      r.value = value == "5" ? 5 : 12;
    } else if (name == "polarity") {
      r.setting = Setting::Polarity;
      if (value != "positive" && value != "negative") {
        return Refuse("set polarity takes positive or negative");
      }
      r.value = value == "positive" ? 1 : 0;
    } else if (name == "bypass") {
      r.setting = Setting::Bypass;
      const auto step = value == "off" ? std::optional<int>(0) : Steps(value, 0.5, 1, 4);
      if (!step) return Refuse("set bypass takes off or 0.5, 1.0, 1.5 or 2.0 seconds");
      r.value = *step;
    } else if (name == "vref") {
      r.setting = Setting::Vref;
      const auto step = Steps(value, 1.0 / 3.0, 3, 15);
      if (!step) return Refuse("set vref takes 1.0 to 5.0 volts in steps of 1/3 (1.33, 1.67, 2.0)");
      r.value = *step;
    } else {
      return Refuse("set takes output, polarity, bypass or vref, not \"" + name + "\"");
    }
    return true;
  }

  // Options that belong to one command only are refused with the others.
  bool OptionsFit() {
    const std::map<std::string, std::vector<Command>> owners = {
        {"--json", {Command::Read}},
        {"-o", {Command::Read, Command::Log}},
        {"--curve", {Command::Send, Command::Record}},
        {"--record", {Command::Send}},
        {"--dry-run", {Command::Send}},
        {"--seconds", {Command::Log}},
    };
    for (const std::string& option : m_seen) {
      const auto owner = owners.find(option);
      if (owner == owners.end()) continue;
      const auto& commands = owner->second;
      if (std::find(commands.begin(), commands.end(), m_result.command) == commands.end()) {
        return Refuse(option + " does not go with this command");
      }
    }
    if (m_result.json && !m_result.file.empty()) {
      return Refuse("--json writes to standard output: leave out -o");
    }
    if (m_result.dry_run && m_result.record) {
      return Refuse("--dry-run writes nothing: leave out --record");
    }
    return true;
  }

  const std::vector<std::string>& m_args;
  std::string& m_error;
  std::size_t m_at = 0;
  bool m_stop = false;
  Arguments m_result;
  std::vector<std::string> m_seen;
};

}  // namespace

std::optional<Arguments> ParseArguments(const std::vector<std::string>& args, std::string& error) {
  return Reader(args, error).Read();
}

std::string DriverPortName(const std::string& name) {
  const std::string_view prefix = "COM";
  if (name.size() > prefix.size() && EqualNoCase(std::string_view(name).substr(0, 3), prefix) &&
      Whole(std::string_view(name).substr(3))) {
    return "\\\\.\\" + name;
  }
  return name;
}

}  // namespace cli
