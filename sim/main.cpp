// controller-sim: the emulated controller on a pseudo-terminal, linked into the
// per-user port map as a COM port, until SIGINT or SIGTERM.
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "protocol/catalogue.h"
#include "sim/controller.h"
#include "sim/fault.h"
#include "sim/line.h"
#include "sim/port_map.h"
#include "sim/state_text.h"
#include "ui/event_loop.h"
#include "ui/steady_loop.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;
volatile std::sig_atomic_t g_unplug = 0;
volatile std::sig_atomic_t g_replug = 0;

void OnSignal(int signal) {
  if (signal == SIGUSR1) {
    g_unplug = 1;
  } else if (signal == SIGUSR2) {
    g_replug = 1;
  } else {
    g_stop = 1;
  }
}

constexpr std::uint32_t kTickMs = 1;
constexpr int kSettingsEveryTicks = 20;
constexpr std::size_t kChunk = 4096;

struct Settings {
  int port = 2;
  sim::Model model = sim::Model::QZR;
  int version = 60;
  int max_advance = 25;
  int max_retard = 25;
  char channels = 'D';
  sim::Fault fault;
  bool log = false;
  std::filesystem::path state_file;  // empty: none
};

constexpr std::string_view kUsage =
    "usage: controller-sim [--port COM1..COM16] [--model QZR|PLX] [--version TENTHS]\n"
    "                      [--limits ADVANCE,RETARD] [--channels D|S] [--fault NAME[=ARGS]] "
    "[--log]\n"
    "                      [--state FILE]\n"
    "faults: NoReply, LateReply=MS, SplitReply=K,MS, DropByte=K, CorruptByte=K, Noise=SEED, "
    "Unplug,\n"
    "        InvalidLiveReadings\n"
    "signals: USR1 pulls the cable (the pty goes, the port map link leads nowhere),\n"
    "         USR2 plugs it in again (a new pty, the link points at it)\n";

std::optional<int> Whole(std::string_view text, int low, int high) {
  if (text.empty() || text.size() > 4) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < low || value > high) return std::nullopt;
  return value;
}

// Reads the command line; prints why and gives nothing when it is wrong.
std::optional<Settings> ReadArguments(int argc, char** argv) {
  Settings settings;
  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    if (option == "--log") {
      settings.log = true;
      continue;
    }
    if (option == "--help") {
      std::cout << kUsage;
      std::exit(0);
    }
    if (i + 1 >= argc) {
      std::cerr << "controller-sim: " << option << " needs a value\n" << kUsage;
      return std::nullopt;
    }
    const std::string_view value = argv[++i];
    bool ok = true;
    if (option == "--port") {
      const auto port = sim::ComPortNumber(value);
      ok = port.has_value();
      if (ok) settings.port = *port;
    } else if (option == "--model") {
      ok = value == "QZR" || value == "PLX";
      settings.model = value == "PLX" ? sim::Model::PLX : sim::Model::QZR;
    } else if (option == "--version") {
      const auto version = Whole(value, 0, 255);
      ok = version.has_value();
      if (ok) settings.version = *version;
    } else if (option == "--limits") {
      const std::size_t comma = value.find(',');
      const auto advance = Whole(value.substr(0, comma), 0, 255);
      const auto retard =
          comma == std::string_view::npos ? std::nullopt : Whole(value.substr(comma + 1), 0, 255);
      ok = advance && retard;
      if (ok) {
        settings.max_advance = *advance;
        settings.max_retard = *retard;
      }
    } else if (option == "--channels") {
      ok = value == "D" || value == "S";
      if (ok) settings.channels = value[0];
    } else if (option == "--state") {
      settings.state_file = value;
    } else if (option == "--fault") {
      const auto fault = sim::ParseFault(value);
      ok = fault.has_value();
      if (ok) settings.fault = *fault;
    } else {
      std::cerr << "controller-sim: unknown option " << option << "\n" << kUsage;
      return std::nullopt;
    }
    if (!ok) {
      std::cerr << "controller-sim: bad value for " << option << ": " << value << "\n" << kUsage;
      return std::nullopt;
    }
  }
  return settings;
}

