#include "testing/png_reader.h"

namespace ui {

namespace {

std::uint32_t Byte(const std::string& s, std::size_t at) {
  return static_cast<unsigned char>(s[at]);
}

std::uint32_t Get32(const std::string& s, std::size_t at) {
  return Byte(s, at) << 24 | Byte(s, at + 1) << 16 | Byte(s, at + 2) << 8 | Byte(s, at + 3);
}

// Bit by bit, as the standard defines it, apart from the table the encoder uses.
std::uint32_t BitwiseCrc(const std::string& bytes) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (const char byte : bytes) {
    c ^= static_cast<unsigned char>(byte);
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
  }
  return c ^ 0xFFFFFFFFu;
}

std::optional<std::string> Inflate(const std::string& z, std::string& why) {
  if (z.size() < 6 || (Byte(z, 0) & 0x0F) != 8 || (Byte(z, 0) * 256 + Byte(z, 1)) % 31 != 0) {
    why = "no zlib header";
    return std::nullopt;
  }
  std::string raw;
  std::size_t at = 2;
  for (bool last = false; !last;) {
    if (at + 5 > z.size() || (Byte(z, at) & 6) != 0) {
      why = "not a stored block at " + std::to_string(at);
      return std::nullopt;
    }
    last = (Byte(z, at) & 1) != 0;
    const std::uint32_t length = Byte(z, at + 1) | Byte(z, at + 2) << 8;
    const std::uint32_t complement = Byte(z, at + 3) | Byte(z, at + 4) << 8;
    if ((length ^ complement) != 0xFFFF || at + 5 + length > z.size()) {
      why = "bad block length at " + std::to_string(at);
      return std::nullopt;
    }
    raw += z.substr(at + 5, length);
    at += 5 + length;
  }
  std::uint32_t a = 1, b = 0;
  for (const char c : raw) {
    a = (a + static_cast<unsigned char>(c)) % 65521;
    b = (b + a) % 65521;
  }
  if (at + 4 != z.size() || Get32(z, at) != (b << 16 | a)) {
    why = "bad Adler-32";
    return std::nullopt;
  }
  return raw;
}

}  // namespace

std::optional<PngImage> ReadStoredPng(const std::string& bytes, std::string& why) {
  if (bytes.substr(0, 8) != std::string("\x89PNG\r\n\x1A\n")) {
    why = "no PNG signature";
    return std::nullopt;
  }
  PngImage image;
  std::string header, data;
  for (std::size_t at = 8; at < bytes.size();) {
    const std::uint32_t length = at + 12 <= bytes.size() ? Get32(bytes, at) : 0;
    if (at + 12 > bytes.size() || at + 12 + length > bytes.size()) {
      why = "a chunk runs past the end";
      return std::nullopt;
    }
    const std::string typed = bytes.substr(at + 4, 4 + length);
    image.chunks.push_back(typed.substr(0, 4));
    if (Get32(bytes, at + 8 + length) != BitwiseCrc(typed)) {
      why = "bad CRC in " + image.chunks.back();
      return std::nullopt;
    }
    if (image.chunks.back() == "IHDR") header = typed.substr(4);
    if (image.chunks.back() == "IDAT") data += typed.substr(4);
    at += 12 + length;
  }
  if (header.size() != 13 || header.substr(8) != std::string("\x08\x02\x00\x00\x00", 5)) {
    why = "not an 8-bit RGB header";
    return std::nullopt;
  }
  image.width = static_cast<int>(Get32(header, 0));
  image.height = static_cast<int>(Get32(header, 4));
  const std::optional<std::string> raw = Inflate(data, why);
  if (!raw) return std::nullopt;
  const std::size_t stride = 1 + 3 * static_cast<std::size_t>(image.width);
  if (raw->size() != stride * static_cast<std::size_t>(image.height)) {
    why = "image data of the wrong size";
    return std::nullopt;
  }
  for (std::size_t row = 0; row < raw->size(); row += stride) {
    if ((*raw)[row] != 0) {
      why = "a filtered row";
      return std::nullopt;
    }
    for (std::size_t p = row + 1; p < row + stride; p += 3) {
      image.pixels.push_back(Byte(*raw, p) << 16 | Byte(*raw, p + 1) << 8 | Byte(*raw, p + 2));
    }
  }
  return image;
}

}  // namespace ui
