// The gauge panel Panel3: the advance sector gauge (Image2) and the RPM dial (Image3)
// with their scale figures, titles and LCD read-outs, the point arrows and Button3.
#include "shell/layout_parts.h"

namespace shell {

using ui::ControlKind;

namespace {

constexpr const char* kPanel = "Panel3";

// Scale figures: 11 px aqua on the dial, sized to their text.
Row Figure(const char* name, int left, int top, const char* caption, int width = 8) {
  return std::move(Row(name, ControlKind::Label, {left, top, width, 13}, kPanel)
                       .Caption(caption)
                       .FontColor(ui::kAqua)
                       .Transparent());
}

Row Title(const char* name, int left, int top, const char* caption, int width) {
  return std::move(Row(name, ControlKind::Label, {left, top, width, 23}, kPanel)
                       .Caption(caption)
                       .FontColor(ui::kBlue)
                       .FontHeight(19)
                       .Bold()
                       .Italic()
                       .Transparent());
}

Row Lcd(const char* name, ui::Rect bounds, const char* caption) {
  return std::move(Row(name, ControlKind::Label, bounds, kPanel)
                       .Caption(caption)
                       .FontFamily("LcdD")
                       .FontHeight(24)
                       .Bold()
                       .FontColor(ui::kRed)
                       .Align(ui::Align::Right)
                       .Transparent());
}

Row Arrow(const char* name, int left, ui::Picture picture) {
  return std::move(
      Row(name, ControlKind::SpeedButton, {left, 176, 41, 23}, kPanel).Picture(picture));
}

}  // namespace

// Which label carries which figure: Label9 .. Label17 are the nine dial figures with
// Label9 the "0" and Label10 the "8" (a click on it toggles the gauges), so Label11 ..
// Label17 are "1" .. "7"; then Label18 "RPM", Label21 "Advance", Label23 "-25",
// Label24 "0", Label25 "+25", Label26 "Degree", Label27 "X 1000" (the other toggle),
// Label28 and Label30 the read-outs.
void AddGauges(Rows& rows) {
  Add(rows, Row(kPanel, ControlKind::Panel, {340, 152, 413, 201}).Bevel(ui::BevelStyle::Lowered));
  Add(rows, Row("Image2", ControlKind::Image, {2, 2, 169, 173}, kPanel));
  Add(rows, Row("Image3", ControlKind::Image, {242, 2, 169, 173}, kPanel));
  Add(rows, Figure("Label9", 284, 128, "0"));
  Add(rows, Figure("Label10", 376, 104, "8"));
  Add(rows, Figure("Label11", 266, 104, "1"));
  Add(rows, Figure("Label12", 264, 72, "2"));
  Add(rows, Figure("Label13", 280, 48, "3"));
  Add(rows, Figure("Label14", 304, 32, "4"));
  Add(rows, Figure("Label15", 336, 32, "5"));
  Add(rows, Figure("Label16", 360, 48, "6"));
  Add(rows, Figure("Label17", 376, 72, "7"));
  Add(rows, Title("Label18", 304, 136, "RPM", 40));
  Add(rows, Title("Label21", 48, 128, "Advance", 80));
  Add(rows, Figure("Label23", 32, 40, "-25", 18));
  Add(rows, Figure("Label24", 80, 32, "0"));
  Add(rows, Figure("Label25", 120, 40, "+25", 20));
  Add(rows, Title("Label26", 48, 144, "Degree", 68));
  Add(rows, Figure("Label27", 304, 56, "X 1000", 36));
  Add(rows, Lcd("Label28", {72, 104, 41, 29}, "00"));
  Add(rows, Lcd("Label30", {318, 112, 37, 29}, "750"));
  Add(rows, Arrow("SpeedButton1", 88, ui::Picture::ArrowUp));
  Add(rows, Arrow("SpeedButton2", 48, ui::Picture::ArrowDown));
  Add(rows, Arrow("SpeedButton3", 279, ui::Picture::ArrowLeft));
  Add(rows, Arrow("SpeedButton4", 320, ui::Picture::ArrowRight));
  Add(rows,
      Row("Button3", ControlKind::Button, {160, 8, 89, 25}, kPanel).Caption("Live Data").Bold());
}

}  // namespace shell
