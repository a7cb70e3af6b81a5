// One program as it runs, its window on the offscreen platform and its serial port
// the system's, against the controller-sim program linked into a private port map
// as COM2. A test clicks and types on the window as a user would and compares the
// screen and the form with what the emulator reports it holds (its --state file):
//   E2e e2e(ui::Variant::Palunor6);           // emulator started, program found it
//   e2e.Click("RDBut");
//   ASSERT_TRUE(e2e.WaitForStatus("Lines Received!"));
//   EXPECT_EQ(e2e.State().Curve("ram2"), e2e.ShownCurve());
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>
#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "gui/main_window.h"
#include "gui/qt_platform.h"
#include "map/curve_model.h"
#include "map/marker.h"
#include "protocol/lockout.h"
#include "shell/form.h"
#include "tests/gui/gui_harness.h"
#include "ui/control.h"

namespace e2e {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Limits for things that happen within a few hundred milliseconds at 9600 baud, and
// for the link supervision, which declares a loss within 7.5 s and finds the
// controller again within 5 s. They only bound a wait; nothing asserts a duration.
constexpr auto kReplyLimit = 5s;
constexpr auto kSupervisionLimit = 15s;

// Runs the program's event loop until `done` or the limit; true when done.
inline bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    QEventLoop loop;
    QTimer::singleShot(10, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

// The emulator's --state file: "name value..." lines.
class EmulatorState {
 public:
  explicit EmulatorState(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
      std::istringstream words(line);
      std::string name;
      words >> name;
      std::vector<std::string> values;
      for (std::string value; words >> value;) values.push_back(value);
      m_items[name] = values;
    }
  }
  // A curve's 26 point values ("ram1", "eeprom2", ...).
  std::vector<int> Curve(const std::string& name) const {
    std::vector<int> points;
    for (const std::string& value : Values(name)) points.push_back(std::stoi(value));
    return points;
  }
  std::string Item(const std::string& name) const {
    const std::vector<std::string> values = Values(name);
    return values.empty() ? std::string() : values.front();
  }

 private:
  std::vector<std::string> Values(const std::string& name) const {
    const auto found = m_items.find(name);
    return found == m_items.end() ? std::vector<std::string>{} : found->second;
  }
  std::map<std::string, std::vector<std::string>> m_items;
};

// The controller-sim program on COM2 of the port map under `config`.
class Emulator {
 public:
  Emulator(fs::path config, fs::path state_file, fs::path log)
      : m_config(std::move(config)), m_state(std::move(state_file)), m_log(std::move(log)) {}
  ~Emulator() { Stop(); }
  Emulator(const Emulator&) = delete;
  Emulator& operator=(const Emulator&) = delete;

  static fs::path ProgramPath() {
    if (const char* path = std::getenv("CONTROLLER_SIM")) return path;
    return fs::read_symlink("/proc/self/exe").parent_path().parent_path().parent_path() /
           "controller-sim";
  }

  // Starts it and waits until COM2 leads to its pseudo-terminal; false if it did not.
  bool Start(std::vector<std::string> args) {
    args.insert(args.begin(),
                {ProgramPath().string(), "--port", "COM2", "--state", m_state.string(), "--log"});
    m_pid = fork();
    if (m_pid < 0) return false;
    if (m_pid == 0) {
      std::vector<char*> argv;
      for (std::string& arg : args) argv.push_back(arg.data());
      argv.push_back(nullptr);
      const int log = open(m_log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
      if (log >= 0) {
        dup2(log, STDOUT_FILENO);
        dup2(log, STDERR_FILENO);
      }
      execv(argv[0], argv.data());
      _exit(127);
    }
    return WaitUntil(
        [&] { return Device().string().starts_with("/dev/pts/") && fs::exists(m_state); },
        kReplyLimit);
  }

  // SIGTERM and wait: the pseudo-terminal goes and the port map link with it, as
  // when the cable is pulled.
  void Stop() {
    if (m_pid <= 0) return;
    kill(m_pid, SIGTERM);
    int status = 0;
    if (!WaitUntil([&] { return waitpid(m_pid, &status, WNOHANG) == m_pid; }, kReplyLimit)) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, &status, 0);
    }
    m_pid = -1;
  }

  // Pulls the cable (SIGUSR1): its pseudo-terminal goes, COM2 leads nowhere.
  bool Unplug() {
    const fs::path device = Device();
    kill(m_pid, SIGUSR1);
    return WaitUntil([&] { return !fs::exists(device) && !fs::exists(Device()); }, kReplyLimit);
  }
  // Plugs it in again (SIGUSR2): COM2 leads to a new pseudo-terminal.
  bool Replug() {
    kill(m_pid, SIGUSR2);
    return WaitUntil([&] { return fs::exists(Device()); }, kReplyLimit);
  }

