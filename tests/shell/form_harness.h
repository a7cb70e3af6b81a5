// A whole headless form for tests: virtual clock, scripted dialogs, recording canvases
// and help viewer, a temporary working folder and a port map of its own, so a test
// drives the window as a user and a controller would without touching real ports.
#pragma once

#include <pty.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "serial/port_backend.h"
#include "shell/form.h"
#include "shell/platform.h"
#include "testing/recording_canvas.h"
#include "testing/recording_help_viewer.h"
#include "testing/scripted_dialogs.h"
#include "testing/virtual_clock.h"

namespace shell_test {

class RecordingCanvases : public ui::CanvasFactory {
 public:
  std::unique_ptr<ui::Canvas> Make(int width, int height) override {
    return std::make_unique<ui::RecordingCanvas>(width, height);
  }
};

// The other end of a pseudo-terminal linked into the port map as a COM port.
class PtyPort {
 public:
  PtyPort() {
    char name[256] = {};
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) == 0) m_path = name;
  }
  ~PtyPort() {
    if (m_master >= 0) close(m_master);
    if (m_slave >= 0) close(m_slave);
  }
  PtyPort(const PtyPort&) = delete;
  PtyPort& operator=(const PtyPort&) = delete;

  const std::string& Path() const { return m_path; }
  int Slave() const { return m_slave; }
  // Everything the program has written so far.
  std::string Received() {
    std::string bytes;
    char buffer[512];
    for (;;) {
      fd_set set;
      FD_ZERO(&set);
      FD_SET(m_master, &set);
      timeval none{0, 0};
      if (select(m_master + 1, &set, nullptr, nullptr, &none) <= 0) break;
      const ssize_t n = read(m_master, buffer, sizeof buffer);
      if (n <= 0) break;
      bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
  }

 private:
  int m_master = -1;
  int m_slave = -1;
  std::string m_path;
};

class FormHarness {
 public:
  explicit FormHarness(ui::Variant variant = ui::Variant::Palunor6) : m_variant(variant) {
    std::filesystem::create_directories(PortMap());
    std::filesystem::create_directories(WorkDir());
    setenv("XDG_CONFIG_HOME", (m_root / "config").c_str(), 1);
    // Unlinked ports resolve to /dev/ttyS*, which tests never open: both defaults
    // point at nothing until a test links a pseudo-terminal.
    Link("com1", (m_root / "absent-com1").string());
    Link("com2", (m_root / "absent-com2").string());
  }
  ~FormHarness() {
    m_form.reset();
    std::filesystem::remove_all(m_root);
  }

  std::filesystem::path PortMap() const { return m_root / "config" / "palunor" / "dosdevices"; }
  std::filesystem::path WorkDir() const { return m_root / "work"; }
  std::string ProgramPath() const { return (m_root / "bin" / "Palunor6").string(); }

  void Link(const std::string& com, const std::string& target) {
    std::filesystem::remove(PortMap() / com);
    std::filesystem::create_symlink(target, PortMap() / com);
  }

  shell::TForm1& Create() {
    m_form = std::make_unique<shell::TForm1>(m_variant, m_platform);
    return *m_form;
  }
  // Creation and the first showing, as the program entry does.
  shell::TForm1& Start() {
    Create().FormCreate();
    m_form->Activated();
    return *m_form;
  }
  shell::TForm1& Form() { return *m_form; }

  ui::VirtualClock clock;
  ui::ScriptedDialogs dialogs;
  ui::RecordingHelpViewer help;
  RecordingCanvases canvases;

 private:
  static std::filesystem::path MakeRoot() {
    return std::filesystem::temp_directory_path() /
           ("palunor-form-" + std::to_string(std::random_device{}()));
  }

  ui::Variant m_variant;
  std::filesystem::path m_root = MakeRoot();
  shell::Platform m_platform{
      clock,         dialogs,           help, canvases, [] { return serial::MakeSystemPort(); },
      ProgramPath(), WorkDir().string()};
  std::unique_ptr<shell::TForm1> m_form;
};

}  // namespace shell_test
