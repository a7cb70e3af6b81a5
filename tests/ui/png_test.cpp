// Guards what the PNG encoder's readers cannot see: the CRC is the standard one, and a
// picture its pixels do not fill gives no file at all. (Qt and the system's decoders
// read its files back in the gui and win32gui tests.)
#include "ui/png.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

TEST(Png, TheCrcIsTheStandardOneAndBadSizesGiveNoFile) {
  // Every PNG file ends with these bytes: the CRC of "IEND".
  EXPECT_EQ(ui::Crc32("IEND"), 0xAE426082u);
  EXPECT_EQ(ui::Crc32("123456789"), 0xCBF43926u);
  const std::vector<std::uint32_t> four(4, 0xFFFFFF);
  EXPECT_EQ(ui::PngFile(0, 4, {}), "");
  EXPECT_EQ(ui::PngFile(2, 3, four), "");
  EXPECT_EQ(ui::PngFile(-2, -2, four), "");
  EXPECT_EQ(ui::PngFile(2, 2, four).substr(1, 3), "PNG");
}

}  // namespace
