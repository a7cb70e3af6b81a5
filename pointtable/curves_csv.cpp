#include "pointtable/curves_csv.h"

#include <vector>

#include "map/axis.h"
#include "map/curve_editor.h"
#include "pointtable/degrees_text.h"

namespace pointtable {

namespace {

constexpr const char* kHeader = "Point,RPM,Advance 1,Advance 2";
constexpr std::size_t kValues = 4;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct Line {
  int number = 0;  // 1-based, as an editor counts them
  std::string_view text;
};

// Lines end at CRLF, LF or a lone CR (older spreadsheets on the Mac).
std::vector<Line> Lines(std::string_view text) {
  std::vector<Line> lines;
  int number = 1;
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    lines.push_back({number++, text.substr(0, end)});
    if (end == std::string_view::npos) break;
    const std::size_t next = text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
    text.remove_prefix(next);
  }
  return lines;
}

// The values of a line; a quoted value may hold the separator, "" is a quote in it.
std::vector<std::string> Values(std::string_view line, char separator) {
  std::vector<std::string> values(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c != '"') {
        values.back() += c;
      } else if (i + 1 < line.size() && line[i + 1] == '"') {
        values.back() += '"';
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == separator) {
      values.emplace_back();
    } else {
      values.back() += c;
    }
  }
  // Spreadsheets pad rows with empty cells up to their widest row.
  while (values.size() > 1 && values.back().find_first_not_of(" \t") == std::string::npos) {
    values.pop_back();
  }
  return values;
}

bool Blank(const std::vector<std::string>& values) {
  return values.size() == 1 && values[0].find_first_not_of(" \t") == std::string::npos;
}

std::string LineText(int number) {
  return "Line " + std::to_string(number) + ": ";
}

std::string SignedDegrees(int degrees) {
  return (degrees > 0 ? "+" : "") + std::to_string(degrees);
}

// A value as a message quotes it: a long one cut short.
std::string Quoted(const std::string& value) {
  constexpr std::size_t kShown = 20;
  return "\"" + (value.size() > kShown ? value.substr(0, kShown) + "..." : value) + "\"";
}

// Reads one value of a point's line into `number`; the error otherwise.
std::string ReadNumber(const Line& line, const std::string& value, const char* what,
                       ParsedNumber& number) {
  number = ParseDegrees(value);
  if (number.kind == NumberKind::NotANumber) {
    return LineText(line.number) + "the " + what + " " + Quoted(value) + " is not a number.";
  }
  if (number.kind == NumberKind::Fraction) {
    return LineText(line.number) + "the " + what + " " + Quoted(value) +
           " is not a whole number; the controller takes whole degrees.";
  }
  return {};
}

}  // namespace

RpmAxis AxisInForce(ui::Variant variant, int device_version) {
  RpmAxis axis{};
  for (std::size_t i = 0; i < axis.size(); ++i) {
    axis[i] = map::PointRpm(variant, device_version, static_cast<int>(i) + 1);
  }
  return axis;
}

std::string CurvesCsv(const std::array<map::Curve, 2>& curves, const RpmAxis& rpm) {
  std::string text = std::string(kHeader) + "\r\n";
  for (std::size_t i = 0; i < rpm.size(); ++i) {
    text += std::to_string(i + 1) + "," + std::to_string(rpm[i]) + "," +
            map::DegreesText(curves[0][i]) + "," + map::DegreesText(curves[1][i]) + "\r\n";
  }
  return text;
}

CsvCurves ReadCurvesCsv(std::string_view text, const PointLimits& limits) {
  if (text.size() > kCsvSizeLimit) {
    return {{},
            "The file is larger than " + std::to_string(kCsvSizeLimit / 1024) +
                " KB; a CSV file of the curves holds about 600 bytes."};
  }
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());

  std::array<CurveDegrees, 2> degrees{};
  std::size_t points = 0;
  int last_line = 0;
  char separator = 0;
  for (const Line& line : Lines(text)) {
    // The first line with anything on it decides the separator.
    if (separator == 0) {
      if (line.text.find_first_not_of(" \t") == std::string_view::npos) continue;
      separator = line.text.find(';') != std::string_view::npos ? ';' : ',';
    }
    const std::vector<std::string> values = Values(line.text, separator);
    if (Blank(values)) continue;
    // A first line that does not begin with a number is the header.
    if (points == 0 && last_line == 0 && ParseDegrees(values[0]).kind == NumberKind::NotANumber) {
      last_line = line.number;
      continue;
    }
    last_line = line.number;
    if (points == protocol::kPoints) {
      return {{}, LineText(line.number) + "a 27th point; the curves have 26."};
    }
    if (values.size() != kValues) {
      return {{},
              LineText(line.number) + std::to_string(values.size()) +
                  " values where a point has 4 (point, RPM, advance 1, advance 2)" +
                  (separator == ',' ? "; a decimal comma needs the semicolon as separator." : ".")};
    }
    const int p = static_cast<int>(points) + 1;
    ParsedNumber number;
    if (std::string error = ReadNumber(line, values[0], "point", number); !error.empty()) {
      return {{}, error};
    }
    if (number.value != p) {
      return {{},
              LineText(line.number) + "point " + std::to_string(number.value) + " where point " +
                  std::to_string(p) + " belongs; the points go 1 to 26."};
    }
    if (std::string error = ReadNumber(line, values[1], "RPM", number); !error.empty()) {
      return {{}, error};
    }
    for (std::size_t c = 0; c < 2; ++c) {
      const std::string what = "advance " + std::to_string(c + 1);
      if (std::string error = ReadNumber(line, values[2 + c], what.c_str(), number);
          !error.empty()) {
        return {{}, error};
      }
      if (!limits.Holds(p, number.value)) {
        return {{},
                LineText(line.number) + what + " of point " + std::to_string(p) + " is " +
                    SignedDegrees(number.value) + " degrees, outside the controller's limits (" +
                    limits.Text() + ")."};
      }
      degrees[c][points] = number.value;
    }
    ++points;
  }
  if (points == 0) {
    return {{},
            "The file holds no points; a CSV file of the curves has a line for each of the 26."};
  }
  if (points < protocol::kPoints) {
    return {{},
            "The file ends at line " + std::to_string(last_line) + " after " +
                std::to_string(points) + (points == 1 ? " point" : " points") +
                "; the curves have 26."};
  }
  return {std::array<map::Curve, 2>{ToCurve(degrees[0]), ToCurve(degrees[1])}, {}};
}

}  // namespace pointtable