std::uint32_t BaudOf(speed_t speed) {
  switch (speed) {
    case B110:
      return 110;
    case B300:
      return 300;
    case B600:
      return 600;
    case B1200:
      return 1200;
    case B2400:
      return 2400;
    case B4800:
      return 4800;
    case B9600:
      return 9600;
    case B19200:
      return 19200;
    case B38400:
      return 38400;
    case B57600:
      return 57600;
    case B115200:
      return 115200;
    case B230400:
      return 230400;
#ifdef B460800
    case B460800:
      return 460800;
#endif
#ifdef B921600
    case B921600:
      return 921600;
#endif
    default:
      return 9600;  // B0 and speeds the pty does not name
  }
}

// The wire time of a byte as the program has set up its end of the pty.
std::uint64_t ByteTimeOf(int master) {
  termios settings{};
  if (tcgetattr(master, &settings) != 0) return sim::ByteTimeNs(9600, 8, false, 0);
  const tcflag_t size = settings.c_cflag & CSIZE;
  const int data_bits = size == CS5 ? 5 : size == CS6 ? 6 : size == CS7 ? 7 : 8;
  return sim::ByteTimeNs(BaudOf(cfgetospeed(&settings)), data_bits,
                         (settings.c_cflag & PARENB) != 0, (settings.c_cflag & CSTOPB) ? 2 : 0);
}

// One line a chunk: milliseconds since start, direction, bytes in hex.
void LogBytes(std::uint64_t now_ns, std::string_view direction, std::string_view bytes) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%10.3f ", static_cast<double>(now_ns) / 1e6);
  std::string line = stamp + std::string(direction);
  char hex[4];
  for (char c : bytes) {
    std::snprintf(hex, sizeof hex, " %02X", static_cast<unsigned>(static_cast<unsigned char>(c)));
    line += hex;
  }
  std::cout << line << std::endl;
}

// The pseudo-terminal: the master is ours, the slave is what the program opens.
struct Pty {
  int master = -1;
  int slave = -1;  // held open so the line does not hang up between the program's opens
  std::string slave_name;
};

void ClosePty(const Pty& pty) {
  close(pty.slave);
  close(pty.master);
}

