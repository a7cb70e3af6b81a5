// Guards the map file format: the 62 bytes written for both curves, and what each
// line of a file read back gives its curve, however the file is made.
#include "map/map_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Curves = std::array<map::Curve, 2>;

Curves Flat() {
  Curves curves;
  for (map::Curve& curve : curves) curve.fill(25);
  return curves;
}

Curves Read(std::string_view text, Curves curves = Flat()) {
  const auto lines = map::ReadMapFile(text);
  lines[0].ApplyTo(curves[0]);
  lines[1].ApplyTo(curves[1]);
  return curves;
}

TEST(MapFile, TheStartCurvesAreTwoLinesOfTwentySixLettersU) {
  const std::string text = map::MapFileText(Flat());
  EXPECT_EQ(text.size(), map::kMapFileSize);
  EXPECT_EQ(text, "SD1" + std::string(26, 'U') + "\r\nSD2" + std::string(26, 'U') + "\r\n");
}

TEST(MapFile, EachPointIsItsValuePlusSixty) {
  Curves curves = Flat();
  curves[0][0] = 0;
  curves[0][25] = 50;
  curves[1][12] = 24;
  curves[1][13] = 200;  // from a controller, outside the editor's limits
  const std::string text = map::MapFileText(curves);
  EXPECT_EQ(text[3], '<');
  EXPECT_EQ(text[28], 'n');
  EXPECT_EQ(text.substr(29, 5), "\r\nSD2");
  EXPECT_EQ(text[34 + 12], 'T');
  EXPECT_EQ(static_cast<unsigned char>(text[34 + 13]), 4);  // 260 in 8 bits
}

TEST(MapFile, BothCurvesComeBackExactlyWhateverTheirValues) {
  Curves curves;
  for (std::size_t i = 0; i < 26; ++i) {
    curves[0][i] = static_cast<std::uint8_t>(i * 2);
    curves[1][i] = static_cast<std::uint8_t>(255 - i * 9);
  }
  EXPECT_EQ(Read(map::MapFileText(curves)), curves);
}

TEST(MapFile, TheFirstThreeCharactersOfALineAreSkippedWhateverTheyAre) {
  const std::string line1 = "XYZ" + std::string(26, 'Z');
  const std::string line2 = "!#$" + std::string(26, 'F');
  const Curves curves = Read(line1 + "\r\n" + line2 + "\r\n");
  EXPECT_EQ(curves[0][0], 30);
  EXPECT_EQ(curves[0][25], 30);
  EXPECT_EQ(curves[1][0], 10);
}

TEST(MapFile, CharactersOutsideTheScaleAreTakenAsTheyCome) {
  std::string text = map::MapFileText(Flat());
  text[3] = '!';                      // 33 - 60 in 8 bits
  text[4] = static_cast<char>(0xFF);  // 255 - 60
  text[5] = '~';                      // 126 - 60: past +25 degrees
  const Curves curves = Read(text);
  EXPECT_EQ(curves[0][0], 229);
  EXPECT_EQ(curves[0][1], 195);
  EXPECT_EQ(curves[0][2], 66);
}

TEST(MapFile, CharactersPastTheTwentyNinthAreIgnored) {
  const std::string text =
      "SD1" + std::string(26, 'P') + "tail of a long line\r\nSD2" + std::string(26, 'Q') + "\r\n";
  const Curves curves = Read(text);
  EXPECT_EQ(curves[0][25], 20);
  EXPECT_EQ(curves[1][0], 21);
}

// A short line gives only the points it holds; the rest keep the values they had,
// never the characters of the line before.
TEST(MapFile, AShortLineLeavesThePointsItLacksAsTheyWere) {
  Curves before = Flat();
  before[1].fill(40);
  const std::string text = "SD1" + std::string(26, 'P') + "\r\nSD2QQQQ\r\n";
  const Curves curves = Read(text, before);
  EXPECT_EQ(curves[1][0], 21);
  EXPECT_EQ(curves[1][3], 21);
  EXPECT_EQ(curves[1][4], 40);
  EXPECT_EQ(curves[1][25], 40);
  EXPECT_EQ(curves[0][25], 20);
}

TEST(MapFile, AMissingSecondLineLeavesTheSecondCurveAsItWas) {
  Curves before = Flat();
  before[1].fill(7);
  for (const std::string& text :
       {"SD1" + std::string(26, 'P'), "SD1" + std::string(26, 'P') + "\r\n"}) {
    const Curves curves = Read(text, before);
    EXPECT_EQ(curves[0][0], 20);
    EXPECT_EQ(curves[1], before[1]);
  }
  EXPECT_EQ(Read("", before), before);
}

TEST(MapFile, LinesEndedByALineFeedAloneReadTheSame) {
  const std::string text = "SD1" + std::string(26, 'P') + "\nSD2" + std::string(26, 'Q') + "\n";
  const Curves curves = Read(text);
  EXPECT_EQ(curves[0][0], 20);
  EXPECT_EQ(curves[1][25], 21);
}

}  // namespace
