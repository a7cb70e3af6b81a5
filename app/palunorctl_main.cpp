// palunorctl: the controller from a terminal. The commands live in cli/; this entry
// gives them the platform: a real event loop, the system's serial ports, Ctrl-C, the
// console and the local time.
#include <csignal>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "files/utf8_path.h"
#include "serial/port_access.h"
#include "serial/port_backend.h"
#include "serial/serial_devices.h"
#include "ui/steady_loop.h"

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

void OnInterrupt(int) {
  g_interrupted = 1;
}

// How long one turn of the pump runs the loop: short, so Ctrl-C is felt at once.
constexpr std::uint32_t kPumpMs = 10;

std::string LocalTime() {
  const std::time_t now = std::time(nullptr);
  char text[32] = "";
  if (const std::tm* local = std::localtime(&now)) {
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", local);
  }
  return text;
}

int RunTool(const std::vector<std::string>& args) {
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
#ifdef SIGPIPE
  // A reader that goes away (palunorctl log | head) ends the log as Ctrl-C does, with
  // live data switched off, instead of killing the tool with the stream still running.
  std::signal(SIGPIPE, SIG_IGN);
#endif
  ui::SteadyLoop loop;
  ui::Timer turn(loop, kPumpMs, false);
  turn.OnTimer = [&loop, &turn] {
    turn.SetEnabled(false);
    loop.Quit();
  };
  cli::Environment environment{
      loop,
      [] { return serial::MakeSystemPort(); },
      [&loop, &turn] {
        turn.SetEnabled(true);
        loop.Run();
        return g_interrupted == 0;
      },
      std::cout,
      std::cerr,
      PALUNOR_VERSION,
      LocalTime,
      serial::OpenFailureDetails,
      serial::PortDevicePresent,
      {},
      {},
  };
#ifndef _WIN32
  // Windows has no port map: its ports are the COM names themselves.
  environment.devices = serial::ListSerialDevices("/");
  environment.port_map = serial::PortMapDir();
#endif
  return cli::Code(cli::RunCommandLine(args, environment));
}

}  // namespace

#ifdef _WIN32
// The arguments in UTF-16, so file names in any script reach the tool whole.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i)
    args.push_back(files::Utf8FromPath(std::filesystem::path(argv[i])));
  return RunTool(args);
}
#else
int main(int argc, char** argv) {
  return RunTool(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
