// Guards the one way files are replaced, on every platform: the new bytes and nothing
// else end up in the folder, a file of the user's that only looks like a temporary one
// is never touched, and names outside any ANSI code page work end to end.
#include "files/replace_file.h"

#include <gtest/gtest.h>

#include "files/read_file.h"
#include "files/scratch_folder.h"
#include "files/utf8_path.h"

namespace {

namespace fs = std::filesystem;
using files_test::kNew;
using files_test::kOld;
using files_test::Read;
using files_test::ScratchFolder;
using files_test::Write;

TEST(ReplaceFile, ANewOrAnOldFileEndsHoldingTheBytesAndNothingIsLeftBeside) {
  ScratchFolder folder;
  ASSERT_FALSE(files::ReplaceFile(folder / "new.IJJ", kNew));
  Write(folder / "old.IJJ", kOld);
  ASSERT_FALSE(files::ReplaceFile(folder / "old.IJJ", kNew));
  ASSERT_FALSE(files::ReplaceFile(folder / "old.IJJ", "short"));
  EXPECT_EQ(Read(folder / "new.IJJ"), kNew);
  EXPECT_EQ(Read(folder / "old.IJJ"), "short");
  EXPECT_EQ(folder.Names(), (std::set<fs::path>{"new.IJJ", "old.IJJ"}));
}

TEST(ReplaceFile, TheUsersOwnTmpFilesBesideTheTargetAreNeverTouched) {
  ScratchFolder folder;
  Write(folder / "x.IJJ", kOld);
  Write(folder / "x.IJJ.tmp", "the user's own notes");
  Write(folder / "Advance.INI.tmp", "more notes");
  ASSERT_FALSE(files::ReplaceFile(folder / "x.IJJ", kNew));
  ASSERT_FALSE(files::ReplaceFile(folder / "Advance.INI", "COM PORT= COM2\r\n"));
  EXPECT_EQ(Read(folder / "x.IJJ"), kNew);
  EXPECT_EQ(Read(folder / "x.IJJ.tmp"), "the user's own notes");
  EXPECT_EQ(Read(folder / "Advance.INI.tmp"), "more notes");
  EXPECT_EQ(folder.Names().size(), 4u);
}

TEST(ReplaceFile, CyrillicAndOtherNamesAreWrittenReadAndListedAsTheUserTypedThem) {
  ScratchFolder folder;
  for (const std::string name : {"Иван/карта.IJJ", "Ελένη/χάρτης.IJJ", "Zoë/日本.IJJ"}) {
    const fs::path path = folder.Path() / files::PathFromUtf8(name);
    fs::create_directories(path.parent_path());
    ASSERT_FALSE(files::ReplaceFile(path, kNew)) << name;
    std::string text;
    ASSERT_FALSE(files::ReadFileStart(path, 4096, text)) << name;
    EXPECT_EQ(text, kNew) << name;
    EXPECT_EQ(files::Utf8FromPath(fs::directory_iterator(path.parent_path())->path().filename()),
              name.substr(name.find('/') + 1));
  }
}

TEST(ReadFileStart, ReadsNoMoreThanTheBoundAndReportsAMissingFile) {
  ScratchFolder folder;
  Write(folder / "big", std::string(10000, 'x'));
  std::string text = "unchanged";
  ASSERT_FALSE(files::ReadFileStart(folder / "big", 62, text));
  EXPECT_EQ(text, std::string(62, 'x'));
  text = "unchanged";
  EXPECT_EQ(files::ReadFileStart(folder / "missing", 62, text),
            std::errc::no_such_file_or_directory);
  EXPECT_EQ(text, "unchanged");
}

}  // namespace
