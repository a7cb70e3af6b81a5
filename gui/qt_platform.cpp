#include "gui/qt_platform.h"

#include <QApplication>
#include <QStandardPaths>

#include "gui/main_window.h"

namespace gui {

QtPlatform::QtPlatform(PortFactory make_port, std::string program_path, std::string work_dir,
                       safekeeping::UserFolders user_folders)
    : m_platform{m_loop,
                 m_dialogs,
                 m_help,
                 m_canvases,
                 std::move(make_port),
                 std::move(program_path),
                 std::move(work_dir),
                 std::move(user_folders)} {
  // Logs and exported pictures are the user's documents.
  m_platform.data_dir =
      QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
  m_platform.windows = &m_windows;
}

Program::Program(ui::Variant variant, std::string program_path, std::string work_dir,
                 QtPlatform::PortFactory make_port, safekeeping::UserFolders user_folders)
    : m_platform(std::move(make_port), std::move(program_path), std::move(work_dir),
                 std::move(user_folders)),
      m_form(variant, m_platform.Get()) {
  m_form.FormCreate();
  m_window = std::make_unique<MainWindow>(m_form);
  m_platform.Dialogs().SetParent(m_window.get());
  m_platform.Help().SetAnchor(m_window.get());
  m_platform.Windows().SetAnchor(m_window.get());
  // The program is its main window: an open help window or dialog must not keep it
  // running, holding the port and polling the controller. exit, not quit: quit asks
  // every window to close first, and a message box may refuse.
  m_window->OnClosed = [this] {
    m_platform.Help().Close();
    QCoreApplication::exit(0);
  };
  m_window->show();
}

Program::~Program() {
  // The form outlives the window's widgets, which it no longer reaches once closed.
  m_platform.Dialogs().SetParent(nullptr);
  m_platform.Help().SetAnchor(nullptr);
}

int RunProgram(ui::Variant variant, int argc, char** argv) {
  QApplication app(argc, argv);
  Program program(variant, QCoreApplication::applicationFilePath().toStdString(), ".",
                  serial::MakeSystemPort, safekeeping::SystemUserFolders());
  return app.exec();
}

}  // namespace gui
