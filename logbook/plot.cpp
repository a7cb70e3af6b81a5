#include "logbook/plot.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace logbook {

namespace {

constexpr int kMargin = 4;
constexpr int kLane = 4;     // the refused frames' lane under each view
constexpr int kLaneGap = 2;  // between a view and its lane
constexpr int kMinDegrees = -25;
constexpr int kMaxDegrees = 25;
constexpr int kRpmGridStep = 1000;
constexpr int kPointRadius = 4;
// The oldest point of the trail keeps a quarter of the brightness of the newest.
constexpr int kTrailDimmest = 64;

// The part of a view values are drawn in, above its lane.
int PlotBottom(const PlotArea& a) {
  return a.y2 - kLane - kLaneGap;
}

// y of value v on a scale from lo to hi, the top pixel for hi, clamped into the view.
int ValueY(const PlotArea& a, long long v, long long lo, long long hi) {
  const long long rows = std::max(1, PlotBottom(a) - a.y1) - 1;
  v = std::clamp(v, lo, hi);
  return a.y1 + static_cast<int>(rows - (v - lo) * rows / (hi - lo));
}

long long ValueAtY(const PlotArea& a, int y, long long lo, long long hi) {
  const long long rows = std::max(1, PlotBottom(a) - a.y1) - 1;
  const long long from_top = std::clamp<long long>(y - a.y1, 0, rows);
  return rows == 0 ? lo : hi - from_top * (hi - lo) / rows;
}

int RpmX(const PlotArea& a, int rpm, int scale) {
  const long long columns = a.x2 - a.x1 - 1;
  return a.x1 + static_cast<int>(std::clamp<long long>(rpm, 0, scale) * columns / scale);
}

// The time at the left edge of column x of the strip chart.
std::uint32_t ColumnTime(const PlotArea& a, TimeSpan span, int x) {
  const std::uint64_t length = span.to_ms - span.from_ms;
  return span.from_ms + static_cast<std::uint32_t>(length * static_cast<std::uint64_t>(x - a.x1) /
                                                   static_cast<std::uint64_t>(a.x2 - a.x1));
}

std::vector<LogSample>::const_iterator FirstAt(const std::vector<LogSample>& samples,
                                               std::uint32_t time) {
  return std::lower_bound(samples.begin(), samples.end(), time,
                          [](const LogSample& s, std::uint32_t t) { return s.time_ms < t; });
}

// A trace's extent in one column, joined to where the trace left the column before.
struct Extent {
  int lo = 0;
  int hi = 0;
  bool any = false;
  void Add(int v) {
    lo = any ? std::min(lo, v) : v;
    hi = any ? std::max(hi, v) : v;
    any = true;
  }
};

void VerticalLine(ui::Canvas& canvas, int x, int y_top, int y_bottom) {
  canvas.Line(x, y_top, x, y_bottom + 1);
}

void DrawStrip(ui::Canvas& canvas, const PlotSource& source, TimeSpan span, const PlotArea& a) {
  const int scale = RpmScale(source);
  canvas.pen = {ui::kGray, 1, ui::PenStyle::Dot};
  const int zero = ValueY(a, 0, kMinDegrees, kMaxDegrees);
  canvas.Line(a.x1, zero, a.x2, zero);
  const std::vector<LogSample>& samples = source.samples;
  std::optional<LogSample> before;
  auto it = FirstAt(samples, span.from_ms);
  if (it != samples.begin()) {
    // The trace comes in from the frame before the span.
    for (auto back = it; back != samples.begin();) {
      if ((--back)->taken) {
        before = *back;
        break;
      }
    }
  }
  for (int x = a.x1; x < a.x2; ++x) {
    const std::uint32_t end = x + 1 < a.x2 ? ColumnTime(a, span, x + 1) : span.to_ms;
    Extent rpm;
    Extent advance;
    if (before) {
      rpm.Add(before->rpm);
      advance.Add(before->advance);
    }
    bool taken = false;
    bool refused = false;
    for (; it != samples.end() && it->time_ms < end; ++it) {
      if (!it->taken) {
        refused = true;
        continue;
      }
      rpm.Add(it->rpm);
      advance.Add(it->advance);
      before = *it;
      taken = true;
    }
    if (taken) {
      canvas.pen = {kRpmColor, 1, ui::PenStyle::Solid};
      VerticalLine(canvas, x, ValueY(a, rpm.hi, 0, scale), ValueY(a, rpm.lo, 0, scale));
      canvas.pen = {kAdvanceColor, 1, ui::PenStyle::Solid};
      VerticalLine(canvas, x, ValueY(a, advance.hi, kMinDegrees, kMaxDegrees),
                   ValueY(a, advance.lo, kMinDegrees, kMaxDegrees));
    }
    if (refused) {
      canvas.pen = {kRefusedColor, 1, ui::PenStyle::Solid};
      VerticalLine(canvas, x, a.y2 - kLane, a.y2 - 1);
    }
  }
}

void DrawOperating(ui::Canvas& canvas, const PlotSource& source, TimeSpan span, const PlotArea& a) {
  const int scale = RpmScale(source);
  canvas.pen = {ui::kGray, 1, ui::PenStyle::Dot};
  const int zero = ValueY(a, 0, kMinDegrees, kMaxDegrees);
  canvas.Line(a.x1, zero, a.x2, zero);
  for (int rpm = kRpmGridStep; rpm < scale; rpm += kRpmGridStep) {
    const int x = RpmX(a, rpm, scale);
    canvas.Line(x, a.y1, x, PlotBottom(a));
  }
  for (std::size_t c = 0; c < source.curves.size(); ++c) {
    if (!source.curves[c]) continue;
    std::vector<ui::Point> points;
    for (std::size_t i = 0; i < kAxisPoints; ++i) {
      points.push_back({RpmX(a, source.rpm_axis[i], scale),
                        ValueY(a, (*source.curves[c])[i], kMinDegrees, kMaxDegrees)});
    }
    canvas.pen = {kCurveColors[c], 2, ui::PenStyle::Solid};
    canvas.Polyline(points);
  }
  // The trail ends at the last frame of the span: in the first seconds of live data
  // the span reaches past now.
  const auto end = FirstAt(source.samples, span.to_ms);
  if (end == source.samples.begin()) return;
  const std::uint32_t last = std::prev(end)->time_ms;
  const std::uint32_t trail_from = last >= kTrailMs ? last + 1 - kTrailMs : 0;
  const auto first = FirstAt(source.samples, std::max(trail_from, span.from_ms));
  std::optional<ui::Point> now;
  for (auto it = first; it != end; ++it) {
    const int x = RpmX(a, it->rpm, scale);
    if (!it->taken) {
      canvas.brush = {kRefusedColor};
      canvas.FillRect(x - 1, a.y2 - kLane, x + 2, a.y2);
      continue;
    }
    const int y = ValueY(a, it->advance, kMinDegrees, kMaxDegrees);
    const std::uint32_t age = last - it->time_ms;
    const auto level = static_cast<std::uint8_t>(
        255 - static_cast<int>(age) * (255 - kTrailDimmest) / static_cast<int>(kTrailMs));
    canvas.brush = {{level, level, level}};
    canvas.FillRect(x - 1, y - 1, x + 2, y + 2);
    now = ui::Point{x, y};
  }
  if (now) {
    canvas.pen = {ui::kWhite, 1, ui::PenStyle::Solid};
    canvas.brush = {ui::kWhite};
    canvas.Ellipse(now->x - kPointRadius, now->y - kPointRadius, now->x + kPointRadius + 1,
                   now->y + kPointRadius + 1);
  }
}

std::string Seconds(std::uint32_t ms) {
  return std::to_string(ms / 1000) + "." + std::to_string(ms % 1000 / 100) + " s";
}

std::string Degrees(long long degrees) {
  return (degrees > 0 ? "+" : "") + std::to_string(degrees) + "\xC2\xB0";
}

// A curve's advance at `rpm`, along the straight lines between its points.
std::optional<long long> CurveAt(const PlotSource& source, std::size_t c, long long rpm) {
  if (!source.curves[c]) return std::nullopt;
  const auto& axis = source.rpm_axis;
  const auto& curve = *source.curves[c];
  if (rpm <= axis[0]) return curve[0];
  for (std::size_t i = 1; i < kAxisPoints; ++i) {
    if (rpm <= axis[i]) {
      const long long width = std::max(1, axis[i] - axis[i - 1]);
      return curve[i - 1] + (curve[i] - curve[i - 1]) * (rpm - axis[i - 1]) / width;
    }
  }
  return curve[kAxisPoints - 1];
}

}  // namespace

