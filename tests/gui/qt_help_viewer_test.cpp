// Guards the help window: a missing help file is refused, the shipped help opens at
// its contents and at the main window's topic, beside the main window, and Escape or
// Ctrl+W close it.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>

#include "gui/qt_help_viewer.h"
#include "tests/gui/gui_harness.h"

namespace {

const std::string kShippedHelp = PALUNOR_SHIPPED_HELP;

TEST(QtHelpViewer, RefusesAHelpFileThatDoesNotExist) {
  gui_test::App();
  QTemporaryDir dir;
  gui::QtHelpViewer viewer;
  EXPECT_FALSE(viewer.ShowContents((dir.path() + "/Palunor6.hlp").toStdString()));
  EXPECT_FALSE(viewer.ShowTopic((dir.path() + "/Palunor6.hlp").toStdString(), "Mainwindow"));
  EXPECT_EQ(viewer.Window(), nullptr);
}

TEST(QtHelpViewer, ShowsTheShippedHelpAtItsContents) {
  gui_test::App();
  gui::QtHelpViewer viewer;
  ASSERT_TRUE(viewer.ShowContents(kShippedHelp));
  ASSERT_NE(viewer.Window(), nullptr);
  EXPECT_TRUE(viewer.Window()->isVisible());
  EXPECT_EQ(viewer.Window()->windowTitle(), "VYN Advance Controller Program - Help");
  EXPECT_TRUE(viewer.Window()->toPlainText().contains("Find QZR"));
}

TEST(QtHelpViewer, TopicsOfTheShippedHelpHaveTheirAnchors) {
  gui_test::App();
  gui::QtHelpViewer viewer;
  ASSERT_TRUE(viewer.ShowTopic(kShippedHelp, "Mainwindow"));
  QTextDocument* document = viewer.Window()->document();
  for (const char* topic : {"Contents", "Mainwindow", "Find", "Read", "Edit", "Send", "Files",
                            "Undo", "Live", "Options", "Settings", "Keys"}) {
    bool found = false;
    for (QTextBlock block = document->begin(); block.isValid() && !found; block = block.next()) {
      for (auto it = block.begin(); !it.atEnd() && !found; ++it) {
        found = it.fragment().charFormat().anchorNames().contains(topic);
      }
    }
    EXPECT_TRUE(found) << topic;
  }
}

// A main window of the given place, shown.
std::unique_ptr<QWidget> MainWindowAt(QRect place) {
  auto window = std::make_unique<QWidget>();
  window->setGeometry(place);
  window->show();
  return window;
}

TEST(QtHelpViewer, OpensBesideTheMainWindowNotOverIt) {
  gui_test::App();
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  gui::QtHelpViewer viewer;
  // Room on the right: the help opens there, top edges level.
  auto left = MainWindowAt({screen.left() + 10, screen.top() + 30, 100, 80});
  viewer.SetAnchor(left.get());
  ASSERT_TRUE(viewer.ShowContents(kShippedHelp));
  QRect help = viewer.Window()->frameGeometry();
  EXPECT_GT(help.left(), left->frameGeometry().right());
  EXPECT_EQ(help.top(), left->frameGeometry().top());
  viewer.Close();

  // Room only on the left: the help opens there.
  auto right = MainWindowAt({screen.right() - 110, screen.top() + 30, 100, 80});
  viewer.SetAnchor(right.get());
  ASSERT_TRUE(viewer.ShowTopic(kShippedHelp, "Mainwindow"));
  help = viewer.Window()->frameGeometry();
  EXPECT_LT(help.right(), right->frameGeometry().left());
  EXPECT_FALSE(help.intersects(right->frameGeometry()));
}

TEST(QtHelpViewer, EscapeAndCtrlWCloseTheHelpWindow) {
  gui_test::App();
  gui::QtHelpViewer viewer;
  const std::pair<int, Qt::KeyboardModifiers> keys[] = {{Qt::Key_Escape, Qt::NoModifier},
                                                        {Qt::Key_W, Qt::ControlModifier}};
  for (const auto& [code, modifiers] : keys) {
    ASSERT_TRUE(viewer.ShowContents(kShippedHelp));
    ASSERT_TRUE(viewer.Window()->isVisible());
    QKeyEvent key(QEvent::KeyPress, code, modifiers);
    QCoreApplication::sendEvent(viewer.Window(), &key);
    EXPECT_FALSE(viewer.Window()->isVisible()) << code;
  }
  // Other keys are the browser's own.
  ASSERT_TRUE(viewer.ShowContents(kShippedHelp));
  QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
  QCoreApplication::sendEvent(viewer.Window(), &down);
  EXPECT_TRUE(viewer.Window()->isVisible());
}

}  // namespace
