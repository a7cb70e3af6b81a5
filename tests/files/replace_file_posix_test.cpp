// Guards replacing a file on a POSIX system, judged by what is on the disk: permission
// bits are kept and obeyed (a read-only file is refused as rewriting it would be, a
// writable file in a folder the user may not write to is rewritten in place), links
// keep leading where they led, and a name too long for any suffix is still written.
// Run as an unprivileged user (tests/run_unprivileged.sh), since root's writes ignore
// permission bits.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/file_size_limit.h"
#include "files/replace_file.h"
#include "files/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using files_test::FileSizeLimit;
using files_test::kNew;
using files_test::kOld;
using files_test::Read;
using files_test::ScratchFolder;
using files_test::Write;

class ReplaceFilePosix : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(geteuid(), 0u) << "run as an unprivileged user: root's writes ignore permissions";
    Write(folder / "map.IJJ", kOld);
  }
  static fs::perms Mode(const fs::path& path) { return fs::status(path).permissions(); }
  static ino_t Inode(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0);
    return info.st_ino;
  }

  ScratchFolder folder;
};

TEST_F(ReplaceFilePosix, AReadOnlyFileIsRefusedAndKeptWithEverythingBesideIt) {
  fs::permissions(folder / "map.IJJ", fs::perms(0444));
  Write(folder / "map.IJJ.tmp", "the user's own file");
  fs::permissions(folder / "map.IJJ.tmp", fs::perms(0444));
  EXPECT_EQ(files::ReplaceFile(folder / "map.IJJ", kNew), std::errc::permission_denied);
  EXPECT_EQ(Read(folder / "map.IJJ"), kOld);
  EXPECT_EQ(Read(folder / "map.IJJ.tmp"), "the user's own file");
  EXPECT_EQ(folder.Names(), (std::set<fs::path>{"map.IJJ", "map.IJJ.tmp"}));
}

TEST_F(ReplaceFilePosix, TheNewFileKeepsTheOldOnesPermissions) {
  for (const auto mode : {fs::perms(0600), fs::perms(0640), fs::perms(0664), fs::perms(0755)}) {
    fs::permissions(folder / "map.IJJ", mode);
    ASSERT_FALSE(files::ReplaceFile(folder / "map.IJJ", kNew));
    EXPECT_EQ(Mode(folder / "map.IJJ"), mode);
  }
  EXPECT_EQ(Read(folder / "map.IJJ"), kNew);
}

TEST_F(ReplaceFilePosix, AWritableFileInAFolderTheUserMayNotWriteIsRewrittenInPlace) {
  const ino_t before = Inode(folder / "map.IJJ");
  fs::permissions(folder.Path(), fs::perms(0555));
  const std::error_code written = files::ReplaceFile(folder / "map.IJJ", kNew);
  const std::error_code created = files::ReplaceFile(folder / "other.IJJ", kNew);
  fs::permissions(folder.Path(), fs::perms(0755));
  EXPECT_FALSE(written);
  EXPECT_EQ(created, std::errc::permission_denied) << "a new file there cannot be made at all";
  EXPECT_EQ(Read(folder / "map.IJJ"), kNew);
  EXPECT_EQ(Inode(folder / "map.IJJ"), before);
  EXPECT_EQ(folder.Names(), std::set<fs::path>{"map.IJJ"});
}

TEST_F(ReplaceFilePosix, ANameTooLongForAnySuffixIsStillWritten) {
  const fs::path longest = folder / std::string(251, 'm').append(".IJJ");  // 255 bytes
  ASSERT_FALSE(files::ReplaceFile(longest, kOld));
  ASSERT_FALSE(files::ReplaceFile(longest, kNew));
  EXPECT_EQ(Read(longest), kNew);
  EXPECT_EQ(folder.Names().size(), 2u);
}

TEST_F(ReplaceFilePosix, ASymbolicLinkStaysALinkAndItsTargetTakesTheBytes) {
  fs::create_directory(folder / "maps");
  fs::rename(folder / "map.IJJ", folder / "maps" / "real.IJJ");
  fs::create_symlink(fs::path("maps") / "real.IJJ", folder / "link.IJJ");
  fs::create_symlink("link.IJJ", folder / "link-to-link.IJJ");
  fs::permissions(folder / "maps" / "real.IJJ", fs::perms(0640));
  ASSERT_FALSE(files::ReplaceFile(folder / "link-to-link.IJJ", kNew));
  EXPECT_TRUE(fs::is_symlink(folder / "link-to-link.IJJ"));
  EXPECT_TRUE(fs::is_symlink(folder / "link.IJJ"));
  EXPECT_EQ(Read(folder / "maps" / "real.IJJ"), kNew);
  EXPECT_EQ(Mode(folder / "maps" / "real.IJJ"), fs::perms(0640));
  EXPECT_EQ(folder.Names(), (std::set<fs::path>{"link.IJJ", "link-to-link.IJJ", "maps"}));
}

TEST_F(ReplaceFilePosix, ADanglingLinkStaysALinkAndTheFileItNamesIsCreated) {
  fs::create_directory(folder / "maps");
  fs::create_symlink(fs::path("maps") / "later.IJJ", folder / "link.IJJ");
  ASSERT_FALSE(files::ReplaceFile(folder / "link.IJJ", kNew));
  EXPECT_TRUE(fs::is_symlink(folder / "link.IJJ"));
  EXPECT_EQ(Read(folder / "maps" / "later.IJJ"), kNew);

  fs::create_symlink(fs::path("nowhere") / "x.IJJ", folder / "lost.IJJ");
  EXPECT_EQ(files::ReplaceFile(folder / "lost.IJJ", kNew), std::errc::no_such_file_or_directory);
}

TEST_F(ReplaceFilePosix, EveryHardLinkOfTheFileShowsTheNewBytes) {
  fs::create_hard_link(folder / "map.IJJ", folder / "copy.IJJ");
  ASSERT_FALSE(files::ReplaceFile(folder / "map.IJJ", kNew));
  EXPECT_EQ(Read(folder / "copy.IJJ"), kNew);
  EXPECT_EQ(Inode(folder / "copy.IJJ"), Inode(folder / "map.IJJ"));
}

TEST_F(ReplaceFilePosix, AWriteThatFailsLeavesTheOldFileWholeAndNoTemporaryBeside) {
  std::error_code error;
  {
    FileSizeLimit limit(4096);
    error = files::ReplaceFile(folder / "map.IJJ", std::string(1 << 20, 'x'));
  }
  EXPECT_EQ(error, std::errc::file_too_large);
  EXPECT_EQ(Read(folder / "map.IJJ"), kOld);
  EXPECT_EQ(folder.Names(), std::set<fs::path>{"map.IJJ"});
}

}  // namespace
