// Guards "Advance.ini" written by two programs closing at the same moment: each write
// is whole and no temporary file is left. Real threads, so it runs with the system tests.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>

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

}  // namespace
