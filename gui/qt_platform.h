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
#include "serial/port_backend.h"
#include "shell/platform.h"
#include "ui/variant.h"

namespace gui {

class QtPlatform {
 public:
  using PortFactory = std::function<std::unique_ptr<serial::PortBackend>()>;
  QtPlatform(PortFactory make_port, std::string program_path, std::string work_dir = ".");

  shell::Platform& Get() { return m_platform; }
  QtDialogs& Dialogs() { return m_dialogs; }
  QtHelpViewer& Help() { return m_help; }

 private:
  QtEventLoop m_loop;
  QtDialogs m_dialogs;
  QtHelpViewer m_help;
  QtCanvasFactory m_canvases;
  shell::Platform m_platform;
};

// The program: the Qt application, the platform, the form of the variant and its
// window, run until the window closes.
int RunProgram(ui::Variant variant, int argc, char** argv);

}  // namespace gui
