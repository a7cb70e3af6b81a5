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
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
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
#include <utility>
#include <vector>

#include "gui/main_window.h"
#include "gui/qt_platform.h"
#include "map/curve_model.h"
#include "map/marker.h"
#include "protocol/lockout.h"
#include "safekeeping/data_folders.h"
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

// The controller-sim program on a COM port (COM2 unless told) of the port map under
// `config`.
class Emulator {
 public:
  Emulator(fs::path config, fs::path state_file, fs::path log, int port = 2)
      : m_config(std::move(config)),
        m_state(std::move(state_file)),
        m_log(std::move(log)),
        m_port(port) {}
  ~Emulator() { Stop(); }
  Emulator(const Emulator&) = delete;
  Emulator& operator=(const Emulator&) = delete;

  static fs::path ProgramPath() {
    if (const char* path = std::getenv("CONTROLLER_SIM")) return path;
    return fs::read_symlink("/proc/self/exe").parent_path().parent_path().parent_path() /
           "controller-sim";
  }

  // Starts it and waits until its port leads to its pseudo-terminal; false if it did
  // not.
  bool Start(std::vector<std::string> args) {
    args.insert(args.begin(), {ProgramPath().string(), "--port", "COM" + std::to_string(m_port),
                               "--state", m_state.string(), "--log"});
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

  // Pulls the cable (SIGUSR1): its pseudo-terminal goes, its port leads nowhere.
  bool Unplug() {
    const fs::path device = Device();
    kill(m_pid, SIGUSR1);
    return WaitUntil([&] { return !fs::exists(device) && !fs::exists(Device()); }, kReplyLimit);
  }
  // Plugs it in again (SIGUSR2): its port leads to a new pseudo-terminal.
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
  // Where its port leads; empty without a link.
  fs::path Device() const {
    std::error_code error;
    const fs::path target = fs::read_symlink(
        m_config / "palunor" / "dosdevices" / ("com" + std::to_string(m_port)), error);
    return error ? fs::path() : target;
  }

  fs::path m_config;
  fs::path m_state;
  fs::path m_log;
  int m_port;
  pid_t m_pid = -1;
};

// Bytes as the emulator's log writes them: " 56 45 52" for "VER".
inline std::string Hex(const std::string& bytes) {
  std::string hex;
  char digits[4];
  for (char c : bytes) {
    std::snprintf(digits, sizeof digits, " %02X",
                  static_cast<unsigned>(static_cast<unsigned char>(c)));
    hex += digits;
  }
  return hex;
}

// The bytes the emulator heard ("<-") or sent ("->"), in the order they went over the
// line; with a `command`, only those after the last time it heard that command.
inline std::string LoggedBytes(const std::string& log, const std::string& direction,
                               const std::string& command = "") {
  const std::string heard = Hex(command);
  std::istringstream lines(log);
  std::string bytes;
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::string stamp;
    std::string arrow;
    if (!(words >> stamp >> arrow)) continue;
    if (!command.empty() && arrow == "<-" && line.ends_with(heard)) {
      bytes.clear();
      continue;
    }
    if (arrow != direction) continue;
    for (std::string hex; words >> hex;) bytes += static_cast<char>(std::stoi(hex, nullptr, 16));
  }
  return bytes;
}

// How often the emulator heard `command`.
inline int TimesHeard(const std::string& log, const std::string& command) {
  const std::string bytes = LoggedBytes(log, "<-");
  int times = 0;
  for (auto at = bytes.find(command); at != std::string::npos; at = bytes.find(command, at + 1))
    ++times;
  return times;
}

class E2e {
 public:
  // Starts the emulator with `emulator_args`, then the program, whose window is
  // activated as at start-up; a test asserts Found() before it goes on.
  explicit E2e(ui::Variant variant, std::vector<std::string> emulator_args = {})
      : m_config(Setenv(m_dir)),
        m_emulator(m_config, Path("state.txt"), Path("controller-sim.log")) {
    m_started = m_emulator.Start(std::move(emulator_args));
    if (m_started) StartProgram(variant);
  }

