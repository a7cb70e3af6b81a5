// Guards the PNG encoder by reading its files back as a viewer does (CRCs, zlib
// header, block lengths, Adler-32, image data size) and comparing every pixel.
#include "ui/png.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "testing/png_reader.h"

namespace {

TEST(Png, SmallAndLargePicturesReadBackPixelForPixel) {
  // 3 x 2, and one whose image data needs several stored blocks.
  for (const auto& [w, h] : {std::pair{3, 2}, std::pair{301, 97}}) {
    std::vector<std::uint32_t> pixels;
    for (std::uint32_t i = 0; i < static_cast<std::uint32_t>(w * h); ++i) {
      pixels.push_back(i * 2654435761u & 0xFFFFFF);
    }
    std::string why;
    const auto image = ui::ReadStoredPng(ui::PngFile(w, h, pixels), why);
    ASSERT_TRUE(image) << why;
    EXPECT_EQ(image->chunks, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    EXPECT_EQ(image->width, w);
    EXPECT_EQ(image->height, h);
    EXPECT_EQ(image->pixels, pixels);
  }
}

TEST(Png, TheCrcIsTheStandardOneAndBadSizesGiveNoFile) {
  // Every PNG file ends with these bytes: the CRC of "IEND".
  EXPECT_EQ(ui::Crc32("IEND"), 0xAE426082u);
  EXPECT_EQ(ui::Crc32("123456789"), 0xCBF43926u);
  const std::vector<std::uint32_t> four(4, 0xFFFFFF);
  EXPECT_EQ(ui::PngFile(0, 4, {}), "");
  EXPECT_EQ(ui::PngFile(2, 3, four), "");
  EXPECT_EQ(ui::PngFile(-2, -2, four), "");
}

}  // namespace
