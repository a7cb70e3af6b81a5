// Guards the Qt preferences dialog: the values shown are the values handed back, and
// the folder's label takes Alt+F to its field instead of showing a literal "&".
#include "gui/qt_preferences_dialog.h"

#include <gtest/gtest.h>

#include <QLabel>

#include "gui_harness.h"

namespace {

TEST(QtPreferencesDialog, HandsBackWhatItShowsAndItsFolderLabelLeadsToTheField) {
  gui_test::App();
  const ui::PreferencesValues values{false, true, false, "/srv/palunor backups"};
  gui::QtPreferencesDialog dialog(values);
  EXPECT_TRUE(dialog.Values() == values);

  QLabel* label = nullptr;
  for (QLabel* candidate : dialog.findChildren<QLabel*>()) {
    if (candidate->text() == "Backup &folder:") label = candidate;
  }
  ASSERT_NE(label, nullptr);
  auto* field = qobject_cast<QLineEdit*>(label->buddy());
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->text().toStdString(), values.backup_folder);
}

}  // namespace
