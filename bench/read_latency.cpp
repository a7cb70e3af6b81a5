// Times a Read as the user sees it: from the click on Read to the status line saying
// "Lines Received!", in both programs composed as they run (Qt event loop, the
// system's serial port), against controller-sim on a pseudo-terminal linked as COM2
// into a private port map. A Read is RD1, its 34-byte reply, RD2 and its 34 bytes.
//   read_latency [--sim PATH] [--reads N]
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "gui/qt_platform.h"
#include "protocol/catalogue.h"
#include "serial/comm_port_driver.h"
#include "shell/form.h"
#include "ui/control.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Bounds on waits for things that take well under a second at 9600 baud; they only
// turn a program that never answers into an error, nothing is judged by them.
constexpr auto kStartLimit = 5s;
constexpr auto kReplyLimit = 5s;
constexpr int kPollPeriodMs = 50;
constexpr double kTargetMs = 140;
constexpr std::string_view kUsage = "usage: read_latency [--sim PATH] [--reads N]\n";

struct Arguments {
  fs::path sim;
  int reads = 30;
};

std::optional<Arguments> ReadArguments(int argc, char** argv) {
  Arguments arguments;
  // The bench build puts the benchmark in bench/ and controller-sim at the top.
  std::error_code error;
  arguments.sim =
      fs::read_symlink("/proc/self/exe", error).parent_path().parent_path() / "controller-sim";
  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    if (i + 1 >= argc) return std::nullopt;
    const std::string value = argv[++i];
    if (option == "--sim") {
      arguments.sim = value;
    } else if (option == "--reads") {
      char* end = nullptr;
      const long reads = std::strtol(value.c_str(), &end, 10);
      if (end == value.c_str() || *end != '\0' || reads < 1 || reads > 1000) return std::nullopt;
      arguments.reads = static_cast<int>(reads);
    } else {
      return std::nullopt;
    }
  }
  return arguments;
}

