// Guards the CSV of both curves: what export writes, that import gives back the same
// curves however a spreadsheet rewrites the file, and that every fault is refused with
// the line named and no curves given.
#include "pointtable/curves_csv.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>

namespace pointtable {
namespace {

using Curves = std::array<map::Curve, 2>;

const PointLimits kLimits{20, 18, 15};

Curves RandomCurves(std::mt19937& rng, const PointLimits& limits) {
  Curves curves{};
  for (map::Curve& curve : curves) {
    for (std::size_t i = 0; i < curve.size(); ++i) {
      const int p = static_cast<int>(i) + 1;
      curve[i] =
          static_cast<std::uint8_t>(kZeroDegrees + std::uniform_int_distribution<int>(
                                                       limits.Lowest(p), limits.Highest(p))(rng));
    }
  }
  return curves;
}

// The text with every match of `pattern` replaced, as a spreadsheet would rewrite it.
std::string Rewritten(const std::string& text, const char* pattern, const char* with) {
  return std::regex_replace(text, std::regex(pattern), with);
}

TEST(CurvesCsv, ExportWritesAHeaderAndOneLinePerPointOnTheAxisInForce) {
  Curves curves{};
  curves[0].fill(25);
  curves[1].fill(25);
  curves[0][0] = 22;
  curves[1][25] = 37;
  const std::string text = CurvesCsv(curves, AxisInForce(ui::Variant::Palunor6, 60));
  EXPECT_TRUE(text.starts_with("Point,RPM,Advance 1,Advance 2\r\n1,")) << text;
  EXPECT_NE(text.find(",-3,0\r\n2,"), std::string::npos) << text;
  EXPECT_TRUE(text.ends_with("\r\n26,11000,0,12\r\n")) << text;
  EXPECT_TRUE(
      CurvesCsv(curves, AxisInForce(ui::Variant::Palunor, 60)).ends_with("26,8000,0,12\r\n"));
}

TEST(CurvesCsv, ImportGivesBackTheExportedCurvesAsSpreadsheetsRewriteThem) {
  for (std::uint32_t seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    const Curves curves = RandomCurves(rng, kLimits);
    const std::string text = CurvesCsv(curves, AxisInForce(ui::Variant::Palunor6, 45));
    const std::string semicolons = Rewritten(text, ",", ";");
    for (const std::string& form : {
             text, Rewritten(semicolons, "(-?\\d+)\r", "$1,0\r"),  // decimal commas
             Rewritten(text, "(-?\\d+)\r", "$1.00\r"),             // decimal dots
             "\xEF\xBB\xBF" + Rewritten(text, "\r\n", "\n"),       // byte order mark, LF
             Rewritten(text, "\r\n", "\r"),                        // CR only
             Rewritten(text, "\r\n", ",,\r\n\r\n"),                // empty cells and lines
             Rewritten(Rewritten(semicolons, "([^;\r\n]+)", "\"$1\""), "\"(-?\\d+)\"\r",
                       "\"$1,0\"\r"),           // every value quoted
             text.substr(text.find('\n') + 1),  // no header
         }) {
      const CsvCurves read = ReadCurvesCsv(form, kLimits);
      ASSERT_TRUE(read.curves) << read.error << "\n" << form;
      EXPECT_EQ(*read.curves, curves) << form;
    }
  }
}

TEST(CurvesCsv, EveryFaultIsRefusedNamingItsLine) {
  Curves curves{};
  curves[0].fill(25);
  curves[1].fill(30);
  const std::string good = CurvesCsv(curves, AxisInForce(ui::Variant::Palunor6, 60));
  const std::string header = "Point,RPM,Advance 1,Advance 2\r\n";
  const std::string rows = good.substr(header.size());
  struct Fault {
    std::string text;
    const char* error;
  };
  const Fault faults[] = {
      {header + rows.substr(0, rows.rfind("26,")), "The file ends at line 26 after 25 points"},
      {good + "27,11500,0,0\r\n", "Line 28: a 27th point"},
      {"\r\n;;\r\n", "The file holds no points"},
      {Rewritten(good, "\r\n6,(\\d+),0,5", "\r\n6,$1,0"), "Line 7: 3 values where a point has 4"},
      {Rewritten(good, "\r\n6,(\\d+),0,5", "\r\n6,$1,0,5,5"), "Line 7: 5 values"},
      {Rewritten(good, "\r\n6,(\\d+),0,5", "\r\n6,$1,0,5,5"), "semicolon as separator"},
      {Rewritten(good, "\r\n6,(\\d+),0,5", "\r\n6,$1,0,x"),
       "Line 7: the advance 2 \"x\" is not a number"},
      {Rewritten(good, "\r\n6,(\\d+),", "\r\n6,fast,"), "Line 7: the RPM \"fast\" is not a number"},
      {Rewritten(good, "\r\n6,(\\d+),0,5", "\r\n6,$1,0.5,5"),
       "Line 7: the advance 1 \"0.5\" is not a whole number"},
      {Rewritten(good, "\r\n6,", "\r\n7,"), "Line 7: point 7 where point 6 belongs"},
      {Rewritten(good, "\r\n6,(\\d+),0,5", "\r\n6,$1,21,5"),
       "Line 7: advance 1 of point 6 is +21 degrees, outside the controller's limits (+20 to -18 "
       "degrees, point 1 to -15)"},
      {Rewritten(good, "\r\n6,(\\d+),0,5", "\r\n6,$1,0,-19"),
       "Line 7: advance 2 of point 6 is -19 degrees"},
      {Rewritten(good, "\r\n1,(\\d+),0,5", "\r\n1,$1,-16,5"),
       "Line 2: advance 1 of point 1 is -16 degrees"},
      {good + std::string(kCsvSizeLimit, '\n'), "larger than 64 KB"},
  };
  for (const Fault& fault : faults) {
    const CsvCurves read = ReadCurvesCsv(fault.text, kLimits);
    EXPECT_FALSE(read.curves) << fault.error;
    EXPECT_NE(read.error.find(fault.error), std::string::npos) << read.error;
  }
  // Within the limits, point 1 to its own and the rest to the controller's.
  EXPECT_TRUE(
      ReadCurvesCsv(Rewritten(good, "\r\n1,(\\d+),0,5", "\r\n1,$1,-15,20"), kLimits).curves);
  EXPECT_TRUE(
      ReadCurvesCsv(Rewritten(good, "\r\n2,(\\d+),0,5", "\r\n2,$1,-18,20"), kLimits).curves);
  EXPECT_TRUE(ReadCurvesCsv(good + std::string(kCsvSizeLimit - good.size(), '\n'), kLimits).curves);
}

}  // namespace
}  // namespace pointtable