std::optional<Pty> OpenPty() {
  Pty pty;
  // Whatever was opened goes again when a step fails, so a failed replug leaks nothing.
  auto failed = [&pty] {
    const int error = errno;
    if (pty.slave >= 0) close(pty.slave);
    if (pty.master >= 0) close(pty.master);
    errno = error;
    return std::nullopt;
  };
  pty.master = posix_openpt(O_RDWR | O_NOCTTY);
  if (pty.master < 0 || grantpt(pty.master) != 0 || unlockpt(pty.master) != 0) return failed();
  const char* name = ptsname(pty.master);
  if (name == nullptr) return failed();
  pty.slave_name = name;
  pty.slave = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (pty.slave < 0) return failed();
  termios raw{};
  if (tcgetattr(pty.slave, &raw) != 0) return failed();
  cfmakeraw(&raw);
  cfsetispeed(&raw, B9600);
  cfsetospeed(&raw, B9600);
  if (tcsetattr(pty.slave, TCSANOW, &raw) != 0) return failed();
  fcntl(pty.master, F_SETFL, fcntl(pty.master, F_GETFL) | O_NONBLOCK);
  return pty;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Settings> settings = ReadArguments(argc, argv);
  if (!settings) return 2;

  const std::filesystem::path map_dir = sim::PortMapDir();
  if (map_dir.empty()) {
    std::cerr << "controller-sim: neither XDG_CONFIG_HOME nor HOME is set\n";
    return 1;
  }
  std::optional<Pty> pty = OpenPty();
  if (!pty) {
    std::cerr << "controller-sim: cannot open a pseudo-terminal: " << std::strerror(errno) << "\n";
    return 1;
  }

  struct sigaction handler {};
  handler.sa_handler = OnSignal;
  sigemptyset(&handler.sa_mask);
  for (int signal : {SIGINT, SIGTERM, SIGUSR1, SIGUSR2}) sigaction(signal, &handler, nullptr);
  // The program closing its end must not end us.
  std::signal(SIGPIPE, SIG_IGN);

  sim::Controller controller(settings->model);
  controller.SetVersion(settings->version);
  controller.SetLimits(settings->max_advance, settings->max_retard);
  controller.SetChannels(settings->channels);
  sim::Line line(controller);
  line.SetInputCapacity(1 << 16);

  const auto start = std::chrono::steady_clock::now();
  auto now_ns = [start] {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                          std::chrono::steady_clock::now() - start)
                                          .count());
  };
  line.SetByteTime(ByteTimeOf(pty->master));
  line.SetFault(settings->fault, now_ns());

  // The state file follows every command the controller carries out.
  std::uint64_t written_at = 0;
  auto write_state = [&] {
    if (settings->state_file.empty()) return;
    written_at = controller.CommandsCarriedOut();
    if (!sim::WriteStateFile(settings->state_file, sim::StateText(controller)))
      std::cerr << "controller-sim: cannot write " << settings->state_file << "\n";
  };
  write_state();

  // Linked last: whoever finds the port in the map finds the state file there too.
  sim::PortMapLink link(map_dir, settings->port, pty->slave_name);
  if (!link.Linked()) {
    std::cerr << "controller-sim: " << link.Error() << "\n";
    return 1;
  }
  std::cout << "controller-sim: " << sim::ModelCode(settings->model) << " "
            << protocol::VersionText(settings->version) << " on COM" << settings->port << " -> "
            << pty->slave_name << std::endl;

  ui::SteadyLoop loop;
  ui::Timer tick(loop, kTickMs);
  int ticks = 0;
  std::string unsent;  // reply bytes the pty would not take yet
  // A pulled cable: the device goes away under the program, and the port map link
  // leads nowhere until the cable is back.
  auto unplug = [&] {
    if (!pty) return;
    line.SetFault({sim::FaultMode::Unplug}, now_ns());
    unsent.clear();
    // The link leads to a name no pty will take, so a pty opened meanwhile by
    // anybody else is never mistaken for the controller.
    link.Retarget(pty->slave_name + ".unplugged");
    ClosePty(*pty);
    pty.reset();
    std::cout << "controller-sim: unplugged" << std::endl;
  };
  auto replug = [&] {
    if (pty) return;
    pty = OpenPty();
    if (!pty || !link.Retarget(pty->slave_name)) {
      std::cerr << "controller-sim: cannot plug in again: "
                << (pty ? link.Error() : std::string(std::strerror(errno))) << "\n";
      g_stop = 1;
      return;
    }
    line.SetFault({sim::FaultMode::Replug}, now_ns());
    std::cout << "controller-sim: plugged in again on COM" << settings->port << " -> "
              << pty->slave_name << std::endl;
  };
  tick.OnTimer = [&] {
    if (g_unplug) {
      g_unplug = 0;
      unplug();
    }
    if (g_replug) {
      g_replug = 0;
      replug();
    }
    if (g_stop) {
      loop.Quit();
      return;
    }
    if (!pty) return;
    if (++ticks % kSettingsEveryTicks == 0) line.SetByteTime(ByteTimeOf(pty->master));
    char buffer[kChunk];
    const ssize_t got = read(pty->master, buffer, sizeof buffer);
    // Nothing waiting (EAGAIN) or nobody on the other end (EIO): try again next tick.
    if (got > 0) {
      const std::string_view heard(buffer, static_cast<std::size_t>(got));
      if (settings->log) LogBytes(now_ns(), "<-", heard);
      line.HostSend(heard, now_ns());
    }
    line.Update(now_ns());
    if (controller.CommandsCarriedOut() != written_at) write_state();
    unsent += line.Take(line.Readable());
    if (unsent.empty()) return;
    const ssize_t put = write(pty->master, unsent.data(), unsent.size());
    if (put > 0) {
      if (settings->log) LogBytes(now_ns(), "->", std::string_view(unsent).substr(0, put));
      unsent.erase(0, static_cast<std::size_t>(put));
    }
  };
  tick.SetEnabled(true);
  loop.Run();

  link.Restore();
  if (pty) ClosePty(*pty);
  return 0;
}
