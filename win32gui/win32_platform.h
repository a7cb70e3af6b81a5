// The Win32 implementations of everything the form needs from the platform, owned
// together for the program's run, and the program itself.
#pragma once

#include <windows.h>
// ui::Dialogs::MessageBox is a member of the core's interface, not the ANSI/wide macro.
#undef MessageBox

#include <functional>
#include <memory>
#include <string>

#include "safekeeping/data_folders.h"
#include "serial/port_backend.h"
#include "shell/form.h"
#include "shell/platform.h"
#include "ui/variant.h"
#include "win32gui/gdi_canvas.h"
#include "win32gui/win32_dialogs.h"
#include "win32gui/win32_event_loop.h"
#include "win32gui/win32_help_viewer.h"
#include "win32gui/win32_second_window.h"

namespace win32gui {

class MainWindow;

class Win32Platform {
 public:
  using PortFactory = std::function<std::unique_ptr<serial::PortBackend>()>;
  Win32Platform(PortFactory make_port, std::string program_path, std::string work_dir = ".",
                safekeeping::UserFolders user_folders = {});

  shell::Platform& Get() { return m_platform; }
  Win32Dialogs& Dialogs() { return m_dialogs; }
  Win32HelpViewer& Help() { return m_help; }
  Win32WindowFactory& Windows() { return m_windows; }

 private:
  Win32EventLoop m_loop;
  Win32Dialogs m_dialogs;
  Win32HelpViewer m_help;
  GdiCanvasFactory m_canvases;
  Win32WindowFactory m_windows;
  shell::Platform m_platform;
};

// One program as it runs: the platform with the system's serial ports, the form of
// the variant after its start-up, and its window, shown. Closing the window ends the
// thread's message loop, whatever message box or dialog is open; destroying the
// Program destroys the window and then the form, which closes the port.
class Program {
 public:
  Program(ui::Variant variant, std::string program_path, std::string work_dir = ".",
          Win32Platform::PortFactory make_port = serial::MakeSystemPort,
          int show_command = SW_SHOWNORMAL, safekeeping::UserFolders user_folders = {});
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  shell::TForm1& Form() { return m_form; }
  MainWindow& Window() { return *m_window; }
  Win32Platform& Platform() { return m_platform; }

 private:
  Win32Platform m_platform;
  shell::TForm1 m_form;
  std::unique_ptr<MainWindow> m_window;
};

// One message taken from the queue: the window's keys first, then translated and
// dispatched.
void HandleMessage(MainWindow& window, MSG& msg);

// The thread's message loop, until WM_QUIT; its exit code.
int RunMessageLoop(MainWindow& window);

// The program's wWinMain: common controls, the Program, the message loop.
int RunProgram(ui::Variant variant, int show_command);

}  // namespace win32gui
