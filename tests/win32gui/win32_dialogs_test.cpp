// Guards what the Windows dialogs are given: the map file filters in the common
// dialogs' double-NUL form, and the titles, icons and buttons of the message boxes.
#include <gtest/gtest.h>

#include <string>

#include "win32gui/win32_dialogs.h"

namespace {

using namespace std::string_literals;
using win32gui::FileDialogFilter;
using win32gui::MessageBoxStyle;

TEST(FileDialogFilter, TurnsDescriptionAndPatternPairsIntoNulSeparatedStrings) {
  const std::wstring filter =
      FileDialogFilter("Advance Files   (*..IJJ)|*.IJJ|All Files      (*.*)|*.*");
  EXPECT_EQ(filter, L"Advance Files   (*..IJJ)\0*.IJJ\0All Files      (*.*)\0*.*\0\0"s);
  // The last pair ends with two NULs, as the common dialogs need to find the end.
  ASSERT_GE(filter.size(), 2u);
  EXPECT_EQ(filter[filter.size() - 1], L'\0');
  EXPECT_EQ(filter[filter.size() - 2], L'\0');
}

TEST(FileDialogFilter, KeepsSeveralPatternsAndDropsADescriptionWithoutOne) {
  EXPECT_EQ(FileDialogFilter("Maps|*.IJJ;*.ijj|Orphan"), L"Maps\0*.IJJ;*.ijj\0\0"s);
  EXPECT_EQ(FileDialogFilter("Empty| |All|*.*"), L"All\0*.*\0\0"s);
  EXPECT_TRUE(FileDialogFilter("").empty());
  EXPECT_TRUE(FileDialogFilter("Only a description").empty());
}

TEST(FileDialogFilter, CarriesNonAsciiDescriptionsAsUtf16) {
  EXPECT_EQ(FileDialogFilter("Карти|*.IJJ"), L"Карти\0*.IJJ\0\0"s);
}

TEST(MessageBoxStyle, GivesEachIconItsSystemIconAndOkOrOkCancel) {
  const UINT icon_bits = MB_ICONMASK;
  const UINT button_bits = MB_TYPEMASK;
  EXPECT_EQ(MessageBoxStyle(ui::DialogIcon::Error, ui::DialogButtons::Ok) & icon_bits,
            UINT{MB_ICONERROR});
  EXPECT_EQ(MessageBoxStyle(ui::DialogIcon::Warning, ui::DialogButtons::Ok) & icon_bits,
            UINT{MB_ICONWARNING});
  EXPECT_EQ(MessageBoxStyle(ui::DialogIcon::Question, ui::DialogButtons::OkCancel) & icon_bits,
            UINT{MB_ICONQUESTION});
  EXPECT_EQ(MessageBoxStyle(ui::DialogIcon::Information, ui::DialogButtons::Ok) & icon_bits,
            UINT{MB_ICONINFORMATION});
  EXPECT_EQ(MessageBoxStyle(ui::DialogIcon::None, ui::DialogButtons::Ok) & icon_bits, 0u);
  EXPECT_EQ(MessageBoxStyle(ui::DialogIcon::Question, ui::DialogButtons::OkCancel) & button_bits,
            UINT{MB_OKCANCEL});
  EXPECT_EQ(MessageBoxStyle(ui::DialogIcon::Error, ui::DialogButtons::Ok) & button_bits,
            UINT{MB_OK});
  // "Ok" answers Enter in both kinds.
  EXPECT_EQ(MessageBoxStyle(ui::DialogIcon::Question, ui::DialogButtons::OkCancel) & MB_DEFMASK,
            UINT{MB_DEFBUTTON1});
}

}  // namespace
