// Guards the help window: a missing help file is refused, the shipped help opens at
// its contents and at the main window's topic.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <filesystem>

#include "gui/qt_help_viewer.h"
#include "tests/gui/gui_harness.h"

namespace {

const std::string kShippedHelp =
    (std::filesystem::path(__FILE__).parent_path() / "../../gui/help/palunor.html").string();

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
                            "Live", "Options", "Settings", "Keys"}) {
    bool found = false;
    for (QTextBlock block = document->begin(); block.isValid() && !found; block = block.next()) {
      for (auto it = block.begin(); !it.atEnd() && !found; ++it) {
        found = it.fragment().charFormat().anchorNames().contains(topic);
      }
    }
    EXPECT_TRUE(found) << topic;
  }
}

}  // namespace
