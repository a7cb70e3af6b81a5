// Command column, status area, options panel and diagnostics of the main window.
#include "shell/layout_parts.h"

namespace shell {

using ui::Align;
using ui::BevelStyle;
using ui::ControlKind;

namespace {

// The command column: 89 x 25 buttons at x 8, 40 px apart; SDBut and Button6 are
// 81 x 25 and sit 4 px inside the 89 x 32 frames Label34 and Label35.
constexpr int kColumnLeft = 8;
constexpr int kColumnWidth = 89;
constexpr int kButtonHeight = 25;

Row ColumnButton(const char* name, int top, const char* caption) {
  return std::move(Row(name, ControlKind::Button, {kColumnLeft, top, kColumnWidth, kButtonHeight})
                       .Caption(caption));
}

Row Frame(const char* name, int top) {
  return std::move(Row(name, ControlKind::Label, {kColumnLeft, top, kColumnWidth, 32})
                       .Background(ui::kMaroon)
                       .Hidden());
}

Row FramedButton(const char* name, int frame_top, const char* caption) {
  return std::move(
      Row(name, ControlKind::Button, {kColumnLeft + 4, frame_top + 4, 81, kButtonHeight})
          .Caption(caption));
}

// Labels of the status panel all stand on black.
Row StatusLabel(const char* name, ui::Rect bounds, const char* caption, ui::Color color,
                int height) {
  return std::move(Row(name, ControlKind::Label, bounds, "pnStatus")
                       .Caption(caption)
                       .Background(ui::kBlack)
                       .FontColor(color)
                       .FontHeight(height)
                       .Bold());
}

Row StatusCaption(const char* name, ui::Rect bounds, const char* caption) {
  return std::move(StatusLabel(name, bounds, caption, ui::kRed, 13).WordWrap());
}

Row StatusValue(const char* name, ui::Rect bounds, const char* caption) {
  return std::move(StatusLabel(name, bounds, caption, ui::kYellow, 21).Align(Align::Right));
}

Row Hidden(const char* name, ui::Rect bounds, const char* caption) {
  return std::move(Row(name, ControlKind::Label, bounds).Caption(caption).Hidden());
}

}  // namespace

void AddCommandColumn(Rows& rows) {
  Add(rows, ColumnButton("OpenBut", 8, "Open"));
  Add(rows, ColumnButton("SaveBut", 48, "Save"));
  Add(rows, ColumnButton("Button2", 88, "Advance &1"));
  Add(rows, ColumnButton("VerBut", 128, "Find QZR"));
  Add(rows, ColumnButton("RDBut", 168, "&Read"));
  // Each frame is created before its button so that it lies behind it.
  Add(rows, Frame("Label34", 204));
  Add(rows, FramedButton("SDBut", 204, "&Send"));
  Add(rows, Frame("Label35", 252));
  Add(rows, FramedButton("Button6", 252, "REC  EEPR"));
  Add(rows, ColumnButton("Button5", 296, "Settings"));
  Add(rows, ColumnButton("Button4", 336, "HELP"));
}

void AddStatusArea(Rows& rows) {
  constexpr ui::Rect kStatusPlace{104, 152, 233, 169};
  Add(rows, Row("imgStatus", ControlKind::Image, kStatusPlace)
                .Picture(ui::Picture::ControllerUnit)
                .Cursor(ui::Cursor::Pointing)
                .Hint("Натисни тук за схема"));
  Add(rows, Row("pnStatus", ControlKind::Panel, kStatusPlace)
                .Background(ui::kBlack)
                .Bevel(BevelStyle::Lowered)
                .Hidden());
  Add(rows, StatusCaption("lblIn", {8, 17, 49, 40}, "Input Signal"));
  Add(rows, Row("imgInV", ControlKind::Image, {64, 16, 41, 17}, "pnStatus"));
  Add(rows, StatusLabel("lblInV", {56, 33, 57, 16}, "??", ui::kYellow, 11).Align(Align::Center));
  Add(rows, StatusCaption("lblOut", {120, 16, 57, 41}, "Output Voltage"));
  Add(rows, StatusValue("lblOutV", {176, 21, 49, 33}, "?? V"));
  Add(rows, StatusCaption("lblVr", {8, 64, 81, 41}, "MAP, MAF TPS Level"));
  Add(rows, StatusValue("lblVrV", {152, 69, 73, 33}, "?? V"));
  Add(rows, StatusCaption("lblT", {8, 104, 65, 41}, "Bypass Time"));
  Add(rows, StatusValue("lblTV", {160, 109, 65, 33}, "?? S"));
  Add(rows, StatusLabel("lblstat", {8, 136, 217, 25}, "", ui::kLime, 21).Align(Align::Center));
  Add(rows,
      Row("btnAdvSet", ControlKind::Button, {240, 328, 97, 25}).Caption("&Advanced>>").Bold());
}

void AddOptionsPanel(Rows& rows) {
  constexpr const char* kPanel = "Panel2";
  Add(rows,
      Row(kPanel, ControlKind::Panel, {336, 152, 169, 169}).Bevel(BevelStyle::Raised).Hidden());
  Add(rows, Row("btnPN", ControlKind::BitButton, {8, 8, 73, 25}, kPanel)
                .Caption("in")
                .Bold()
                .Picture(ui::Picture::PulsePositive));
  Add(rows, Row("V5But", ControlKind::Button, {88, 8, 73, 25}, kPanel).Caption(" 5 V out").Bold());
  // The bevels come before the rows they frame so that they lie behind them.
  Add(rows, Row("Bevel5", ControlKind::Bevel, {8, 40, 153, 25}, kPanel));
  Add(rows, Row("lblV", ControlKind::Label, {48, 46, 41, 16}, kPanel)
                .Caption("Vref:")
                .Bold()
                .FontHeight(13));
  Add(rows, Row("lblVref", ControlKind::Label, {96, 45, 49, 13}, kPanel)
                .Caption("1.0V")
                .Bold()
                .Align(Align::Right));
  Add(rows, Row("UpDown4", ControlKind::UpDown, {145, 41, 16, 24}, kPanel).Range(3, 15, 3));
  Add(rows,
      Row("btnSVref", ControlKind::Button, {88, 72, 73, 25}, kPanel).Caption("Set Vref").Bold());
  Add(rows, Row("Bevel6", ControlKind::Bevel, {8, 104, 153, 25}, kPanel));
  Add(rows, Row("lblTime", ControlKind::Label, {32, 109, 113, 13}, kPanel)
                .Caption("Time: 0.5 sec")
                .Bold()
                .Align(Align::Right));
  Add(rows, Row("UpDown3", ControlKind::UpDown, {144, 105, 17, 24}, kPanel).Range(1, 4, 1));
  Add(rows,
      Row("btnSetTime", ControlKind::Button, {88, 136, 73, 25}, kPanel).Caption("Set Time").Bold());
  Add(rows,
      Row("chTen", ControlKind::CheckBox, {8, 144, 57, 17}, kPanel).Caption("Enabled").Checked());
}

void AddDiagnostics(Rows& rows, ui::Variant variant) {
  // The hidden trace labels share the free strip under the gauge panel.
  Add(rows, Hidden("Label29", {520, 360, 49, 13}, ""));
  Add(rows, Hidden("Label31", {576, 360, 49, 13}, ""));
  Add(rows, Hidden("Label32", {632, 360, 49, 13}, ""));
  Add(rows, Hidden("Label22", {440, 360, 73, 13}, "Last Receive"));
  // Adv1 and Adv2 stand in the free corner under the status area, where they show
  // while the gauges are hidden.
  Add(rows, Hidden("Label7", {112, 336, 33, 13}, "Adv1"));
  Add(rows, Hidden("Label8", {112, 352, 33, 13}, "Adv2"));
  Add(rows, Row("ImgNeg", ControlKind::Image, {392, 352, 17, 17})
                .Picture(ui::Picture::PulseNegative)
                .Hidden());
  Add(rows, Row("ImgPos", ControlKind::Image, {392, 368, 17, 17})
                .Picture(ui::Picture::PulsePositive)
                .Hidden());
  // Wide enough for the byte traces of a whole reply, up to the window's right edge.
  Row trace("Label33", ControlKind::Label, {328, 376, 420, 13});
  trace.Caption("Label33");
  if (variant == ui::Variant::Palunor) trace.Hidden();
  Add(rows, trace);
  Add(rows, Row("Panel1", ControlKind::Panel, {528, 304, 41, 41}).Hidden());
  Add(rows, Row("Button1", ControlKind::Button, {8, 8, 25, 25}, "Panel1"));
}

}  // namespace shell
