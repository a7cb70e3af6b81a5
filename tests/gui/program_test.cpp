// Guards the end of a program: closing the main window ends the event loop even with
// the help window open, closes the help, and destroying the program closes the port.
#include <gtest/gtest.h>

#include <QFile>
#include <QTimer>
#include <optional>

#include "gui/qt_platform.h"
#include "tests/gui/gui_harness.h"

namespace {

const QString kShippedHelp = PALUNOR_SHIPPED_HELP;

TEST(Program, ClosingTheMainWindowWithTheHelpOpenEndsTheProgramAndFreesThePort) {
  QApplication& app = gui_test::App();
  QTemporaryDir dir;
  qputenv("XDG_CONFIG_HOME", (dir.path() + "/config").toUtf8());
  ASSERT_TRUE(QFile::copy(kShippedHelp, dir.path() + "/Palunor6.hlp"));
  auto device = std::make_shared<serial::MemoryDevice>();
  std::optional<gui::Program> program;
  program.emplace(ui::Variant::Palunor6, (dir.path() + "/Palunor6").toStdString(),
                  dir.path().toStdString(),
                  [device] { return std::make_unique<serial::MemoryPort>(device); });
  ASSERT_TRUE(device->held);

  program->Form()["Button4"].Click();
  QWidget* help = program->Platform().Help().Window();
  ASSERT_NE(help, nullptr);
  ASSERT_TRUE(help->isVisible());

  QTimer::singleShot(0, &program->Window(), [&program] { program->Window().close(); });
  // Only a safety net: a loop the close does not end fails here instead of hanging.
  bool hung = false;
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [&hung] {
    hung = true;
    QCoreApplication::exit(1);
  });
  guard.start(20000);
  EXPECT_EQ(app.exec(), 0);
  EXPECT_FALSE(hung);
  EXPECT_FALSE(help->isVisible());
  EXPECT_TRUE(QFile::exists(dir.path() + "/Advance.INI") ||
              QFile::exists(dir.path() + "/Advance.ini"));

  program.reset();
  EXPECT_FALSE(device->held);
}

}  // namespace
