// Guards the core's PNG encoder (the Windows plot's export) against another reader:
// Qt loads its files, checking every CRC and the Adler-32, with the pixels they were
// made of; one pixel, image data of exactly one full stored block, and of several.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdint>
#include <utility>
#include <vector>

#include "ui/png.h"

namespace {

TEST(PngFile, QtReadsThePixelsBack) {
  for (const auto& [width, height] : {std::pair{1, 1}, std::pair{28, 771}, std::pair{257, 300}}) {
    std::vector<std::uint32_t> pixels;
    for (std::uint32_t i = 0; i < static_cast<std::uint32_t>(width * height); ++i) {
      pixels.push_back(i * 2654435761u & 0xFFFFFF);
    }
    const std::string png = ui::PngFile(width, height, pixels);
    QImage image;
    ASSERT_TRUE(image.loadFromData(reinterpret_cast<const uchar*>(png.data()),
                                   static_cast<int>(png.size()), "PNG"));
    ASSERT_EQ(image.size(), QSize(width, height));
    int wrong = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        wrong += (image.pixel(x, y) & 0xFFFFFF) != pixels[static_cast<std::size_t>(y * width + x)];
      }
    }
    EXPECT_EQ(wrong, 0) << width << " x " << height;
  }
}

}  // namespace