// A scratch folder that is the home and the configuration folder of both the
// emulator and the program, so the user's port map and settings are left alone.
class Scratch {
 public:
  Scratch() {
    std::string name = (fs::temp_directory_path() / "read_latency.XXXXXX").string();
    if (mkdtemp(name.data()) == nullptr) throw std::runtime_error("cannot make a scratch folder");
    m_dir = name;
    fs::create_directories(Config());
    setenv("HOME", m_dir.c_str(), 1);
    setenv("XDG_CONFIG_HOME", Config().c_str(), 1);
    // Qt wants a runtime folder of the user's own, and says so on every start without.
    const fs::path runtime = m_dir / "runtime";
    fs::create_directory(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(m_dir, ignored);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  const fs::path& Dir() const { return m_dir; }
  fs::path Config() const { return m_dir / "config"; }

 private:
  fs::path m_dir;
};

// Runs the Qt event loop until `done` holds after a pass, or the limit passes.
bool RunUntil(const std::function<bool()>& done, Clock::duration limit) {
  const auto end = Clock::now() + limit;
  // Wakes the loop at the limit even if nothing else happens by then.
  QTimer wake;
  wake.setSingleShot(true);
  wake.start(std::chrono::duration_cast<std::chrono::milliseconds>(limit));
  while (!done()) {
    if (Clock::now() >= end) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

// controller-sim on COM2 of the scratch port map, from start until destroyed.
class Emulator {
 public:
  Emulator(const fs::path& program, const Scratch& scratch) {
    m_pid = fork();
    if (m_pid < 0) throw std::runtime_error("cannot start controller-sim");
    if (m_pid == 0) {
      // Ends with the benchmark even if the benchmark is killed.
      prctl(PR_SET_PDEATHSIG, SIGTERM);
      // Its greeting would come between the figures; its complaints still show.
      const int null = open("/dev/null", O_WRONLY);
      if (null < 0 || dup2(null, STDOUT_FILENO) < 0) _exit(127);
      execl(program.c_str(), program.c_str(), "--port", "COM2", static_cast<char*>(nullptr));
      _exit(127);
    }
    const fs::path link = scratch.Config() / "palunor" / "dosdevices" / "com2";
    const bool linked = RunUntil(
        [&] {
          if (waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
            m_pid = -1;
            return true;
          }
          std::error_code error;
          return fs::read_symlink(link, error).string().starts_with("/dev/pts/");
        },
        kStartLimit);
    if (m_pid < 0) throw std::runtime_error("controller-sim ended at start");
    if (!linked) {
      Stop();
      throw std::runtime_error("controller-sim made no COM2 link in the port map");
    }
  }
  ~Emulator() { Stop(); }
  Emulator(const Emulator&) = delete;
  Emulator& operator=(const Emulator&) = delete;

 private:
  void Stop() {
    if (m_pid <= 0) return;
    kill(m_pid, SIGTERM);
    waitpid(m_pid, nullptr, 0);
    m_pid = -1;
  }

  pid_t m_pid = -1;
};

double Milliseconds(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

// The time the Read's bytes take on the line as the driver has set it up.
double WireMs(serial::TCommPortDriver& driver) {
  const double data_bits = static_cast<int>(driver.DataBits()) + 5;
  const double parity_bits = driver.Parity() == serial::TParity::ptNONE ? 0 : 1;
  const double stop_bits = driver.StopBits() == serial::TStopBits::sb1BITS       ? 1
                           : driver.StopBits() == serial::TStopBits::sb1HALFBITS ? 1.5
                                                                                 : 2;
  const double bytes =
      static_cast<double>(protocol::ReadCurve(1).size() + protocol::ReadCurve(2).size() +
                          2 * protocol::kCurveReplyLength);
  const double bits = bytes * (1 + data_bits + parity_bits + stop_bits);
  return bits * 1000.0 / driver.BaudRateValue();
}

struct Figures {
  std::vector<double> reads_ms;
  double wire_ms = 0;
  int polls_waited_out = 0;  // link polls that began before a click and put it back
};

// One program: started, activated, the controller found, then `reads` Reads.
Figures Measure(ui::Variant variant, const char* name, const Arguments& arguments,
                const Scratch& scratch) {
  Emulator emulator(arguments.sim, scratch);

  const fs::path work = scratch.Dir() / name;
  fs::create_directories(work);
  Figures figures;
  bool reading = false;
  std::optional<Clock::time_point> received;
  gui::Program program(variant, (work / name).string(), work.string());
  shell::TForm1& form = program.Form();
  ui::Control& status = form["lblstat"];
  form.Controls().Subscribe([&](ui::Control& control, ui::Property property) {
    if (reading && &control == &status && property == ui::Property::Caption &&
        status.Caption() == "Lines Received!") {
      received = Clock::now();
    }
  });
  // What the window's first activation runs; under the offscreen platform nothing
  // need activate the window.
  form.Activated();
  if (!RunUntil([&] { return status.Caption() == "Ready!"; }, kStartLimit)) {
    throw std::runtime_error(std::string(name) + " did not find the controller");
  }
  figures.wire_ms = WireMs(form.CPDrv());

  ui::Timer& lockout = form.Timer1();
  for (int read = 0; read < arguments.reads; ++read) {
    // The clicks fall evenly over the poll period: clicking as soon as the lockout
    // ends would always meet the driver's poll at the same point.
    const int offset_ms = read * kPollPeriodMs / arguments.reads;
    std::optional<Clock::time_point> clicked;
    while (!clicked) {
      if (!RunUntil([&] { return !lockout.Enabled(); }, kReplyLimit)) {
        throw std::runtime_error(std::string(name) + ": the command lockout did not end");
      }
      bool due = false;
      QTimer::singleShot(offset_ms, Qt::PreciseTimer, [&] {
        due = true;
        // A link poll may have begun meanwhile; its lockout would refuse the click.
        if (lockout.Enabled()) {
          ++figures.polls_waited_out;
          return;
        }
        received.reset();
        reading = true;
        clicked = Clock::now();
        form["RDBut"].Click();
      });
      if (!RunUntil([&] { return due; }, kReplyLimit)) {
        throw std::runtime_error(std::string(name) + ": the event loop stalled");
      }
    }
    if (!lockout.Enabled() || !status.Caption().empty()) {
      throw std::runtime_error(std::string(name) + ": the Read click was not taken");
    }
    if (!RunUntil([&] { return received.has_value(); }, kReplyLimit)) {
      throw std::runtime_error(std::string(name) + ": a Read got no \"Lines Received!\"");
    }
    reading = false;
    figures.reads_ms.push_back(Milliseconds(*received - *clicked));
  }
  return figures;
}

void Print(const char* name, Figures figures) {
  std::vector<double>& ms = figures.reads_ms;
  std::sort(ms.begin(), ms.end());
  const std::size_t n = ms.size();
  const double median = n % 2 == 1 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
  const auto within = std::count_if(ms.begin(), ms.end(), [](double t) { return t < kTargetMs; });
  std::printf(
      "%-8s %zu reads: median %.1f ms, worst %.1f ms, best %.1f ms; wire time %.1f ms; "
      "under %.0f ms: %td of %zu; link polls waited out: %d\n",
      name, n, median, ms.back(), ms.front(), figures.wire_ms, kTargetMs, within, n,
      figures.polls_waited_out);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Arguments> arguments = ReadArguments(argc, argv);
  if (!arguments) {
    std::cerr << kUsage;
    return 2;
  }
  if (access(arguments->sim.c_str(), X_OK) != 0) {
    std::cerr << "read_latency: no controller-sim at " << arguments->sim << "\n" << kUsage;
    return 2;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  try {
    Scratch scratch;
    QApplication app(argc, argv);
    Print("Palunor6", Measure(ui::Variant::Palunor6, "Palunor6", *arguments, scratch));
    Print("Palunor", Measure(ui::Variant::Palunor, "Palunor", *arguments, scratch));
  } catch (const std::exception& error) {
    std::cerr << "read_latency: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
