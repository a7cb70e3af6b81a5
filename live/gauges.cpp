#include "live/gauges.h"

#include <algorithm>
#include <string>
#include <vector>

#include "live/geometry.h"

namespace live {

namespace {

constexpr int kDialTicks = 9;      // 0 to 8000 RPM
constexpr int kAdvanceTicks = 11;  // -25 to +25 degrees
constexpr int kNeedleLines = 10;   // the wedge's fan of tails
constexpr int kOuterRadius = 84;
constexpr int kTickInnerRadius = 64;

}  // namespace

Gauges::Controls::Controls(ui::ControlSet& set)
    : Image1(set["Image1"]),
      Image2(set["Image2"]),
      Image3(set["Image3"]),
      Label28(set["Label28"]),
      Label33(set["Label33"]),
      Lb1(set["Lb1"]) {}

Gauges::Gauges(ui::Variant variant, ui::ControlSet& controls, map::CurveModel& model,
               LiveState& live, const serial::LinkState& link)
    : m_variant(variant), m_c(controls), m_model(model), m_live(live), m_link(link) {}

void Gauges::PrepareSurfaces() {
  for (ui::Control* image : {&m_c.Image2, &m_c.Image3}) {
    ui::Canvas& canvas = *image->GetCanvas();
    canvas.brush.color = ui::kButtonFace;
    canvas.FillRect(0, 0, canvas.Width(), canvas.Height());
  }
  ui::Canvas& advance = *m_c.Image2.GetCanvas();
  DrawFace(advance);
  advance.Changed();
  m_c.Image3.GetCanvas()->Changed();

  ui::Canvas& chart = *m_c.Image1.GetCanvas();
  chart.brush.color = ui::kBlack;
  chart.FillRect(0, 0, chart.Width(), chart.Height());
  chart.pen.color = ui::kGray;
  chart.pen.style = ui::PenStyle::Dot;
  chart.Changed();
}

// The face covers the previous needle or sector; its outline keeps the pen's width.
void Gauges::DrawFace(ui::Canvas& canvas) {
  canvas.pen.color = ui::kBlue;
  canvas.brush.color = ui::kBlack;
  canvas.Ellipse(0, 0, canvas.Width(), canvas.Height());
}

void Gauges::DrawHubRings(ui::Canvas& canvas, ui::Point centre, int from, int to) {
  for (int radius = from; radius <= to; ++radius) {
    std::vector<ui::Point> ring;
    for (int m = 0; m <= 12; ++m) ring.push_back(RingCorner(centre, radius, m));
    canvas.Polyline(ring);
  }
}

void Gauges::RPM() {
  const std::uint8_t period = m_model.RpmPeriod;
  const bool reading = period != 0 && period != 255;
  if (m_variant == ui::Variant::Palunor6) {
    if (reading) m_live.NeedleAngle = RoundedNeedleAngle(period);
    m_c.Label33.SetCaption(std::to_string(m_live.NeedleAngle));
    m_live.NeedleAngle = std::min(m_live.NeedleAngle, kNeedleStop);
  } else if (reading) {
    m_live.NeedleAngle = TruncatedNeedleAngle(period);
  }

  ui::Canvas& canvas = *m_c.Image3.GetCanvas();
  const ui::Point centre = GaugeCentre(canvas.Width(), canvas.Height());
  DrawFace(canvas);

  canvas.pen.color = ui::kBlue;
  canvas.pen.width = 2;
  for (int k = 0; k < kDialTicks; ++k) {
    const ui::Point outer = PolarPoint(centre, 135 + 30 * k, kOuterRadius);
    const ui::Point inner = PolarPoint(centre, 135 + 30 * k, kTickInnerRadius);
    canvas.Line(outer.x, outer.y, inner.x, inner.y);
  }

  canvas.pen.color = ui::kRed;
  if (m_variant == ui::Variant::Palunor6) {
    canvas.brush.color = ui::kRed;
    canvas.Ellipse(centre.x - 6, centre.y - 6, centre.x + 6, centre.y + 6);
  } else {
    DrawHubRings(canvas, centre, 2, 6);
  }

  canvas.pen.width = 2;
  const ui::Point tip = PolarPoint(centre, m_live.NeedleAngle + 135, 80);
  for (int j = 1; j <= kNeedleLines; ++j) {
    const ui::Point tail = PolarPoint(centre, m_live.NeedleAngle + 310 + j, 18);
    canvas.Line(tip.x, tip.y, tail.x, tail.y);
  }

  if (m_variant == ui::Variant::Palunor) {
    canvas.pen.color = ui::kBlue;
    canvas.pen.width = 1;
    DrawHubRings(canvas, centre, 1, 2);
  }
  canvas.Changed();
}

void Gauges::Adv() {
  const int advance = m_model.GaugeAdvance;
  ui::Canvas& canvas = *m_c.Image2.GetCanvas();
  const ui::Point centre = GaugeCentre(canvas.Width(), canvas.Height());
  canvas.pen.width = 1;
  DrawFace(canvas);

  for (int k = 0; k < kAdvanceTicks; ++k) {
    const ui::Point outer = PolarPoint(centre, 5 * k - 115, kOuterRadius);
    const ui::Point inner = PolarPoint(centre, 5 * k - 115, kTickInnerRadius);
    canvas.Line(outer.x, outer.y, inner.x, inner.y);
  }

  // One degree of advance is one degree of arc from the 0 mark straight up.
  canvas.pen.width = 2;
  canvas.pen.color = advance >= 25 ? ui::kAqua : ui::kRed;
  for (int b = std::min(advance, 25); b <= std::max(advance, 25); ++b) {
    const ui::Point rim = PolarPoint(centre, b - 115, kOuterRadius);
    canvas.Line(rim.x, rim.y, centre.x, centre.y);
  }
  canvas.Changed();
  m_c.Label28.SetCaption(std::to_string(advance - 25));
}

void Gauges::DrawTrace() {
  ui::Canvas& canvas = *m_c.Image1.GetCanvas();
  const bool plx = m_variant == ui::Variant::Palunor6 && m_link.DeviceModel == "PLX";
  const int count = plx ? std::clamp(m_model.SelectedPoint, 1, 26) : 26;

  canvas.brush.color = ui::kBlack;
  canvas.FillRect(0, 0, canvas.Width(), canvas.Height());

  // The pen keeps the dotted style it got at window creation.
  canvas.pen.color = ui::kSilver;
  canvas.pen.width = 1;
  for (int k = 0; k < 5; ++k) canvas.Line(5, 18 + 25 * k, 640, 18 + 25 * k);
  for (int k = 0; k < 14; ++k) canvas.Line(43 + 48 * k, 5, 43 + 48 * k, 130);

  const int x0 = m_c.Lb1.Left() + 3 - m_c.Image1.Left();
  const auto polyline = [&](const map::Curve& curve, int from, int to) {
    std::vector<ui::Point> points;
    for (int i = from; i < to; ++i) {
      points.push_back(TracePoint(x0, i, curve[static_cast<std::size_t>(i)]));
    }
    canvas.Polyline(points);
  };

  const int curve = m_model.CurrentCurve;
  canvas.pen.width = 3;
  canvas.pen.color = curve == 1 ? ui::kMaroon : ui::kBlue;
  polyline(m_model.Device(curve), 0, count);
  if (ControllerCopyShown && ControllerCopyShown()) {
    // All 26 points, thin, so it shows beside a PLX trace and inside the wide line.
    canvas.pen.color = ui::kGray;
    canvas.pen.width = 1;
    polyline(m_model.Device(curve), 0, 26);
    canvas.pen.width = 3;
  }
  canvas.pen.color = curve == 1 ? ui::kRed : ui::kAqua;
  polyline(m_model.Working(curve), 0, count);
  if (plx) {
    canvas.pen.color = ui::kRed;
    polyline(m_model.Working(curve), count - 1, 26);
  }
  canvas.Changed();
}

}  // namespace live
