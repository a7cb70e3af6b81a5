// Guards the RPM axis: the speed of every point on both axes, which firmware picks
// which axis, the speed scale labels, and the PLX point codes.
#include "map/axis.h"

#include <gtest/gtest.h>

#include "map/test_controls.h"

namespace {

using ui::Variant;

struct AxisRow {
  int point;
  int long_axis;
  int short_axis;
};

constexpr AxisRow kAxisTable[] = {{1, 1500, 750},   {2, 1750, 1000},   {5, 2500, 1750},
                                  {13, 4500, 3750}, {14, 5000, 4000},  {16, 6000, 4500},
                                  {18, 7000, 5000}, {20, 8000, 5500},  {22, 9000, 6000},
                                  {23, 9500, 6500}, {24, 10000, 7000}, {26, 11000, 8000}};

TEST(PointRpm, FirmwareSixLaysTheAxisOutTo11000) {
  for (const AxisRow& row : kAxisTable) {
    EXPECT_EQ(map::PointRpm(Variant::Palunor6, 60, row.point), row.long_axis) << row.point;
    EXPECT_EQ(map::PointRpm(Variant::Palunor6, 69, row.point), row.long_axis) << row.point;
  }
}

TEST(PointRpm, OtherFirmwareLaysTheAxisOutTo8000) {
  for (const AxisRow& row : kAxisTable) {
    EXPECT_EQ(map::PointRpm(Variant::Palunor6, 59, row.point), row.short_axis) << row.point;
    EXPECT_EQ(map::PointRpm(Variant::Palunor6, 70, row.point), row.short_axis) << row.point;
    EXPECT_EQ(map::PointRpm(Variant::Palunor6, 5, row.point), row.short_axis) << row.point;
  }
}

TEST(PointRpm, PalunorAlwaysUsesThe8000Axis) {
  for (const AxisRow& row : kAxisTable) {
    EXPECT_EQ(map::PointRpm(Variant::Palunor, 60, row.point), row.short_axis) << row.point;
  }
}

TEST(PointRpm, StepsAreEvenWithinEachStretch) {
  for (int p = 2; p <= 26; ++p) {
    const int step_long =
        map::PointRpm(Variant::Palunor6, 60, p) - map::PointRpm(Variant::Palunor6, 60, p - 1);
    const int step_short =
        map::PointRpm(Variant::Palunor6, 50, p) - map::PointRpm(Variant::Palunor6, 50, p - 1);
    EXPECT_EQ(step_long, p <= 13 ? 250 : 500) << p;
    EXPECT_EQ(step_short, p <= 22 ? 250 : 500) << p;
  }
}

TEST(PeriodOfRpm, TruncatesTheDivision) {
  EXPECT_EQ(map::PeriodOfRpm(1500), 80);
  EXPECT_EQ(map::PeriodOfRpm(1750), 68);
  EXPECT_EQ(map::PeriodOfRpm(750), 160);
  EXPECT_EQ(map::PeriodOfRpm(11000), 10);
}

TEST(PointCodes, FallFromThirtyNineToSix) {
  const std::array<std::uint8_t, 26> expected = {39, 39, 39, 39, 39, 33, 29, 26, 23, 21, 19, 18, 16,
                                                 15, 14, 13, 13, 11, 10, 9,  8,  7,  6,  6,  6,  6};
  EXPECT_EQ(map::PointCodes, expected);
}

struct ScaleRow {
  const char* name;
  int left;
  const char* caption;  // null: hidden
};

void ExpectScale(const ui::ControlSet& controls, std::initializer_list<ScaleRow> rows) {
  for (const ScaleRow& row : rows) {
    const ui::Control& label = controls[row.name];
    EXPECT_EQ(label.Left(), row.left) << row.name;
    EXPECT_EQ(label.Visible(), row.caption != nullptr) << row.name;
    if (row.caption != nullptr) {
      EXPECT_EQ(label.Caption(), row.caption) << row.name;
    }
  }
}

TEST(Updatelab, FirmwareSixLabelsThe11000Axis) {
  model_test::EditorWindow window(Variant::Palunor6);
  map::updatelab(window.controls, 60);
  ExpectScale(window.controls, {{"Label1", 8, "1500"},
                                {"Label2", 104, "2500"},
                                {"Label3", 200, "3500"},
                                {"Label4", 296, "4500"},
                                {"Label5", 368, nullptr},
                                {"Label6", 416, "7000"},
                                {"Label19", 464, nullptr},
                                {"Label20", 512, "9000"},
                                {"Label36", 560, "10000"},
                                {"Label37", 608, "11000"}});
}

TEST(Updatelab, OlderFirmwareLabelsThe8000AxisAndLeavesLabel6AndLabel19InPlace) {
  model_test::EditorWindow window(Variant::Palunor6);
  map::updatelab(window.controls, 60);
  window.controls["Label6"].SetLeft(400);
  map::updatelab(window.controls, 52);
  ExpectScale(window.controls, {{"Label1", 32, "1000"},
                                {"Label2", 128, "2000"},
                                {"Label3", 224, "3000"},
                                {"Label4", 320, "4000"},
                                {"Label5", 368, nullptr},
                                {"Label6", 400, "5000"},
                                {"Label19", 464, nullptr},
                                {"Label20", 512, "6000"},
                                {"Label36", 560, "7000"},
                                {"Label37", 608, "8000"}});
}

TEST(Updatelab, ASecondVersionSixReplyRestoresThe11000Labels) {
  model_test::EditorWindow window(Variant::Palunor6);
  map::updatelab(window.controls, 52);
  map::updatelab(window.controls, 61);
  ExpectScale(window.controls, {{"Label1", 8, "1500"}, {"Label37", 608, "11000"}});
}

}  // namespace
