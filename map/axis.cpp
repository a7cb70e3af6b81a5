#include "map/axis.h"

#include <algorithm>
#include <optional>
#include <string>

namespace map {

namespace {

bool LongAxis(ui::Variant variant, int device_version) {
  return variant == ui::Variant::Palunor6 && device_version / 10 == 6;
}

// One label of the speed scale: where it stands and what it reads on each axis;
// no caption means the label is hidden, no left means it stays where it is.
struct ScaleLabel {
  const char* name;
  std::optional<int> long_left;
  const char* long_caption;
  std::optional<int> short_left;
  const char* short_caption;
};

constexpr ScaleLabel kScale[] = {
    {"Label1", 8, "1500", 32, "1000"},
    {"Label2", 104, "2500", 128, "2000"},
    {"Label3", 200, "3500", 224, "3000"},
    {"Label4", 296, "4500", 320, "4000"},
    {"Label5", 368, nullptr, 368, nullptr},
    {"Label6", 416, "7000", std::nullopt, "5000"},
    {"Label19", 464, nullptr, std::nullopt, nullptr},
    {"Label20", 512, "9000", 512, "6000"},
    {"Label36", 560, "10000", 560, "7000"},
    {"Label37", 608, "11000", 608, "8000"},
};

}  // namespace

const std::array<std::uint8_t, 26> PointCodes = {39, 39, 39, 39, 39, 33, 29, 26, 23, 21, 19, 18, 16,
                                                 15, 14, 13, 13, 11, 10, 9,  8,  7,  6,  6,  6,  6};

int PointRpm(ui::Variant variant, int device_version, int p) {
  if (LongAxis(variant, device_version)) return 1250 + 250 * p + (p > 13 ? 250 * (p - 13) : 0);
  return 500 + 250 * p + (p > 22 ? 250 * (p - 22) : 0);
}

std::uint8_t PeriodOfRpm(int rpm) {
  // Speeds below 471 RPM would not fit the byte; the axis starts at 750.
  return static_cast<std::uint8_t>(std::min(120000 / rpm, 255));
}

void updatelab(ui::ControlSet& controls, int device_version) {
  const bool long_axis = LongAxis(ui::Variant::Palunor6, device_version);
  for (const ScaleLabel& label : kScale) {
    ui::Control& control = controls[label.name];
    const std::optional<int> left = long_axis ? label.long_left : label.short_left;
    const char* caption = long_axis ? label.long_caption : label.short_caption;
    if (left) control.SetLeft(*left);
    if (caption != nullptr) control.SetCaption(caption);
    control.SetVisible(caption != nullptr);
  }
}

}  // namespace map
