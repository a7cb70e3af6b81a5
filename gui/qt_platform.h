// The Qt implementations of everything the form needs from the platform, owned
// together for the program's run.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "gui/qt_canvas.h"
#include "gui/qt_dialogs.h"
#include "gui/qt_event_loop.h"
#include "gui/qt_help_viewer.h"
#include "gui/qt_second_window.h"
#include "safekeeping/data_folders.h"
#include "serial/port_backend.h"
#include "shell/form.h"
#include "shell/platform.h"
#include "ui/variant.h"

namespace gui {

class MainWindow;

class QtPlatform {
 public:
  using PortFactory = std::function<std::unique_ptr<serial::PortBackend>()>;
  QtPlatform(PortFactory make_port, std::string program_path, std::string work_dir = ".",
             safekeeping::UserFolders user_folders = {});

  shell::Platform& Get() { return m_platform; }
  QtDialogs& Dialogs() { return m_dialogs; }
  QtHelpViewer& Help() { return m_help; }
  QtWindowFactory& Windows() { return m_windows; }

 private:
  QtEventLoop m_loop;
  QtDialogs m_dialogs;
  QtHelpViewer m_help;
  QtCanvasFactory m_canvases;
  QtWindowFactory m_windows;
  shell::Platform m_platform;
};

// One program as it runs: the platform with the system's serial ports, the form of
// the variant after its start-up, and its window, shown. Closing the window ends the
// application's event loop, whatever other windows are open; destroying the Program
// destroys the window and then the form, which closes the port. The Qt application
// must exist before and outlive it.
class Program {
 public:
  Program(ui::Variant variant, std::string program_path, std::string work_dir = ".",
          QtPlatform::PortFactory make_port = serial::MakeSystemPort,
          safekeeping::UserFolders user_folders = {});
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  shell::TForm1& Form() { return m_form; }
  MainWindow& Window() { return *m_window; }
  QtPlatform& Platform() { return m_platform; }

 private:
  QtPlatform m_platform;
  shell::TForm1 m_form;
  std::unique_ptr<MainWindow> m_window;
};

// The program's main: the Qt application and the Program, run until the window
// closes.
int RunProgram(ui::Variant variant, int argc, char** argv);

}  // namespace gui
