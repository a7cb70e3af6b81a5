// Guards "Advance.ini": the three lines as written and read back, the letter case of
// the name, that bad files (missing, binary, huge, truncated, a speed no port takes)
// never break start-up and only a non-number on the second line is reported, and that
// a write replaces the file whole without touching anybody else's files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

#include "serial/advance_ini.h"

namespace {

namespace fs = std::filesystem;

class AdvanceIniFile : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() /
            ("advance-ini-" + std::to_string(std::random_device{}()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(m_dir);
  }
  void TearDown() override { fs::remove_all(m_dir); }

  void Write(const std::string& name, const std::string& content) {
    std::ofstream(m_dir / name, std::ios::binary) << content;
  }
  std::string Read(const std::string& name) {
    std::ifstream in(m_dir / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string Dir() const { return m_dir.string(); }

  fs::path m_dir;
};

TEST(AdvanceIniFormat, WritesTheThreeLinesFromTheDriverSettings) {
  const auto lines = serial::FormatAdvanceIni("\\\\.\\COM2", 9600, 8);
  EXPECT_EQ(lines.port, "COM PORT= COM2");
  EXPECT_EQ(lines.baud_rate, "BAUDRATE= 9600");
  EXPECT_EQ(lines.data_bits, "DATABITS= 8bits");
  EXPECT_EQ(serial::FormatAdvanceIni("\\\\.\\COM12", 921600, 5).port, "COM PORT= COM12");
}

TEST(AdvanceIniFormat, PortNameWithoutTheDevicePrefixWritesAnEmptyPort) {
  // "COM3" typed without "\\.\" keeps only what stands at characters 5 to 9: nothing.
  EXPECT_EQ(serial::FormatAdvanceIni("COM3", 9600, 8).port, "COM PORT= ");
  const auto ini = serial::ParseAdvanceIni("COM PORT= ", "BAUDRATE= 9600", "DATABITS= 8bits");
  EXPECT_FALSE(ini.port.has_value());
}

TEST(AdvanceIniParse, ReadsPortBaudAndDataBits) {
  const auto ini = serial::ParseAdvanceIni("COM PORT= COM12", "BAUDRATE= 19200", "DATABITS= 7bits");
  EXPECT_EQ(ini.port, 12);
  EXPECT_EQ(ini.baud_rate, 19200u);
  EXPECT_EQ(ini.data_bits, 7);
  EXPECT_TRUE(ini.error.empty());
}

TEST(AdvanceIniParse, OutOfRangeValuesLeaveTheSettingAlone) {
  auto ini = serial::ParseAdvanceIni("COM PORT= COM17", "BAUDRATE= 9600", "DATABITS= 9bits");
  EXPECT_FALSE(ini.port.has_value());
  EXPECT_FALSE(ini.data_bits.has_value());
  ini = serial::ParseAdvanceIni("COM PORT= COM0", "BAUDRATE= 9600", "DATABITS= 4bits");
  EXPECT_FALSE(ini.port.has_value());
  EXPECT_FALSE(ini.data_bits.has_value());
  ini = serial::ParseAdvanceIni("COM PORT= COMX", "BAUDRATE= 9600", "DATABITS= xbits");
  EXPECT_FALSE(ini.port.has_value());
  EXPECT_FALSE(ini.data_bits.has_value());
}

TEST(AdvanceIniParse, SecondLineThatIsNoNumberGivesTheConversionMessage) {
  auto ini = serial::ParseAdvanceIni("COM PORT= COM1", "BAUDRATE= fast", "DATABITS= 8bits");
  EXPECT_FALSE(ini.baud_rate.has_value());
  EXPECT_EQ(ini.error, "'fast' is not a valid integer value");
  // The other lines are still applied.
  EXPECT_EQ(ini.port, 1);
  EXPECT_EQ(ini.data_bits, 8);
  // A missing second line converts the empty text.
  ini = serial::ParseAdvanceIni("COM PORT= COM1", "", "");
  EXPECT_EQ(ini.error, "'' is not a valid integer value");
  // Beyond 32 bits is no integer either.
  ini = serial::ParseAdvanceIni("", "BAUDRATE= 99999999999", "");
  EXPECT_EQ(ini.error, "'99999999999' is not a valid integer value");
}

TEST(AdvanceIniParse, SpeedNoPortTakesIsIgnoredWithoutAMessage) {
  // "BAUDRATE= 0" would fail every open of the run and be written back at closing.
  for (const char* line : {"BAUDRATE= 0", "BAUDRATE= 109", "BAUDRATE= 921601", "BAUDRATE= -1",
                           "BAUDRATE= 4294967295"}) {
    const auto ini = serial::ParseAdvanceIni("COM PORT= COM3", line, "DATABITS= 7bits");
    EXPECT_FALSE(ini.baud_rate.has_value()) << line;
    EXPECT_TRUE(ini.error.empty()) << line;
    EXPECT_EQ(ini.port, 3) << line;
    EXPECT_EQ(ini.data_bits, 7) << line;
  }
  // Any whole number the settings dialog accepts is taken, listed or not.
  EXPECT_EQ(serial::ParseAdvanceIni("", "BAUDRATE= 110", "").baud_rate, 110u);
  EXPECT_EQ(serial::ParseAdvanceIni("", "BAUDRATE= 921600", "").baud_rate, 921600u);
  EXPECT_EQ(serial::ParseAdvanceIni("", "BAUDRATE= 12345", "").baud_rate, 12345u);
}

TEST_F(AdvanceIniFile, MissingFileReadsAsNothing) {
  EXPECT_FALSE(serial::ReadAdvanceIni(Dir()));
}

TEST_F(AdvanceIniFile, WrittenFileReadsBackTheSameSettings) {
  ASSERT_TRUE(serial::WriteAdvanceIni(Dir(), serial::FormatAdvanceIni("\\\\.\\COM12", 230400, 6)));
  EXPECT_EQ(Read("Advance.INI"), "COM PORT= COM12\r\nBAUDRATE= 230400\r\nDATABITS= 6bits\r\n");
  const auto ini = serial::ReadAdvanceIni(Dir());
  ASSERT_TRUE(ini);
  EXPECT_EQ(ini->port, 12);
  EXPECT_EQ(ini->baud_rate, 230400u);
  EXPECT_EQ(ini->data_bits, 6);
}

TEST_F(AdvanceIniFile, EitherLetterCaseIsOneFile) {
  Write("ADVANCE.ini", "COM PORT= COM3\r\nBAUDRATE= 4800\r\nDATABITS= 8bits\r\n");
  const auto ini = serial::ReadAdvanceIni(Dir());
  ASSERT_TRUE(ini);
  EXPECT_EQ(ini->port, 3);
  ASSERT_TRUE(serial::WriteAdvanceIni(Dir(), serial::FormatAdvanceIni("\\\\.\\COM4", 9600, 8)));
  // The existing file is replaced; no second file appears beside it.
  EXPECT_EQ(Read("ADVANCE.ini"), "COM PORT= COM4\r\nBAUDRATE= 9600\r\nDATABITS= 8bits\r\n");
  int files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(m_dir)) ++files;
  EXPECT_EQ(files, 1);
}

TEST_F(AdvanceIniFile, LinesEndWithLineFeedOrCarriageReturnAlone) {
  Write("Advance.ini", "COM PORT= COM5\rBAUDRATE= 1200\nDATABITS= 7bits");
  const auto ini = serial::ReadAdvanceIni(Dir());
  ASSERT_TRUE(ini);
  EXPECT_EQ(ini->port, 5);
  EXPECT_EQ(ini->baud_rate, 1200u);
  EXPECT_EQ(ini->data_bits, 7);
}

TEST_F(AdvanceIniFile, TruncatedFileReadsMissingLinesAsEmpty) {
  Write("Advance.ini", "COM PORT= COM1");
  const auto ini = serial::ReadAdvanceIni(Dir());
  ASSERT_TRUE(ini);
  EXPECT_EQ(ini->port, 1);
  EXPECT_EQ(ini->error, "'' is not a valid integer value");
  EXPECT_FALSE(ini->data_bits.has_value());
}

TEST_F(AdvanceIniFile, FileWithASpeedNoPortTakesKeepsTheOtherLines) {
  Write("Advance.ini", "COM PORT= COM4\r\nBAUDRATE= 0\r\nDATABITS= 6bits\r\n");
  const auto ini = serial::ReadAdvanceIni(Dir());
  ASSERT_TRUE(ini);
  EXPECT_FALSE(ini->baud_rate.has_value());
  EXPECT_TRUE(ini->error.empty());
  EXPECT_EQ(ini->port, 4);
  EXPECT_EQ(ini->data_bits, 6);
}

TEST_F(AdvanceIniFile, HugeOrBinaryFileIsReadOnlyAsFarAsItsFirstFourKilobytes) {
  const std::string huge(3'000'000, 'x');
  // A second line behind a huge first one is not looked for: it reads as missing.
  Write("Advance.ini", "COM PORT= COM7" + huge + "\r\nBAUDRATE= 9600\r\n" + huge);
  auto ini = serial::ReadAdvanceIni(Dir());
  ASSERT_TRUE(ini);
  EXPECT_FALSE(ini->port.has_value());  // "7x" is no number
  EXPECT_FALSE(ini->baud_rate.has_value());
  EXPECT_EQ(ini->error, "'' is not a valid integer value");
  // Within the first 4 KiB a long first line only costs its own characters.
  Write("Advance.ini", "COM PORT= COM7" + std::string(3000, 'x') + "\r\nBAUDRATE= 9600\r\n");
  ini = serial::ReadAdvanceIni(Dir());
  ASSERT_TRUE(ini);
  EXPECT_EQ(ini->baud_rate, 9600u);
  // The message quotes at most the kept part of the line.
  Write("Advance.ini", std::string("COM PORT= COM2\r\nBAUDRATE= ") + huge);
  ini = serial::ReadAdvanceIni(Dir());
  ASSERT_TRUE(ini);
  EXPECT_LT(ini->error.size(), 300u);

  std::string binary;
  for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>(i * 37 % 256));
  Write("Advance.ini", binary);
  EXPECT_TRUE(serial::ReadAdvanceIni(Dir()).has_value());
}

TEST_F(AdvanceIniFile, TerabyteFileWithoutALineEndReadsAtOnce) {
  // Sparse: it takes no disk, but reading it to its end would take many minutes.
  Write("Advance.ini", "");
  std::error_code error;
  fs::resize_file(m_dir / "Advance.ini", std::uintmax_t{1} << 40, error);
  if (error) GTEST_SKIP() << "no sparse files here: " << error.message();
  const auto ini = serial::ReadAdvanceIni(Dir());
  ASSERT_TRUE(ini);
  EXPECT_FALSE(ini->port.has_value());
  EXPECT_FALSE(ini->baud_rate.has_value());
}

TEST_F(AdvanceIniFile, WriteLeavesAnotherWritersTemporaryFileAlone) {
  // What a second program closing at the same moment may have half written.
  Write("Advance.INI.tmp", "COM PORT= COM9\r\n");
  ASSERT_TRUE(serial::WriteAdvanceIni(Dir(), serial::FormatAdvanceIni("\\\\.\\COM3", 4800, 7)));
  EXPECT_EQ(Read("Advance.INI"), "COM PORT= COM3\r\nBAUDRATE= 4800\r\nDATABITS= 7bits\r\n");
  EXPECT_EQ(Read("Advance.INI.tmp"), "COM PORT= COM9\r\n");
}

TEST_F(AdvanceIniFile, UnwritableFolderFailsWithoutTouchingTheOldFile) {
  const fs::path missing = m_dir / "no-such-folder";
  EXPECT_FALSE(
      serial::WriteAdvanceIni(missing.string(), serial::FormatAdvanceIni("\\\\.\\COM1", 1, 8)));
  EXPECT_FALSE(fs::exists(missing));
}

}  // namespace
