// Guards opening a log again: what the recorder wrote reads back as it was, other
// files are refused with a reason, and damaged, truncated or huge files cost at most
// their damaged rows, never a crash or the rest of the log.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <variant>
#include <vector>

#include "logbook/log_reader.h"
#include "logbook/log_row.h"

namespace {

using logbook::Log;

logbook::LogStart Start() {
  logbook::LogStart start{"QZR", 60, 20, 18, {}, {}};
  for (std::size_t i = 0; i < logbook::kAxisPoints; ++i) {
    start.rpm_axis[i] = 500 + 250 * static_cast<int>(i);
    start.curves[0][i] = static_cast<std::uint8_t>(10 + i);
    start.curves[1][i] = static_cast<std::uint8_t>(50 - i);
  }
  return start;
}

logbook::LogRecord Record(std::uint32_t i) {
  return {i * 100,
          "2026-12-09 13:55:27.123",
          static_cast<int>(800 + i * 7 % 9000),
          static_cast<int>(i % 40) - 10,
          static_cast<std::uint8_t>(i % 256),
          static_cast<std::uint8_t>(i * 3 % 256),
          i % 5 != 0,
          1 + static_cast<int>(i / 50 % 2)};
}

std::string LogText(std::uint32_t rows) {
  std::string text = logbook::LogHeader(Start());
  for (std::uint32_t i = 0; i < rows; ++i) text += logbook::LogRow(Record(i));
  return text;
}

Log Parsed(std::string_view text) {
  auto result = logbook::ParseLog(text);
  if (const std::string* why = std::get_if<std::string>(&result)) {
    ADD_FAILURE() << *why;
    return {};
  }
  return std::get<Log>(result);
}

std::string Refusal(std::string_view text) {
  auto result = logbook::ParseLog(text);
  return std::holds_alternative<std::string>(result) ? std::get<std::string>(result) : "";
}

// The sample row i must read back as.
logbook::LogSample Sample(std::uint32_t i) {
  const logbook::LogRecord r = Record(i);
  return {r.time_ms, r.rpm, r.advance, r.taken, r.curve};
}

TEST(LogReader, ReadsBackWhatTheRecorderWrote) {
  const Log log = Parsed(LogText(120));
  EXPECT_EQ(log.controller, "QZR, firmware 6.0, max advance 20, max retard 18");
  ASSERT_TRUE(log.rpm_axis);
  EXPECT_EQ((*log.rpm_axis)[25], 500 + 250 * 25);
  for (std::size_t c = 0; c < 2; ++c) {
    ASSERT_TRUE(log.curves[c]);
    for (std::size_t i = 0; i < 26; ++i) {
      EXPECT_EQ((*log.curves[c])[i], Start().curves[c][i] - 25);
    }
  }
  ASSERT_EQ(log.samples.size(), 120u);
  for (std::uint32_t i = 0; i < 120; ++i) EXPECT_EQ(log.samples[i], Sample(i)) << i;
  EXPECT_EQ(log.bad_rows, 0u);
}

TEST(LogReader, RefusesWhatIsNoLogWithAReason) {
  for (const char* text : {"", "SD1PPPPPPPPPPPPPPPPPPPPPPPPPP\r\n", "time_ms,rpm\r\n1,2\r\n"}) {
    EXPECT_NE(Refusal(text).find("not a live data log"), std::string::npos) << text;
  }
  EXPECT_NE(Refusal(std::string(logbook::kLogTitle) + "\r\n# controller: QZR\r\n1,2,3\r\n")
                .find("no row of column names"),
            std::string::npos);
}

TEST(LogReader, DamagedRowsAreCountedAndSkipped) {
  std::string text = logbook::LogHeader(Start());
  // Too few or many fields, numbers out of range or not numbers at all.
  std::vector<std::string> damaged = {"1,x,2,3,4,5,1",
                                      "abc",
                                      "1,t,500,3,4,5,1,2,9",
                                      "1,t,500,3,4,5,2,1",
                                      "1,t,500,3,4,5,1,3",
                                      "1,t,-5,3,4,5,1,2",
                                      "1,t,500,3,256,5,1,2",
                                      "99999999999,t,500,3,4,5,1,2",
                                      "\xff\xfe,,,,,,,",
                                      std::string("1,t,5\0"
                                                  "00,3,4,5,1,2",
                                                  18)};
  for (std::uint32_t i = 0; i < 30; ++i) {
    text += logbook::LogRow(Record(i));
    if (i % 3 == 0) text += damaged[i / 3] + "\r\n";
  }
  // A bad curve in the header loses that curve only.
  text.replace(text.find("(degrees): -15,"), 15, "(degrees): -26,");
  const Log log = Parsed(text);
  ASSERT_EQ(log.samples.size(), 30u);
  for (std::uint32_t i = 0; i < 30; ++i) EXPECT_EQ(log.samples[i], Sample(i)) << i;
  EXPECT_EQ(log.bad_rows, 10u);
  EXPECT_FALSE(log.curves[0]);
  EXPECT_TRUE(log.curves[1]);
}

TEST(LogReader, ATruncatedLogKeepsEveryWholeRow) {
  const std::string text = LogText(20);
  const std::size_t header = logbook::LogHeader(Start()).size();
  for (std::size_t cut = header; cut <= text.size(); ++cut) {
    const Log log = Parsed(text.substr(0, cut));
    std::size_t whole = 0;
    for (std::size_t at = header; (at = text.find('\n', at)) < cut; ++at) ++whole;
    ASSERT_GE(log.samples.size(), whole) << cut;
    ASSERT_LE(log.samples.size() + log.bad_rows, whole + 1) << cut;
  }
  // Short of its column names (with or without their line end) a log is none.
  for (std::size_t cut = 0; cut + 2 < header; ++cut) {
    EXPECT_NE(Refusal(text.substr(0, cut)), "") << cut;
  }
}

TEST(LogReader, AHugeFileIsRefusedUnreadAndAnHourIsRead) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                    ("palunor-log-" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(dir);
  {
    std::ofstream(dir / "hour.csv", std::ios::binary) << LogText(36000);
    std::ofstream(dir / "huge.csv", std::ios::binary) << LogText(10);
  }
  std::filesystem::resize_file(dir / "huge.csv", logbook::kMaxLogBytes + 1);
  const auto hour = logbook::ReadLog(dir / "hour.csv");
  const auto huge = logbook::ReadLog(dir / "huge.csv");
  const auto missing = logbook::ReadLog(dir / "missing.csv");
  std::filesystem::remove_all(dir);
  ASSERT_TRUE(std::holds_alternative<Log>(hour));
  EXPECT_EQ(std::get<Log>(hour).samples.size(), 36000u);
  ASSERT_TRUE(std::holds_alternative<std::string>(huge));
  EXPECT_NE(std::get<std::string>(huge).find("too large"), std::string::npos);
  ASSERT_TRUE(std::holds_alternative<std::string>(missing));
  EXPECT_NE(std::get<std::string>(missing).find("missing.csv"), std::string::npos);
}

}  // namespace
