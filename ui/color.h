// Colours as the window and its canvases use them: plain RGB triples with the named
// colours of the design.
#pragma once

#include <cstdint>

namespace ui {

struct Color {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend constexpr bool operator==(Color, Color) = default;
};

constexpr Color kBlack{0, 0, 0};
constexpr Color kWhite{255, 255, 255};
constexpr Color kBlue{0, 0, 255};
constexpr Color kRed{255, 0, 0};
constexpr Color kAqua{0, 255, 255};
constexpr Color kMaroon{128, 0, 0};
constexpr Color kSilver{192, 192, 192};
constexpr Color kGray{128, 128, 128};
constexpr Color kYellow{255, 255, 0};
constexpr Color kGreen{0, 128, 0};
constexpr Color kLime{0, 255, 0};
// The system's button-face colour on the platform the design was drawn on.
constexpr Color kButtonFace{240, 240, 240};

}  // namespace ui
