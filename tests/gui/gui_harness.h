// A whole program window on the offscreen platform: the Qt platform objects with an
// in-memory serial device instead of a real port, the form of one variant and its
// window, with Advance.ini and the port map in a scratch directory.
#pragma once

#include <QApplication>
#include <QTemporaryDir>
#include <memory>

#include "gui/main_window.h"
#include "gui/qt_platform.h"
#include "shell/form.h"
#include "testing/memory_port.h"

namespace gui_test {

// The one application object of the test program. It lives until the process ends:
// destroying it among the other statics at exit would outlive parts of Qt it uses.
inline QApplication& App() {
  static int argc = 1;
  static char name[] = "gui_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

struct GuiForm {
  explicit GuiForm(ui::Variant variant)
      : platform([device = device] { return std::make_unique<serial::MemoryPort>(device); },
                 (dir.path() + "/Palunor").toStdString(), dir.path().toStdString()),
        form(variant, platform.Get()) {
    qputenv("XDG_CONFIG_HOME", (dir.path() + "/config").toUtf8());
    form.FormCreate();
    window = std::make_unique<gui::MainWindow>(form);
  }

  QWidget& Widget(const std::string& name) { return *window->Widget(name); }

  QApplication& app = App();
  QTemporaryDir dir;
  std::shared_ptr<serial::MemoryDevice> device = std::make_shared<serial::MemoryDevice>();
  gui::QtPlatform platform;
  shell::TForm1 form;
  std::unique_ptr<gui::MainWindow> window;
};

}  // namespace gui_test
