#include "map/map_file.h"

#include <algorithm>

namespace map {

namespace {

constexpr std::size_t kPrefixLength = 3;  // "SD1", "SD2"
constexpr int kCharOffset = 60;           // the character of value v is v + 60

// The text of the line starting at `at` and the position where the next one starts.
std::string_view TakeLine(std::string_view text, std::size_t& at) {
  const std::size_t begin = std::min(at, text.size());
  std::size_t end = text.find_first_of("\r\n", begin);
  if (end == std::string_view::npos) end = text.size();
  at = end;
  if (at < text.size() && text[at] == '\r') ++at;
  if (at < text.size() && text[at] == '\n') ++at;
  return text.substr(begin, end - begin);
}

MapLine PointsOfLine(std::string_view line) {
  MapLine result;
  for (std::size_t i = kPrefixLength; i < line.size() && result.count < protocol::kPoints; ++i) {
    result.points[result.count++] =
        static_cast<std::uint8_t>(static_cast<unsigned char>(line[i]) - kCharOffset);
  }
  return result;
}

}  // namespace

std::string MapFileText(const std::array<Curve, 2>& curves) {
  std::string text;
  text.reserve(kMapFileSize);
  for (std::size_t c = 0; c < curves.size(); ++c) {
    text += "SD";
    text += static_cast<char>('1' + c);
    for (std::uint8_t value : curves[c]) text += static_cast<char>(value + kCharOffset);
    text += "\r\n";
  }
  return text;
}

void MapLine::ApplyTo(Curve& curve) const {
  for (std::size_t i = 0; i < count; ++i) curve[i] = points[i];
}

std::array<MapLine, 2> ReadMapFile(std::string_view text) {
  std::size_t at = 0;
  std::array<MapLine, 2> lines;
  for (MapLine& line : lines) {
    if (at >= text.size()) break;
    line = PointsOfLine(TakeLine(text, at));
  }
  return lines;
}

}  // namespace map
