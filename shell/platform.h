// Everything the form needs from the platform, handed to it at construction: the
// real Qt implementations in the programs, the headless ones in tests.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "safekeeping/backups.h"
#include "safekeeping/data_folders.h"
#include "serial/port_backend.h"
#include "ui/control.h"
#include "ui/dialogs.h"
#include "ui/event_loop.h"
#include "ui/help_viewer.h"
#include "ui/second_window.h"

namespace shell {

struct Platform {
  ui::EventLoop& loop;
  ui::Dialogs& dialogs;
  ui::HelpViewer& help;
  ui::CanvasFactory& canvases;
  // Makes the serial backend the driver opens devices with.
  std::function<std::unique_ptr<serial::PortBackend>()> make_port;
  // The program's own path; the help file is this path with the extension ".hlp".
  std::string program_path;
  // The process's current directory, where "Advance.ini" lives.
  std::string work_dir = ".";
  // The user's backups folder and preferences file; empty, there are none (no backups
  // are written and the preferences last for the run).
  safekeeping::UserFolders user_folders = {};
  // The local date and time the backups are named by.
  safekeeping::LocalClock local_time = safekeeping::SystemLocalTime;
  // The user's data folder, where the additions' own files (live-data logs) go.
  std::string data_dir = ".";
  // Local date and time, as the wall clock has them.
  std::function<std::chrono::system_clock::time_point()> wall_clock =
      std::chrono::system_clock::now;
  // Makes the plot window; a platform without one leaves it out.
  ui::WindowFactory* windows = nullptr;
};

}  // namespace shell
