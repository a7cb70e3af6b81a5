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

void Paint(ui::Control& label, ui::Color color, const std::string& text) {
  label.SetFontColor(color);
  label.SetCaption(text);
}

}  // namespace

StatusPanel::StatusPanel(ui::ControlSet& controls, OptionState& options)
    : m_c{controls["lblOutV"], controls["imgInV"], controls["lblInV"],
          controls["lblstat"], controls["lblTV"],  controls["lblVrV"]},
      m_options(options) {}

void StatusPanel::SRefresh(ui::Color color, unsigned item) {
  OptionState& options = m_options;
  switch (item) {
    case StatusItem::OutputVoltage:
      Paint(m_c.lblOutV, color, options.Output5V ? "5 V" : "12 V");
      break;
    case StatusItem::InputSignal:
      DrawPulse(m_c.imgInV, options.InputPositive, color);
      Paint(m_c.lblInV, color, options.InputPositive ? "Positive" : "Negative");
      break;
    case StatusItem::StatusLine:
      Paint(m_c.lblstat, color, options.StatusText);
      break;
    case StatusItem::BypassTime:
      options.StatusText =
          options.StatusText == "Time off," ? "OFF" : BypassText(options.BypassStep) + " S";
      Paint(m_c.lblTV, color, options.StatusText);
      break;
    case StatusItem::ReferenceVoltage:
      options.StatusText = VrefText(options.VrefStep) + " V";
      Paint(m_c.lblVrV, color, options.StatusText);
      break;
    default:
      break;
  }
}

void StatusPanel::Show(const std::string& text, ui::Color color) {
  m_options.StatusText = text;
  SRefresh(color, StatusItem::StatusLine);
}

}  // namespace live
