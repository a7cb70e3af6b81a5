// Guards what the Qt dialogs make of the core's requests: the file filter text and
// the titles of message dialogs.
#include <gtest/gtest.h>

#include "gui/qt_dialogs.h"

namespace {

TEST(QtFileFilter, PairsOfDescriptionAndPatternBecomeQtFilters) {
  EXPECT_EQ(gui::QtFileFilter("Map files|*.IJJ|All Files|*.*"),
            "Map files (*.IJJ);;All Files (*.*)");
}

TEST(QtFileFilter, SeveralPatternsOfOneFilterAreKept) {
  EXPECT_EQ(gui::QtFileFilter("Maps|*.IJJ;*.BAK"), "Maps (*.IJJ *.BAK)");
}

TEST(QtFileFilter, ADescriptionWithoutPatternIsDropped) {
  EXPECT_EQ(gui::QtFileFilter("Map files|*.IJJ|Orphan"), "Map files (*.IJJ)");
  EXPECT_EQ(gui::QtFileFilter(""), "");
}

}  // namespace