  // A failed test shows what went over the lines.
  ~E2e() {
    if (!::testing::Test::HasFailure()) return;
    std::cout << "controller-sim:\n" << m_emulator.Log();
    for (const auto& [port, emulator] : m_more)
      std::cout << "controller-sim on COM" << port << ":\n" << emulator->Log();
  }
  E2e(const E2e&) = delete;
  E2e& operator=(const E2e&) = delete;

  bool EmulatorStarted() const { return m_started; }
  Emulator& Controller() { return m_emulator; }
  // Another emulator, on COM`port` of the same port map; null if it did not start.
  Emulator* AddController(int port, std::vector<std::string> args = {}) {
    const std::string com = "com" + std::to_string(port);
    auto emulator = std::make_unique<Emulator>(m_config, Path("state-" + com + ".txt"),
                                               Path("controller-sim-" + com + ".log"), port);
    if (!emulator->Start(std::move(args))) return nullptr;
    return m_more.emplace_back(port, std::move(emulator)).second.get();
  }
  // The program's current directory, where "Advance.ini" is.
  fs::path WorkDir() const { return Path(""); }
  // The user closes the window and starts the program again in the same directory.
  void Restart(ui::Variant variant) {
    // In the program closing the window also ends the application's event loop, for
    // good; the test's own loops must go on after it.
    Window().OnClosed = nullptr;
    Window().close();
    m_program.reset();
    StartProgram(variant);
  }
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

  // Presses the left button on the control's widget, moves the mouse `dy` pixels
  // down (up when negative) two at a time as a hand does, and releases it there. The
  // marker moves under the mouse, so each position is taken from where the mouse is
  // on the screen, not from the widget's corner.
  void Drag(const std::string& name, int dy) {
    QWidget& widget = Widget(name);
    const QPoint start = widget.mapToGlobal(widget.rect().center());
    QTest::mousePress(&widget, Qt::LeftButton, Qt::NoModifier, widget.rect().center());
    const int steps = std::max(1, std::abs(dy) / 2);
    for (int step = 1; step <= steps; ++step) {
      QTest::mouseMove(&widget, widget.mapFromGlobal(start + QPoint(0, dy * step / steps)));
    }
    QTest::mouseRelease(&widget, Qt::LeftButton, Qt::NoModifier,
                        widget.mapFromGlobal(start + QPoint(0, dy)));
  }

