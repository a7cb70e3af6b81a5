// Guards that the additions change nothing unless they act: a scripted session writes
// the same bytes to the controller and the same files whether or not the user also
// opens the menu and the differences table, shows the controller's copy and hides it,
// and undoes and redoes a step.
#include <gtest/gtest.h>

#include <iterator>
#include <map>

#include "safekeeping_bench.h"

namespace {

using safekeeping_test::Bench;

std::map<std::string, std::string> Files(const std::filesystem::path& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::ifstream in(entry.path(), std::ios::binary);
    files[entry.path().filename().string()] = {std::istreambuf_iterator<char>(in), {}};
  }
  return files;
}

// Read, edit, Send, REC EEPR, Save, Open, Send and close; `look` runs between steps.
void Session(Bench& bench, const std::function<void()>& look) {
  bench.Read();
  look();
  for (int key : {39, 39, 38, 38}) bench.Key(key);
  bench.Drag(9, -12);
  look();
  bench.Click("SDBut");
  bench.Click("Button6");
  look();
  bench.dialogs.AnswerFile((bench.dir / "saved.IJJ").string());
  bench.Click("SaveBut");
  bench.Open(
      bench.MapFile("other.IJJ", {safekeeping_test::Line(20, 1), safekeeping_test::Line(44, -1)}));
  look();
  bench.Click("SDBut");
  bench.clock.Advance(5000);
  bench.dialogs.Answer(ui::DialogResult::Ok);
  if (bench.form.FormCloseQuery()) bench.form.FormClose();
}

class Defaults : public ::testing::TestWithParam<ui::Variant> {};

TEST_P(Defaults, TheWireAndTheFilesAreThoseOfASessionWithoutTheMenu) {
  Bench plain(GetParam());
  Session(plain, [] {});
  Bench looked(GetParam());
  Session(looked, [&looked] {
    looked.dialogs.AnswerMenu(std::nullopt);
    looked.form["Image2"].MouseUp(ui::MouseButton::Right, 10, 10);
    looked.Ctrl('D');
    looked.Choose("Show controller's copy");
    looked.Choose("Show controller's copy");
    ASSERT_TRUE(looked.Enabled("&Undo"));
    looked.Ctrl('Z');
    looked.Ctrl('Y');
  });
  ASSERT_NE(plain.written.find("EW2"), std::string::npos);
  EXPECT_EQ(looked.written, plain.written);
  EXPECT_EQ(Files(looked.dir), Files(plain.dir));
  EXPECT_EQ(plain.controller.Ram(2), safekeeping_test::Line(44, -1));
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, Defaults,
                         ::testing::Values(ui::Variant::Palunor6, ui::Variant::Palunor));

}  // namespace
