// Guards the automatic backups of the controller's curves, judged by the files on
// the disk and the emulator's RAM: after a Read, before a Send and a REC EEPR, their
// names, pruning, a folder that cannot be written, and the backups list.
#include <gtest/gtest.h>

#include "backup_bench.h"

namespace {

using backups_test::Bench;
using backups_test::FileText;
using backups_test::Ramp;
using backups_test::ScratchFolder;
using backups_test::WriteText;
using ui::Variant;

class Backups : public ::testing::TestWithParam<Variant> {
 protected:
  ScratchFolder scratch;
  Bench bench{GetParam(), scratch.Path()};
  std::filesystem::path folder = scratch.Path() / "backups";
};

TEST_P(Backups, EveryReadWritesWhatTheControllerSentUnderNamesThatNeverCollide) {
  const std::string sent = bench.ControllerMap();
  bench.Click("RDBut");
  bench.controller.Ram(1) = Ramp(9);
  bench.Click("RDBut");  // the same second
  ASSERT_EQ(bench.Backups(folder),
            (std::vector<std::string>{"2026-12-09 07-41-02 QZR 6.0 read (2).IJJ",
                                      "2026-12-09 07-41-02 QZR 6.0 read.IJJ"}));
  EXPECT_EQ(FileText(folder / "2026-12-09 07-41-02 QZR 6.0 read.IJJ"), sent);
  EXPECT_EQ(FileText(folder / "2026-12-09 07-41-02 QZR 6.0 read (2).IJJ"), bench.ControllerMap());
  EXPECT_EQ(sent.size(), map::kMapFileSize);
}

TEST_P(Backups, SendAndRecordFirstBackUpACopyThatChangedSinceItsLastBackup) {
  map::CurveModel& model = bench.form.Model();
  // Before any Read the program holds no copy of the controller's.
  bench.Click("SDBut");
  EXPECT_TRUE(bench.Backups(folder).empty());

  bench.Click("RDBut");
  model.Working(2)[5] = 40;
  bench.Click("SDBut");  // what it overwrote is the copy the Read backed up
  EXPECT_EQ(bench.Backups(folder).size(), 1u);
  EXPECT_EQ(bench.controller.Ram(2)[5], 40);

  const std::string before_send = bench.ControllerMap();
  bench.now.second = 3;
  model.Working(2)[6] = 41;
  bench.Click("SDBut");
  EXPECT_EQ(FileText(folder / "2026-12-09 07-41-03 QZR 6.0 send.IJJ"), before_send);
  EXPECT_EQ(bench.controller.Ram(2)[6], 41);

  const std::string before_record = bench.ControllerMap();
  bench.now.second = 4;
  bench.Click("Button6");
  EXPECT_EQ(FileText(folder / "2026-12-09 07-41-04 QZR 6.0 record.IJJ"), before_record);
  EXPECT_EQ(bench.controller.Eeprom(2), bench.controller.Ram(2));
  EXPECT_EQ(bench.Backups(folder).size(), 3u);
}

TEST_P(Backups, OnlyTheOldestBackupsPastTheBoundAreRemoved) {
  std::filesystem::create_directories(folder);
  // Files not named as backups are the user's, whatever they look like.
  std::vector<std::string> kept = {"notes.txt", "2019-01-01 00-00-00 QZR 6.0 read.ijj",
                                   "2019-01-01 00-00-00 QZR 6.0 read copy.IJJ"};
  for (const std::string& name : kept) WriteText(folder / name, "mine");
  for (int day = 0; day < 1000; ++day) {
    char name[64];
    std::snprintf(name, sizeof name, "2020-%02d-%02d 10-00-00 QZR 6.0 send.IJJ", day / 28 + 1,
                  day % 28 + 1);
    WriteText(folder / name, "old");
    if (day > 0) kept.push_back(name);
  }
  bench.Click("RDBut");
  kept.push_back("2026-12-09 07-41-02 QZR 6.0 read.IJJ");
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(bench.Backups(folder), kept);
}

TEST_P(Backups, AFolderThatCannotBeWrittenLeavesTheReadIntactAndIsReportedOnce) {
  WriteText(folder, "a file where the folder should be");
  bench.Click("RDBut");
  EXPECT_EQ(bench.form.Model().AdvCurves, bench.ControllerRam());
  EXPECT_EQ(bench.form["lblstat"].Caption(), "Backup Failed!");
  bench.Click("RDBut");
  EXPECT_EQ(bench.form["lblstat"].Caption(), "Lines Received!");

  std::filesystem::remove(folder);
  bench.Click("RDBut");
  EXPECT_EQ(bench.form["lblstat"].Caption(), "Lines Received!");
  EXPECT_EQ(bench.Backups(folder).size(), 1u);
  std::filesystem::remove_all(folder);
  WriteText(folder, "again");
  bench.Click("RDBut");
  EXPECT_EQ(bench.form["lblstat"].Caption(), "Backup Failed!");
}

TEST_P(Backups, TheListShowsTheNewestFirstAndOpensTheOneChosen) {
  const std::array<map::Curve, 2> first = bench.ControllerRam();
  bench.Click("RDBut");
  bench.controller.Ram(2) = Ramp(12);
  bench.now = {2026, 12, 10, 8, 0, 0};
  bench.Click("RDBut");

  bench.dialogs.AnswerTable([](const ui::TableRequest& request, ui::TableState& state) {
    EXPECT_EQ(request.ok_caption, "Open");
    EXPECT_EQ(state.rows,
              (std::vector<std::vector<std::string>>{{"2026-12-10 08:00:00", "QZR 6.0", "Read"},
                                                     {"2026-12-09 07:41:02", "QZR 6.0", "Read"}}));
    state.first_row = state.last_row = 1;
    return true;
  });
  bench.Choose("&Backups...");
  EXPECT_EQ(bench.form.Model().AdvCurves, first);
  // The curve shown is the backup's: Send gives it back to the controller.
  EXPECT_TRUE(bench.form["Label34"].Visible());
  bench.Click("SDBut");
  EXPECT_EQ(bench.controller.Ram(2), first[1]);
}

TEST_P(Backups, NothingIsWrittenWithThePreferenceOff) {
  bench.dialogs.AnswerPreferences([](ui::PreferencesValues& values) { values.backups = false; });
  bench.Choose("Pre&ferences...");
  bench.Click("RDBut");
  EXPECT_FALSE(std::filesystem::exists(folder));
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, Backups,
                         ::testing::Values(Variant::Palunor6, Variant::Palunor));

}  // namespace
