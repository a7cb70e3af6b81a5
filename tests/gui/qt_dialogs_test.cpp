// Guards what the Qt dialogs make of the core's requests: the file filter text and
// the titles of message dialogs.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTemporaryDir>
#include <fstream>
#include <vector>

#include "gui/qt_dialogs.h"
#include "tests/gui/gui_harness.h"

namespace {

TEST(QtFileFilter, PairsOfDescriptionAndPatternBecomeQtFilters) {
  EXPECT_EQ(gui::QtFileFilter("Map files|*.IJJ|All Files|*.*"), "Map files (*.IJJ);;All Files (*)");
}

// The names the file dialog lists in `dir` under each of its filters, as it reads them.
std::vector<QStringList> Listed(const QString& dir, const QStringList& filters) {
  QFileDialog dialog;
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setNameFilters(filters);
  std::vector<QStringList> listed;
  for (const QString& filter : dialog.nameFilters()) {
    dialog.selectNameFilter(filter);
    auto* model = dialog.findChild<QFileSystemModel*>();
    listed.push_back(QDir(dir).entryList(model->nameFilters(), QDir::Files, QDir::Name));
  }
  return listed;
}

TEST(QtFileFilter, AllFilesListsEveryFileAndTheMapFilterOnlyMaps) {
  gui_test::App();
  QTemporaryDir dir;
  for (const char* name : {"keep.IJJ", "old.ijj", "README", "notes.txt", "x.IJJ.tmp"}) {
    std::ofstream((dir.path() + "/" + name).toStdString()) << "";
  }
  const QStringList filters =
      gui::QtFileFilter("Advance files   (*.IJJ)|*.IJJ;*.ijj|All Files     (*.*)|*.*").split(";;");
  const std::vector<QStringList> listed = Listed(dir.path(), filters);
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_EQ(listed[0], (QStringList{"keep.IJJ", "old.ijj"}));
  EXPECT_EQ(listed[1], (QStringList{"README", "keep.IJJ", "notes.txt", "old.ijj", "x.IJJ.tmp"}))
      << listed[1].join(",").toStdString();
}

TEST(QtFileFilter, SeveralPatternsOfOneFilterAreKept) {
  EXPECT_EQ(gui::QtFileFilter("Maps|*.IJJ;*.BAK"), "Maps (*.IJJ *.BAK)");
}

TEST(QtFileFilter, ADescriptionWithoutPatternIsDropped) {
  EXPECT_EQ(gui::QtFileFilter("Map files|*.IJJ|Orphan"), "Map files (*.IJJ)");
  EXPECT_EQ(gui::QtFileFilter(""), "");
}

}  // namespace
