#include "ui/png.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace ui {

namespace {

// A stored deflate block holds at most this many bytes (its length is 16 bits).
constexpr std::size_t kStoredBlock = 65535;
constexpr std::uint32_t kAdlerModulus = 65521;

const std::array<std::uint32_t, 256>& CrcTable() {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  return table;
}

void Put32(std::string& out, std::uint32_t value) {
  out += static_cast<char>(value >> 24);
  out += static_cast<char>(value >> 16);
  out += static_cast<char>(value >> 8);
  out += static_cast<char>(value);
}

void PutChunk(std::string& out, std::string_view type, std::string_view data) {
  Put32(out, static_cast<std::uint32_t>(data.size()));
  std::string typed(type);
  typed += data;
  out += typed;
  Put32(out, Crc32(typed));
}

std::uint32_t Adler32(std::string_view bytes) {
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  // 5552 bytes is the most that can be summed before b must be reduced.
  for (std::size_t start = 0; start < bytes.size(); start += 5552) {
    const std::size_t end = std::min(bytes.size(), start + 5552);
    for (std::size_t i = start; i < end; ++i) {
      a += static_cast<unsigned char>(bytes[i]);
      b += a;
    }
    a %= kAdlerModulus;
    b %= kAdlerModulus;
  }
  return (b << 16) | a;
}

// The scanlines, each after its filter byte (0, none), as a zlib stream of stored
// blocks.
std::string StoredZlib(std::string_view raw) {
  std::string out = "\x78\x01";
  std::size_t at = 0;
  do {
    const std::size_t length = std::min(kStoredBlock, raw.size() - at);
    const bool last = at + length == raw.size();
    out += static_cast<char>(last ? 1 : 0);
    out += static_cast<char>(length & 0xFF);
    out += static_cast<char>(length >> 8);
    out += static_cast<char>(~length & 0xFF);
    out += static_cast<char>((~length >> 8) & 0xFF);
    out.append(raw.substr(at, length));
    at += length;
  } while (at < raw.size());
  Put32(out, Adler32(raw));
  return out;
}

}  // namespace

std::uint32_t Crc32(std::string_view bytes) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (const char byte : bytes)
    c = CrcTable()[(c ^ static_cast<unsigned char>(byte)) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

std::string PngFile(int width, int height, std::span<const std::uint32_t> pixels) {
  if (width <= 0 || height <= 0) return {};
  const auto w = static_cast<std::size_t>(width);
  const auto h = static_cast<std::size_t>(height);
  if (pixels.size() != w * h) return {};

  std::string raw;
  raw.reserve(h * (1 + 3 * w));
  for (std::size_t y = 0; y < h; ++y) {
    raw += '\0';
    for (const std::uint32_t pixel : pixels.subspan(y * w, w)) {
      raw += static_cast<char>(pixel >> 16);
      raw += static_cast<char>(pixel >> 8);
      raw += static_cast<char>(pixel);
    }
  }

  std::string header;
  Put32(header, static_cast<std::uint32_t>(width));
  Put32(header, static_cast<std::uint32_t>(height));
  // 8 bits a sample, colour type 2 (RGB), deflate, adaptive filtering, no interlace.
  header += std::string("\x08\x02\x00\x00\x00", 5);

  std::string out = "\x89PNG\r\n\x1A\n";
  PutChunk(out, "IHDR", header);
  PutChunk(out, "IDAT", StoredZlib(raw));
  PutChunk(out, "IEND", {});
  return out;
}

}  // namespace ui
