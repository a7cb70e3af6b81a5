#include "cli/live_csv.h"

namespace cli {

namespace {

constexpr int kRpmOfPeriodZero = 240;
// An advance of this point value or more is no reading: the gauges refuse it.
constexpr std::uint8_t kAdvanceReadingLimit = 56;

std::string CurveCells(const map::Curve& curve) {
  std::string cells;
  for (std::uint8_t v : curve) {
    if (!cells.empty()) cells += ",";
    cells += std::to_string(static_cast<int>(v) - 25);
  }
  return cells;
}

// The byte on the wire that decodes to `value`: the point decoding is one to one.
std::uint8_t WireByte(std::uint8_t value) {
  return value >= 25 && value <= 153 ? static_cast<std::uint8_t>(value - 25)
                                     : static_cast<std::uint8_t>(153 - value);
}

}  // namespace

std::string LiveCsvHeader(const std::string& controller, const std::string& limits,
                          const std::array<map::Curve, 2>& curves) {
  return "# controller: " + controller + "; limits " + limits +
         "\r\n# advance 1: " + CurveCells(curves[0]) + "\r\n# advance 2: " + CurveCells(curves[1]) +
         "\r\ntime_ms,date_time,rpm,advance,period_byte,advance_byte,taken,curve\r\n";
}

std::string LiveCsvRow(ui::Variant variant, int version, std::uint32_t ms,
                       const std::string& local_time, const protocol::LiveFrame& frame,
                       int curve_shown) {
  // Controllers of firmware 6.x count the period in finer steps; the window scales it.
  std::uint8_t period = frame.period;
  if (variant == ui::Variant::Palunor6 && version / 10 == 6) {
    period = static_cast<std::uint8_t>(frame.period * 10 / 26);
  }
  const int rpm = period > 0 ? 120000 / period / 10 * 10 : kRpmOfPeriodZero;
  return std::to_string(ms) + "," + local_time + "," + std::to_string(rpm) + "," +
         std::to_string(static_cast<int>(frame.advance) - 25) + "," + std::to_string(frame.period) +
         "," + std::to_string(WireByte(frame.advance)) + "," +
         (frame.advance < kAdvanceReadingLimit ? "1" : "0") + "," +
         (curve_shown > 0 ? std::to_string(curve_shown) : "") + "\r\n";
}

}  // namespace cli
