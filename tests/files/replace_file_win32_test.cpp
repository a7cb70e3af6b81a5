// Guards replacing a file on Windows (under wine): a read-only file is refused before
// anything is written, as on POSIX systems, and is left with nothing beside it.
#include <gtest/gtest.h>

#include "files/replace_file.h"
#include "files/scratch_folder.h"
#include "files/utf8_path.h"

namespace {

namespace fs = std::filesystem;
using files_test::Read;
using files_test::ScratchFolder;
using files_test::Write;

TEST(ReplaceFileWindows, AReadOnlyFileIsRefusedAndKeptWithEverythingBesideIt) {
  ScratchFolder folder;
  const fs::path map = folder.Path() / files::PathFromUtf8("карта.IJJ");
  Write(map, "old");
  Write(folder.Path() / files::PathFromUtf8("карта.IJJ.tmp"), "the user's own file");
  fs::permissions(map, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_EQ(files::ReplaceFile(map, "new"), std::errc::permission_denied);
  fs::permissions(map, fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(Read(map), "old");
  EXPECT_EQ(folder.Names().size(), 2u);
}

}  // namespace
