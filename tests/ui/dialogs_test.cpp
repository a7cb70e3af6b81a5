// Guards the titles of the message dialogs, which every front end shows as they stand.
#include "ui/dialogs.h"

#include <gtest/gtest.h>

namespace {

TEST(MessageDlgTitle, NamesTheDialogAfterItsType) {
  EXPECT_EQ(ui::MessageDlgTitle(ui::DialogIcon::Warning), "Warning");
  EXPECT_EQ(ui::MessageDlgTitle(ui::DialogIcon::Error), "Error");
  EXPECT_EQ(ui::MessageDlgTitle(ui::DialogIcon::Information), "Information");
  EXPECT_EQ(ui::MessageDlgTitle(ui::DialogIcon::Question), "Confirm");
  EXPECT_EQ(ui::MessageDlgTitle(ui::DialogIcon::None), "");
}

}  // namespace
