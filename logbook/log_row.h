// The CSV a live-data recording is: comment lines that name the controller and hold
// both curves as they were when it started, a row of column names, and one row per
// live frame. The window's recorder and the command line write it with these.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "protocol/catalogue.h"

namespace logbook {

// The first line of every log; a file without it is not one.
inline constexpr std::string_view kLogTitle = "# Palunor live data log";
inline constexpr std::string_view kLogColumns =
    "time_ms,local_time,rpm,advance_deg,period_byte,advance_byte,taken,curve";
inline constexpr std::size_t kAxisPoints = 26;
// The curve column of a log written where no curve is shown (palunorctl log).
inline constexpr int kNoCurveShown = 0;

// The controller and the curves when the recording started.
struct LogStart {
  std::string model;  // "QZR" or "PLX"; empty when no controller has answered
  int firmware = 0;   // tenths
  int max_advance = 0;
  int max_retard = 0;
  // RPM of each curve point on the axis in force.
  std::array<int, kAxisPoints> rpm_axis{};
  // Curves 1 and 2 as point values (25 is 0 degrees).
  std::array<protocol::CurvePoints, 2> curves{};
};

// One live frame as the program showed it.
struct LogRecord {
  std::uint32_t time_ms = 0;  // since the recording started
  std::string local_time;     // "2026-12-09 13:55:27.123"
  int rpm = 0;                // as the speed read-out showed it
  int advance = 0;            // degrees
  std::uint8_t period_byte = 0;
  std::uint8_t advance_byte = 0;
  bool taken = false;  // whether the gauges took it as a reading
  int curve = 1;       // the curve shown, or kNoCurveShown
};

// The comment lines and the column names, each line ended by CR LF.
std::string LogHeader(const LogStart& start);
// One whole row, ended by CR LF.
std::string LogRow(const LogRecord& record);
// Local date and time to the millisecond, as the rows carry it.
std::string LocalTimeText(std::chrono::system_clock::time_point when);

}  // namespace logbook
