// Guards "Advance.ini" written by two programs closing at the same moment (each write
// is whole and no temporary file is left; real threads, so it runs with the system
// tests), and written where the user keeps it: through a symbolic link, and in a
// folder the user may not write to.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>

#include "files/unprivileged_scope.h"
#include "serial/advance_ini.h"

namespace {

namespace fs = std::filesystem;

class AdvanceIniFile : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() / ("advance-ini-" + std::to_string(std::random_device{}()));
    fs::create_directories(m_dir);
  }
  void TearDown() override { fs::remove_all(m_dir); }

  std::string Read(const std::string& name) {
    std::ifstream in(m_dir / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string Dir() const { return m_dir.string(); }

  fs::path m_dir;
};

TEST_F(AdvanceIniFile, WritersAtTheSameTimeEachLeaveAWholeFile) {
  const auto first = serial::FormatAdvanceIni("\\\\.\\COM1", 9600, 8);
  const auto second = serial::FormatAdvanceIni("\\\\.\\COM12", 230400, 5);
  int first_failures = 0;
  int second_failures = 0;
  auto write = [this](const serial::AdvanceIniLines& lines, int& failures) {
    for (int i = 0; i < 20; ++i) failures += serial::WriteAdvanceIni(Dir(), lines) ? 0 : 1;
  };
  std::thread other(write, std::cref(second), std::ref(second_failures));
  write(first, first_failures);
  other.join();
  EXPECT_EQ(first_failures, 0);
  EXPECT_EQ(second_failures, 0);
  const std::string text = Read("Advance.INI");
  EXPECT_TRUE(text == "COM PORT= COM1\r\nBAUDRATE= 9600\r\nDATABITS= 8bits\r\n" ||
              text == "COM PORT= COM12\r\nBAUDRATE= 230400\r\nDATABITS= 5bits\r\n")
      << text;
  // No temporary file is left behind.
  int files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(m_dir)) ++files;
  EXPECT_EQ(files, 1);
}

TEST_F(AdvanceIniFile, ALinkedFileStaysALinkAndItsTargetIsUpdated) {
  fs::create_directory(m_dir / "config");
  std::ofstream(m_dir / "config" / "palunor.ini", std::ios::binary) << "COM PORT= COM1\r\n";
  fs::create_symlink(fs::path("config") / "palunor.ini", m_dir / "Advance.ini");
  ASSERT_TRUE(serial::WriteAdvanceIni(Dir(), serial::FormatAdvanceIni("\\\\.\\COM7", 4800, 7)));
  EXPECT_TRUE(fs::is_symlink(m_dir / "Advance.ini"));
  EXPECT_EQ(Read("config/palunor.ini"), "COM PORT= COM7\r\nBAUDRATE= 4800\r\nDATABITS= 7bits\r\n");
  EXPECT_EQ(serial::ReadAdvanceIni(Dir())->port, 7);
}

TEST_F(AdvanceIniFile, AWritableFileInAFolderTheUserMayNotWriteIsUpdated) {
  std::ofstream(m_dir / "Advance.ini", std::ios::binary) << "COM PORT= COM1\r\n";
  fs::permissions(m_dir / "Advance.ini", fs::perms(0666));
  fs::permissions(m_dir, fs::perms(0555));
  bool written = false;
  {
    files_test::UnprivilegedScope user;
    ASSERT_TRUE(user.Unprivileged()) << "cannot drop root's rights to test an unwritable folder";
    written = serial::WriteAdvanceIni(Dir(), serial::FormatAdvanceIni("\\\\.\\COM5", 9600, 8));
  }
  fs::permissions(m_dir, fs::perms(0755));
  EXPECT_TRUE(written);
  EXPECT_EQ(Read("Advance.ini"), "COM PORT= COM5\r\nBAUDRATE= 9600\r\nDATABITS= 8bits\r\n");
}

}  // namespace
