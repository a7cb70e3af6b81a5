// The curve strip Panel4: the chart, the 26 point markers, the selection marker with
// its RPM and degrees, and the RPM axis under the chart.
#include <string>

#include "shell/layout_parts.h"

namespace shell {

using ui::ControlKind;

namespace {

constexpr const char* kPanel = "Panel4";
constexpr int kPoints = 26;
constexpr int kFlatValue = 25;  // both curves start flat at 0 degrees
constexpr int kAxisTop = 128;

int MarkerLeft(int point) {
  return 16 + 24 * (point - 1);
}
int MarkerTop(int value) {
  return 111 - 2 * value;
}

Row Yellow(const char* name, ui::Rect bounds, const char* caption, int height) {
  return std::move(Row(name, ControlKind::Label, bounds, kPanel)
                       .Caption(caption)
                       .FontColor(ui::kYellow)
                       .FontHeight(height)
                       .Bold()
                       .Transparent());
}

Row Red(const char* name, ui::Rect bounds, const char* caption) {
  return std::move(Row(name, ControlKind::Label, bounds, kPanel)
                       .Caption(caption)
                       .FontColor(ui::kRed)
                       .Bold()
                       .Transparent());
}

// Axis labels are white on the black strip, wide enough for "10000".
Row Axis(const char* name, int left, const char* caption) {
  return std::move(Row(name, ControlKind::Label, {left, kAxisTop, 32, 13}, kPanel)
                       .Caption(caption)
                       .FontColor(ui::kWhite)
                       .Transparent());
}

// Palunor6 starts on the 11000 RPM axis; each label stands 8 px left of the marker of
// the point it names. Label5 and Label19 are hidden there but keep the speed of their
// place as caption.
void AddAxis11000(Rows& rows) {
  Add(rows, Axis("Label1", 8, "1500"));
  Add(rows, Axis("Label2", 104, "2500"));
  Add(rows, Axis("Label3", 200, "3500"));
  Add(rows, Axis("Label4", 296, "4500"));
  Add(rows, Axis("Label5", 368, "6000").Hidden());
  Add(rows, Axis("Label6", 416, "7000"));
  Add(rows, Axis("Label19", 464, "8000").Hidden());
  Add(rows, Axis("Label20", 512, "9000"));
  Add(rows, Axis("Label36", 560, "10000"));
  Add(rows, Axis("Label37", 608, "11000"));
}

// Palunor's fixed 8000 RPM axis.
void AddAxis8000(Rows& rows) {
  Add(rows, Axis("Label1", 416, "5000"));
  Add(rows, Axis("Label2", 512, "6000"));
  Add(rows, Axis("Label3", 224, "3000"));
  Add(rows, Axis("Label4", 320, "4000"));
  Add(rows, Axis("Label5", 32, "1000"));
  Add(rows, Axis("Label6", 128, "2000"));
  Add(rows, Axis("Label19", 560, "7000"));
  Add(rows, Axis("Label20", 608, "8000"));
}

}  // namespace

void AddChart(Rows& rows, ui::Variant variant) {
  const bool newer = variant == ui::Variant::Palunor6;
  Add(rows, Row(kPanel, ControlKind::Panel, {104, 0, 649, 145})
                .Background(ui::kBlack)
                .Bevel(ui::BevelStyle::Lowered));
  Add(rows, Row("Image1", ControlKind::Image, {1, 1, 647, 128}, kPanel).Cursor(ui::Cursor::Arrow));
  // The selection marker stands 4 px left of and 9 px above point 1's marker. It and
  // its readouts lie under the point markers, so a press on a marker reaches the marker.
  const int selection_left = MarkerLeft(1) - 4;
  const int selection_top = MarkerTop(kFlatValue) - 9;
  Add(rows, Yellow("Lb30", {selection_left, selection_top, 16, 29}, "o", 24));
  if (newer) {
    Add(rows, Red("Lb31", {selection_left - 6, selection_top - 3, 36, 13}, "1500"));
    Add(rows, Red("Lb32", {selection_left, selection_top + 24, 20, 13}, "0"));
  }
  for (int p = 1; p <= kPoints; ++p) {
    const std::string name = "Lb" + std::to_string(p);
    // The first marker is taller than the others.
    const int height = p == 1 ? 20 : 16;
    Add(rows, Yellow(name.c_str(), {MarkerLeft(p), MarkerTop(kFlatValue), 16, height}, "o", 11)
                  .Cursor(ui::Cursor::Hand));
  }
  if (newer) {
    AddAxis11000(rows);
  } else {
    AddAxis8000(rows);
  }
}

}  // namespace shell
