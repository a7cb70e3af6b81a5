#include "gui/qt_platform.h"

#include <QApplication>

#include "gui/main_window.h"

namespace gui {

QtPlatform::QtPlatform(PortFactory make_port, std::string program_path, std::string work_dir)
    : m_platform{m_loop,
                 m_dialogs,
                 m_help,
                 m_canvases,
                 std::move(make_port),
                 std::move(program_path),
                 std::move(work_dir)} {}

int RunProgram(ui::Variant variant, int argc, char** argv) {
  QApplication app(argc, argv);
  QtPlatform platform(serial::MakeSystemPort,
                      QCoreApplication::applicationFilePath().toStdString());
  shell::TForm1 form(variant, platform.Get());
  form.FormCreate();
  MainWindow window(form);
  platform.Dialogs().SetParent(&window);
  window.show();
  const int status = app.exec();
  // The form outlives the window's widgets, which it no longer reaches once closed.
  platform.Dialogs().SetParent(nullptr);
  return status;
}

}  // namespace gui