  // Answers the next message box with `button` when it shows; its text is kept.
  void AnswerNextMessageBox(QMessageBox::StandardButton button) {
    WhenModal([this, button](QWidget& widget) {
      auto* box = qobject_cast<QMessageBox*>(&widget);
      if (box == nullptr) return false;
      m_message = box->text().toStdString();
      box->button(button)->click();
      return !box->isVisible();
    });
  }
  const std::string& LastMessage() const { return m_message; }
  // Types `path` into the next file dialog's name field and clicks its Open or Save
  // button. The dialog looks at the name when it is typed, and enables the button only
  // once it has listed the folder on a later pass of the event loop: until then the
  // name is typed again, each time the dialog is looked at.
  void AnswerNextFileDialog(const fs::path& path) {
    WhenModal([this, path](QWidget& widget) {
      auto* dialog = qobject_cast<QFileDialog*>(&widget);
      if (dialog == nullptr) return false;
      m_dialog_title = dialog->windowTitle().toStdString();
      auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
      name->clear();
      name->setText(QString::fromStdString(path.string()));
      auto* buttons = dialog->findChild<QDialogButtonBox*>();
      for (QAbstractButton* button : buttons->buttons()) {
        if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole && button->isEnabled())
          button->click();
      }
      return !dialog->isVisible();
    });
  }
  const std::string& LastDialogTitle() const { return m_dialog_title; }
  // Chooses the item with `caption` ("&Edit points...") from the next popup menu, with
  // the keyboard as a user may.
  void AnswerNextMenu(const std::string& caption) {
    auto* watch = new QTimer(&Window());
    QObject::connect(watch, &QTimer::timeout, [watch, caption] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (menu == nullptr) return;
      for (QAction* action : menu->actions()) {
        if (action->text().section('\t', 0, 0).toStdString() != caption) continue;
        menu->setActiveAction(action);
        QTest::keyClick(menu, Qt::Key_Return);
      }
      watch->stop();
      watch->deleteLater();
    });
    watch->start(20);
  }
  // Works the next table dialog with `work` (its table, and a way to click one of its
  // buttons by caption), then clicks the button `close` ("OK" or "Cancel").
  using TableWork = std::function<void(QTableWidget&, const std::function<void(const char*)>&)>;
  void AnswerNextTable(TableWork work, const std::string& close) {
    WhenModal([work, close](QWidget& widget) {
      auto* table = widget.findChild<QTableWidget*>();
      if (table == nullptr) return false;
      const auto click = [&widget](const char* caption) {
        for (auto* button : widget.findChildren<QPushButton*>()) {
          if (button->text() == caption) QTest::mouseClick(button, Qt::LeftButton);
        }
      };
      work(*table, click);
      click(close.c_str());
      return !widget.isVisible();
    });
  }
  // Chooses `port` from the port list of the next settings dialog and clicks "Ok".
  void AnswerNextSettingsDialog(const std::string& port) {
    WhenModal([this, port](QWidget& widget) {
      if (widget.objectName() != "SettingsForm") return false;
      m_dialog_title = widget.windowTitle().toStdString();
      auto* ports = widget.findChild<QComboBox*>("PortComboBox");
      ports->setCurrentIndex(ports->findText(QString::fromStdString(port)));
      auto* ok = widget.findChild<QPushButton*>("OkButton");
      QTest::mouseClick(ok, Qt::LeftButton, Qt::NoModifier, ok->rect().center());
      return !widget.isVisible();
    });
  }

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
  void StartProgram(ui::Variant variant) {
    const char* name = variant == ui::Variant::Palunor6 ? "Palunor6" : "Palunor";
    // The user's folders as the program finds them, under the scratch home.
    m_program =
        std::make_unique<gui::Program>(variant, Path(name).string(), Path("").string(),
                                       serial::MakeSystemPort, safekeeping::SystemUserFolders());
    m_program->Window().activateWindow();
    QApplication::setActiveWindow(&m_program->Window());
  }
  // Runs `answer` on the modal widget shown, every 20 ms, until it says it has closed
  // one. A modal widget that stays unanswered beyond the reply limit fails the test and
  // is closed, so that the click that opened it returns.
  void WhenModal(std::function<bool(QWidget&)> answer) {
    auto* watch = new QTimer(&Window());
    auto since = std::make_shared<std::pair<QWidget*, std::chrono::steady_clock::time_point>>();
    QObject::connect(watch, &QTimer::timeout, [watch, answer, since] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr) return;
      if (answer(*modal)) {
        watch->stop();
        watch->deleteLater();
        return;
      }
      const auto now = std::chrono::steady_clock::now();
      if (since->first != modal) *since = {modal, now};
      if (now - since->second < kReplyLimit) return;
      ADD_FAILURE() << "left unanswered: " << modal->metaObject()->className() << " \""
                    << modal->windowTitle().toStdString() << "\"";
      modal->close();
    });
    watch->start(20);
  }

  // A scratch home and port map for the emulator and the program, set before either
  // starts.
  static fs::path Setenv(const QTemporaryDir& dir) {
    const fs::path config = fs::path(dir.path().toStdString()) / "config";
    fs::create_directories(config);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    setenv("XDG_DATA_HOME", (config.parent_path() / "data").c_str(), 1);
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
  std::vector<std::pair<int, std::unique_ptr<Emulator>>> m_more;
  bool m_started = false;
  std::unique_ptr<gui::Program> m_program;
  std::string m_message;
  std::string m_dialog_title;
};

}  // namespace e2e
