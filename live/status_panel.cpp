#include "live/status_panel.h"

#include <cmath>
#include <string>
#include <vector>

namespace live {

std::string BypassText(int step) {
  const int half_seconds = 5 * step;
  return std::to_string(half_seconds / 10) + "." + std::to_string(half_seconds % 10);
}

std::string VrefText(int step) {
  // Real values round halves to even, as the default rounding mode does.
  const int x = static_cast<int>(std::nearbyint(step * 5.0 / 15.0 * 100.0));
  return std::to_string(x / 100) + "." + std::to_string(x % 100);
}

namespace {

void DrawPulse(ui::Control& image, bool positive, ui::Color color) {
  ui::Canvas* canvas = image.GetCanvas();
  if (canvas == nullptr) return;
  const int w = canvas->Width();
  const int h = canvas->Height();
  canvas->brush.color = ui::kBlack;
  canvas->FillRect(0, 0, w, h);
  canvas->pen.color = color;
  canvas->pen.width = 2;
  if (positive) {
    canvas->Polyline({{w - 2, h - 2}, {w - 7, h - 2}, {w - 7, 2}, {7, 2}, {7, h - 2}, {2, h - 2}});
  } else {
    canvas->Polyline({{w - 2, 2}, {w - 7, 2}, {w - 7, h - 2}, {7, h - 2}, {7, 2}, {2, 2}});
  }
  canvas->Changed();
}

void Show(ui::Control& label, ui::Color color, const std::string& text) {
  label.SetFontColor(color);
  label.SetCaption(text);
}

}  // namespace

void SRefresh(ui::ControlSet& controls, OptionState& options, ui::Color color, unsigned item) {
  switch (item) {
    case StatusItem::OutputVoltage:
      Show(controls["lblOutV"], color, options.Output5V ? "5 V" : "12 V");
      break;
    case StatusItem::InputSignal:
      DrawPulse(controls["imgInV"], options.InputPositive, color);
      Show(controls["lblInV"], color, options.InputPositive ? "Positive" : "Negative");
      break;
    case StatusItem::StatusLine:
      Show(controls["lblstat"], color, options.StatusText);
      break;
    case StatusItem::BypassTime:
      options.StatusText =
          options.StatusText == "Time off," ? "OFF" : BypassText(options.BypassStep) + " S";
      Show(controls["lblTV"], color, options.StatusText);
      break;
    case StatusItem::ReferenceVoltage:
      options.StatusText = VrefText(options.VrefStep) + " V";
      Show(controls["lblVrV"], color, options.StatusText);
      break;
    default:
      break;
  }
}

}  // namespace live