PlotLayout LayoutPlot(int width, int height) {
  const int middle = height / 2;
  return {{kMargin, kMargin, std::max(kMargin + 1, width - kMargin), middle - kMargin / 2},
          {kMargin, middle + kMargin / 2, std::max(kMargin + 1, width - kMargin),
           std::max(middle + kMargin, height - kMargin)}};
}

int RpmScale(const PlotSource& source) {
  const int last = std::max(source.rpm_axis.back(), 1);
  return (last + kRpmGridStep - 1) / kRpmGridStep * kRpmGridStep;
}

void DrawPlot(ui::Canvas& canvas, const PlotSource& source, TimeSpan span) {
  canvas.brush = {ui::kBlack};
  canvas.FillRect(0, 0, canvas.Width(), canvas.Height());
  if (span.to_ms <= span.from_ms) span.to_ms = span.from_ms + 1;
  const PlotLayout layout = LayoutPlot(canvas.Width(), canvas.Height());
  DrawStrip(canvas, source, span, layout.strip);
  DrawOperating(canvas, source, span, layout.operating);
  canvas.Changed();
}

std::string ReadingAt(const PlotSource& source, TimeSpan span, int width, int height,
                      ui::Point where) {
  if (span.to_ms <= span.from_ms) span.to_ms = span.from_ms + 1;
  const PlotLayout layout = LayoutPlot(width, height);
  if (layout.strip.Contains(where)) {
    const PlotArea& a = layout.strip;
    const std::uint32_t end = where.x + 1 < a.x2 ? ColumnTime(a, span, where.x + 1) : span.to_ms;
    const auto after = FirstAt(source.samples, end);
    if (after == source.samples.begin()) return Seconds(ColumnTime(a, span, where.x));
    const LogSample& s = *std::prev(after);
    return Seconds(s.time_ms) + ": " + std::to_string(s.rpm) + " RPM, " +
           (s.taken ? Degrees(s.advance) : "no reading");
  }
  if (!layout.operating.Contains(where)) return "";
  const PlotArea& a = layout.operating;
  const long long rpm =
      static_cast<long long>(where.x - a.x1) * RpmScale(source) / std::max(1, a.x2 - a.x1 - 1);
  std::string text =
      std::to_string(rpm) + " RPM, " + Degrees(ValueAtY(a, where.y, kMinDegrees, kMaxDegrees));
  for (std::size_t c = 0; c < source.curves.size(); ++c) {
    if (const auto advance = CurveAt(source, c, rpm)) {
      text += "; curve " + std::to_string(c + 1) + ": " + Degrees(*advance);
    }
  }
  return text;
}

}  // namespace logbook
