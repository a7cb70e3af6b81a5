// A reader of the PNG files the program writes itself (8-bit RGB, unfiltered rows,
// stored deflate blocks), checking everything a viewer checks: the signature, each
// chunk's CRC, the zlib header, each block's length and its complement, the Adler-32
// and the size of the image data. Tests read exported pictures back with it:
//   std::string why;
//   const auto image = ui::ReadStoredPng(bytes, why);   // nullopt: `why` says
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ui {

struct PngImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, row by row from the top
  std::vector<std::string> chunks;    // the chunk types in file order
};

std::optional<PngImage> ReadStoredPng(const std::string& bytes, std::string& why);

}  // namespace ui
