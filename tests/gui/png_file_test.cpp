// Guards the core's PNG encoder (the Windows plot's export) against another reader:
// Qt loads its files with the pixels they were made of.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdint>
#include <vector>

#include "ui/png.h"

namespace {

TEST(PngFile, QtReadsThePixelsBack) {
  constexpr int kWidth = 257;
  constexpr int kHeight = 300;
  std::vector<std::uint32_t> pixels;
  for (std::uint32_t i = 0; i < kWidth * kHeight; ++i) pixels.push_back(i * 2654435761u & 0xFFFFFF);
  const std::string png = ui::PngFile(kWidth, kHeight, pixels);
  QImage image;
  ASSERT_TRUE(image.loadFromData(reinterpret_cast<const uchar*>(png.data()),
                                 static_cast<int>(png.size()), "PNG"));
  ASSERT_EQ(image.size(), QSize(kWidth, kHeight));
  int wrong = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      wrong += (image.pixel(x, y) & 0xFFFFFF) != pixels[static_cast<std::size_t>(y * kWidth + x)];
    }
  }
  EXPECT_EQ(wrong, 0);
}

}  // namespace
