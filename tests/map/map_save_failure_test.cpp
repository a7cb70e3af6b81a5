// Guards that saving a map never damages the map it replaces: a read-only map and a
// write that fails half-way both leave the old file as it was, and the user is told
// why; a writable map in a folder the program may not write to is still saved.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include "files/unprivileged_scope.h"
#include "map/map_file.h"
#include "map/map_window.h"

namespace {

namespace fs = std::filesystem;
using files_test::UnprivilegedScope;
using model_test::FileText;
using model_test::MapWindow;
using model_test::WriteText;

constexpr const char* kOldMap =
    "SD1PPPPPPPPPPPPPPPPPPPPPPPPPP\r\nSD2QQQQQQQQQQQQQQQQQQQQQQQQQQ\r\n";

// Files this process writes may grow to `bytes` and no further: a longer write fails
// with EFBIG instead of raising SIGXFSZ.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    m_signal = signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &m_before);
    rlimit limit = m_before;
    limit.rlim_cur = bytes;
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &m_before);
    signal(SIGXFSZ, m_signal);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit m_before{};
  void (*m_signal)(int) = nullptr;
};

class MapSaveFailureTest : public ::testing::TestWithParam<ui::Variant> {
 protected:
  void SetUp() override {
    window.model.Working(1).fill(50);
    WriteText(window.dir / "old.IJJ", kOldMap);
  }
  std::vector<fs::path> Files() const {
    return {fs::directory_iterator(window.dir), fs::directory_iterator()};
  }

  MapWindow window{GetParam()};
};

INSTANTIATE_TEST_SUITE_P(BothPrograms, MapSaveFailureTest,
                         ::testing::Values(ui::Variant::Palunor6, ui::Variant::Palunor));

TEST_P(MapSaveFailureTest, AMapInAFolderThatCannotBeWrittenIsRewrittenWhereItIs) {
  fs::permissions(window.dir / "old.IJJ", fs::perms(0666));
  fs::permissions(window.dir, fs::perms(0555));
  {
    UnprivilegedScope user;
    ASSERT_TRUE(user.Unprivileged()) << "cannot drop root's rights to test an unwritable folder";
    window.SaveAs("old.IJJ");
    window.SaveAs("new.IJJ");
  }
  fs::permissions(window.dir, fs::perms(0755));
  EXPECT_EQ(window.Messages(), std::vector<std::string>{"File access denied"})
      << "only the new map, which that folder cannot take, is refused";
  EXPECT_EQ(FileText(window.dir / "old.IJJ"), map::MapFileText(window.model.AdvCurves));
  EXPECT_EQ(Files().size(), 1u);
}

TEST_P(MapSaveFailureTest, AReadOnlyMapIsNotReplacedAndTheUserIsTold) {
  fs::permissions(window.dir / "old.IJJ", fs::perms(0444));
  {
    UnprivilegedScope user;
    ASSERT_TRUE(user.Unprivileged()) << "cannot drop root's rights to test a read-only map";
    window.SaveAs("old.IJJ");
  }
  EXPECT_EQ(window.Messages(), std::vector<std::string>{"File access denied"});
  EXPECT_EQ(FileText(window.dir / "old.IJJ"), kOldMap);
  EXPECT_EQ(Files().size(), 1u);
}

TEST_P(MapSaveFailureTest, AWriteThatFailsHalfWayKeepsTheOldMap) {
  {
    FileSizeLimit limit(20);
    window.SaveAs("old.IJJ");
  }
  EXPECT_EQ(window.Messages(), std::vector<std::string>{"Disk full"});
  EXPECT_EQ(FileText(window.dir / "old.IJJ"), kOldMap);
  EXPECT_EQ(Files().size(), 1u) << "no partial file is left beside the map";

  window.SaveAs("old.IJJ");  // once the disk has room the same save goes through
  EXPECT_EQ(FileText(window.dir / "old.IJJ"), map::MapFileText(window.model.AdvCurves));
}

TEST_P(MapSaveFailureTest, ALinkToAMapStaysALink) {
  fs::create_directory(window.dir / "maps");
  fs::rename(window.dir / "old.IJJ", window.dir / "maps" / "real.IJJ");
  fs::create_symlink(fs::path("maps") / "real.IJJ", window.dir / "link.IJJ");
  window.SaveAs("link.IJJ");
  EXPECT_TRUE(fs::is_symlink(window.dir / "link.IJJ"));
  EXPECT_EQ(FileText(window.dir / "maps" / "real.IJJ"), map::MapFileText(window.model.AdvCurves));
}

TEST_P(MapSaveFailureTest, TheNewMapKeepsThePermissionsOfTheOldOne) {
  fs::permissions(window.dir / "old.IJJ", fs::perms(0600));
  window.SaveAs("old.IJJ");
  EXPECT_EQ(fs::status(window.dir / "old.IJJ").permissions() & fs::perms::all, fs::perms(0600));
  EXPECT_EQ(FileText(window.dir / "old.IJJ"), map::MapFileText(window.model.AdvCurves));
}

}  // namespace
