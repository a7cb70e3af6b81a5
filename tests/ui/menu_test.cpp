// Guards the context menu's commands: what the menu shows, that only an enabled
// command runs (by a click or by its keys), and that a disabled one still takes its key.
#include "ui/menu.h"

#include <gtest/gtest.h>

#include "testing/scripted_dialogs.h"

namespace ui {
namespace {

TEST(CommandMenu, ShowsItemsAndRunsOnlyWhatIsEnabled) {
  int undone = 0;
  int redone = 0;
  bool can_redo = false;
  bool shown = true;
  CommandMenu menu;
  menu.AddSeparator();  // nothing to separate yet: no item
  menu.Add({"&Undo", {{'Z', true, false}}, {}, {}, [&] { ++undone; }});
  menu.Add({"&Redo",
            {{'Y', true, false}, {'Z', true, true}},
            [&] { return can_redo; },
            {},
            [&] { ++redone; }});
  menu.AddSeparator();
  menu.AddSeparator();
  menu.Add({"Show controller's copy", {}, {}, [&] { return shown; }, [&] { shown = !shown; }});

  const std::vector<MenuItem> items = menu.Items();
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(items[0], (MenuItem{"&Undo", "Ctrl+Z", true, false, false}));
  EXPECT_EQ(items[1], (MenuItem{"&Redo", "Ctrl+Y", false, false, false}));
  EXPECT_TRUE(items[2].caption.empty());
  EXPECT_EQ(items[3], (MenuItem{"Show controller's copy", "", true, true, true}));

  // A disabled command takes its key but does nothing.
  EXPECT_TRUE(menu.Key({'Z', true, true}));
  EXPECT_EQ(redone, 0);
  can_redo = true;
  EXPECT_TRUE(menu.Key({'Z', true, true}));
  EXPECT_TRUE(menu.Key({'Y', true, false}));
  EXPECT_EQ(redone, 2);
  EXPECT_FALSE(menu.Key({'Z', false, false}));
  EXPECT_EQ(undone, 0);

  ScriptedDialogs dialogs;
  dialogs.AnswerMenu("&Undo");
  menu.Popup(dialogs, {10, 20});
  EXPECT_EQ(undone, 1);
  EXPECT_EQ(dialogs.History().back().where, (Point{10, 20}));
  dialogs.AnswerMenu("Show controller's copy");
  menu.Popup(dialogs, {0, 0});
  EXPECT_FALSE(shown);
  EXPECT_FALSE(menu.Items()[3].checked);

  // A dismissed menu, and a choice the user could not have made, run nothing.
  can_redo = false;
  dialogs.AnswerMenu("&Redo");
  menu.Popup(dialogs, {0, 0});
  menu.Popup(dialogs, {0, 0});
  EXPECT_EQ(redone, 2);
  EXPECT_EQ(undone, 1);
}

}  // namespace
}  // namespace ui
