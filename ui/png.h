// A picture as the bytes of a PNG file, for platforms without an encoder of their
// own: 8-bit RGB, no filtering, the image data in stored (uncompressed) deflate
// blocks. Larger than a compressed file, but correct for every reader and cheap.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace ui {

// `pixels` holds `width` * `height` pixels as 0x00RRGGBB, row by row from the top.
// Nothing (an empty string) for an empty picture or a size the pixels do not fill.
std::string PngFile(int width, int height, std::span<const std::uint32_t> pixels);

// The CRC-32 a PNG chunk ends with (ISO 3309, the polynomial 0xEDB88320 reflected).
std::uint32_t Crc32(std::string_view bytes);

}  // namespace ui