  EmulatorState State() const { return EmulatorState(m_state); }
  // Its traffic in hex, from every start.
  std::string Log() const {
    std::ifstream in(m_log);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  // Where COM2 leads; empty without a link.
  fs::path Device() const {
    std::error_code error;
    const fs::path target = fs::read_symlink(m_config / "palunor" / "dosdevices" / "com2", error);
    return error ? fs::path() : target;
  }

  fs::path m_config;
  fs::path m_state;
  fs::path m_log;
  pid_t m_pid = -1;
};

class E2e {
 public:
  // Starts the emulator with `emulator_args`, then the program, whose window is
  // activated as at start-up; a test asserts Found() before it goes on.
  explicit E2e(ui::Variant variant, std::vector<std::string> emulator_args = {})
      : m_config(Setenv(m_dir)),
        m_emulator(m_config, Path("state.txt"), Path("controller-sim.log")) {
    m_started = m_emulator.Start(std::move(emulator_args));
    if (!m_started) return;
    const char* name = variant == ui::Variant::Palunor6 ? "Palunor6" : "Palunor";
    m_program = std::make_unique<gui::Program>(variant, Path(name).string(), Path("").string());
    m_program->Window().activateWindow();
    QApplication::setActiveWindow(&m_program->Window());
  }

  // A failed test shows what went over the line.
  ~E2e() {
    if (::testing::Test::HasFailure()) std::cout << "controller-sim:\n" << m_emulator.Log();
  }
  E2e(const E2e&) = delete;
  E2e& operator=(const E2e&) = delete;

  bool EmulatorStarted() const { return m_started; }
  Emulator& Controller() { return m_emulator; }
  EmulatorState State() const { return m_emulator.State(); }
  shell::TForm1& Form() { return m_program->Form(); }
  map::CurveModel& Model() { return Form().Model(); }
  gui::MainWindow& Window() { return m_program->Window(); }
  QWidget& Widget(const std::string& name) { return *Window().Widget(name); }
  std::string Caption() const { return m_program->Window().windowTitle().toStdString(); }
  std::string Text(const std::string& name) {
    auto* label = qobject_cast<QLabel*>(&Widget(name));
    if (label != nullptr) return label->text().toStdString();
    auto* button = qobject_cast<QAbstractButton*>(&Widget(name));
    return button != nullptr ? button->text().toStdString() : std::string();
  }
  bool Shown(const std::string& name) { return Widget(name).isVisible(); }
  bool Enabled(const std::string& name) { return Widget(name).isEnabled(); }

  // The caption names the controller and the status line says "Ready!".
  bool WaitUntilFound(const std::string& model = "QZR") {
    return WaitUntil(
        [&] {
          return Caption().starts_with("VYN Advance Controller Program (" + model + " Version") &&
                 Text("lblstat") == "Ready!";
        },
        kSupervisionLimit);
  }
  bool WaitForStatus(const std::string& text) {
    return WaitUntil([&] { return Text("lblstat") == text; }, kReplyLimit);
  }
  bool WaitFor(const std::function<bool()>& done) { return WaitUntil(done, kReplyLimit); }
  bool WaitForState(const std::function<bool(const EmulatorState&)>& done) {
    return WaitUntil([&] { return done(State()); }, kReplyLimit);
  }
  // A user's next command goes out only once the 600 ms lockout is over.
  bool WaitForLockoutEnd() {
    return WaitUntil([&] { return !Form().Timer1().Enabled(); }, kReplyLimit);
  }

  // A left click in the middle of the control's widget, after the lockout of the
  // previous command has ended.
  void Click(const std::string& name) {
    WaitForLockoutEnd();
    QTest::mouseClick(&Widget(name), Qt::LeftButton, Qt::NoModifier, Widget(name).rect().center());
  }
  // A click on the up or down arrow of an up-down chooser.
  void ClickArrow(const std::string& name, bool up) {
    auto* arrow = Widget(name).findChild<QWidget*>(up ? "up" : "down");
    QTest::mouseClick(arrow, Qt::LeftButton, Qt::NoModifier, arrow->rect().center());
  }
  // Keys typed at whatever has the keyboard focus.
  void Keys(Qt::Key key, int times) {
    for (int i = 0; i < times; ++i) {
      QWidget* focus = QApplication::focusWidget();
      QTest::keyClick(focus != nullptr ? focus : &Window(), key);
    }
  }

  // Answers the next message box with `button` when it shows; its text is kept.
  void AnswerNextMessageBox(QMessageBox::StandardButton button) {
    auto* watch = new QTimer(&Window());
    QObject::connect(watch, &QTimer::timeout, [this, watch, button] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      m_message = box->text().toStdString();
      box->button(button)->click();
      watch->deleteLater();
    });
    watch->start(20);
  }
  const std::string& LastMessage() const { return m_message; }

  // The point values the markers Lb1..Lb26 stand at on the screen.
  std::vector<int> ShownCurve() {
    std::vector<int> points;
    for (int p = 1; p <= 26; ++p)
      points.push_back(map::ValueOfTop(Widget("Lb" + std::to_string(p)).geometry().top()));
    return points;
  }
  static std::vector<int> Values(const map::Curve& curve) {
    return std::vector<int>(curve.begin(), curve.end());
  }

 private:
  // A scratch home and port map for the emulator and the program, set before either
  // starts.
  static fs::path Setenv(const QTemporaryDir& dir) {
    const fs::path config = fs::path(dir.path().toStdString()) / "config";
    fs::create_directories(config);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    setenv("HOME", dir.path().toStdString().c_str(), 1);
    return config;
  }
  fs::path Path(const std::string& name) const {
    return fs::path(m_dir.path().toStdString()) / name;
  }

  QApplication& m_app = gui_test::App();
  QTemporaryDir m_dir;
  fs::path m_config;
  Emulator m_emulator;
  bool m_started = false;
  std::unique_ptr<gui::Program> m_program;
  std::string m_message;
};

}  // namespace e2e
