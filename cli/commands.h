// palunorctl's commands: each opens the port, makes sure a controller answers, does
// its steps through a Session and says what happened, with the exit status of
// exit_status.h. Everything the platform gives comes in the Environment, so the
// tests run the very same commands on the virtual clock against the emulator.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/exit_status.h"
#include "cli/session.h"
#include "serial/port_backend.h"
#include "serial/serial_devices.h"
#include "ui/event_loop.h"

namespace cli {

struct Environment {
  ui::EventLoop& loop;
  std::function<std::unique_ptr<serial::PortBackend>()> make_port;
  // Runs the loop a little; false once the user pressed Ctrl-C.
  Session::Pump pump;
  std::ostream& out;
  std::ostream& err;
  // The program's version, for --version.
  std::string version;
  // The local date and time now, for the rows of a live-data log.
  std::function<std::string()> local_time;
  // Why a port that does not open cannot be opened, if the user can mend it.
  std::function<std::string(const std::string& port)> open_failure;
  // Whether a device is behind the port (so one that does not open is held by another
  // program); nothing where the platform cannot tell.
  std::function<std::optional<bool>(const std::string& port)> port_present;
  // What `ports` lists: the devices present and the port map's folder.
  std::vector<serial::SerialDevice> devices;
  std::filesystem::path port_map;
};

ExitStatus Run(const Arguments& arguments, Environment& environment);

// The command line as main gets it (without the program's name): usage errors are
// told on standard error with the usage text.
ExitStatus RunCommandLine(const std::vector<std::string>& args, Environment& environment);

}  // namespace cli
