// Guards the preferences file and the user's folders: a damaged, huge or partial file
// leaves the defaults where it says nothing sound, the dialog's values are kept and
// read back by the next run, and the folders come from the environment.
#include <gtest/gtest.h>

#include <map>

#include "backup_bench.h"
#include "safekeeping/data_folders.h"
#include "safekeeping/preferences_file.h"

namespace {

using backups_test::Bench;
using backups_test::ScratchFolder;
using backups_test::WriteText;
using safekeeping::ReadPreferences;

class PreferencesFile : public ::testing::Test {
 protected:
  ui::PreferencesValues Read(const std::string& text) {
    WriteText(file, text);
    return ReadPreferences(file.string());
  }
  ScratchFolder scratch;
  std::filesystem::path file = scratch.Path() / "palunor.conf";
  const ui::PreferencesValues defaults{};
};

TEST_F(PreferencesFile, OnlySoundValuesReplaceTheDefaults) {
  EXPECT_EQ(ReadPreferences(file.string()), defaults);  // missing
  std::string noise(3000, '\0');
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>(i * 7919 % 256);
  EXPECT_EQ(Read(noise), defaults);
  EXPECT_EQ(Read("[Palunor]\nBackups=maybe\nAskBeforeClosing\nConfirmWrites=2\n"
                 "BackupFolder=relative/folder\nBackupFolder=/a\x01"
                 "b\nBackupFolder=/caf\xc3\nBackupFolder=/\xed\xa0\x80\nColour=red\n"),
            defaults);
  ui::PreferencesValues partial;
  partial.backups = false;
  partial.backup_folder = "/srv/caf\xc3\xa9";
  EXPECT_EQ(Read("Backups = 0\r\nBackupFolder=/srv/caf\xc3\xa9\r\nConfirmWrites="), partial);
}

TEST_F(PreferencesFile, AHugeFileIsReadOnlyToItsBoundAndACutLineIsNotTaken) {
  // Past the bound, nothing counts; a folder the bound cuts in two is not taken.
  const std::string padding(64 * 1024 - 20, '#');
  EXPECT_EQ(Read(padding + "\nBackupFolder=/home/someone/a/long/folder\n"), defaults);
  EXPECT_EQ(Read(std::string(8 << 20, '\n') + "Backups=0\n"), defaults);
}

TEST(Preferences, TheDialogsValuesAreKeptForTheNextRun) {
  ScratchFolder scratch;
  const std::filesystem::path elsewhere = scratch.Path() / "elsewhere";
  {
    Bench first(ui::Variant::Palunor6, scratch.Path());
    first.dialogs.AnswerPreferences([&](ui::PreferencesValues& values) {
      EXPECT_EQ(values.backup_folder, (scratch.Path() / "backups").string());
      values.ask_before_closing = false;
      values.backup_folder = "not/a/full/path";
    });
    first.dialogs.Answer(ui::DialogResult::Ok);
    first.dialogs.AnswerPreferences([&](ui::PreferencesValues& values) {
      EXPECT_EQ(values.backup_folder, "not/a/full/path");
      values.backup_folder = elsewhere.string();
    });
    first.Choose("Pre&ferences...");
    EXPECT_EQ(first.dialogs.History()[2].text,
              "The backup folder must be a full path: not/a/full/path");
  }
  Bench next(ui::Variant::Palunor, scratch.Path());
  next.Click("RDBut");
  EXPECT_EQ(next.Backups(elsewhere).size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(scratch.Path() / "backups"));
  ui::PreferencesValues kept;
  kept.ask_before_closing = false;
  kept.backup_folder = elsewhere.string();
  EXPECT_EQ(ReadPreferences((scratch.Path() / "config" / "palunor.conf").string()), kept);
}

TEST(UserFolders, ComeFromTheEnvironmentOfEachSystem) {
  using safekeeping::System;
  std::map<std::string, std::string> env;
  const auto folders = [&](System system) {
    const safekeeping::UserFolders f = safekeeping::UserFoldersFrom(
        [&](const char* name) -> std::optional<std::string> {
          return env.contains(name) ? std::optional(env[name]) : std::nullopt;
        },
        system);
    return f.backups + "|" + f.preferences_file;
  };
  EXPECT_EQ(folders(System::Posix), "|");
  env = {{"HOME", "/home/tuner"}, {"XDG_CONFIG_HOME", "relative"}};
  EXPECT_EQ(folders(System::Posix),
            "/home/tuner/.local/share/palunor/backups|/home/tuner/.config/palunor/palunor.conf");
  env = {{"HOME", "/home/tuner"}, {"XDG_DATA_HOME", "/data/"}, {"XDG_CONFIG_HOME", "/cfg"}};
  EXPECT_EQ(folders(System::Posix), "/data/palunor/backups|/cfg/palunor/palunor.conf");
  env = {{"LOCALAPPDATA", "C:\\Users\\T\\Local"}, {"APPDATA", "C:\\Users\\T\\Roaming"}};
  EXPECT_EQ(folders(System::Windows),
            "C:\\Users\\T\\Local\\Palunor\\Backups|C:\\Users\\T\\Roaming\\Palunor\\palunor.ini");
}

}  // namespace
