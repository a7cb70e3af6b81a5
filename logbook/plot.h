// The plot of live data, drawn on a canvas as the gauges are: above, a strip chart
// of RPM and advance over a span of time; below, the operating point, both curves as
// advance against RPM on the axis in force with the engine's point on them and a
// fading trail of the last seconds. Frames the gauges refused are marked apart, in a
// lane of their own under each view. The strip chart is drawn per pixel column, so
// an hour of frames costs what a second does.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "logbook/log_reader.h"
#include "ui/canvas.h"
#include "ui/color.h"
#include "ui/geometry.h"

namespace logbook {

// What a plot shows: samples in time order, and the curves (degrees) on their axis.
struct PlotSource {
  const std::vector<LogSample>& samples;
  std::array<std::optional<std::array<int, kAxisPoints>>, 2> curves;
  std::array<int, kAxisPoints> rpm_axis{};
};

// The time shown: from `from_ms` up to, not including, `to_ms`.
struct TimeSpan {
  std::uint32_t from_ms = 0;
  std::uint32_t to_ms = 1;
};

// The two views of a canvas of that size: x1, y1 included, x2, y2 excluded.
struct PlotArea {
  int x1 = 0;
  int y1 = 0;
  int x2 = 0;
  int y2 = 0;
  bool Contains(ui::Point p) const { return p.x >= x1 && p.x < x2 && p.y >= y1 && p.y < y2; }
};
struct PlotLayout {
  PlotArea strip;
  PlotArea operating;
};
PlotLayout LayoutPlot(int width, int height);

// The trail of the operating point covers this much time up to the span's last frame.
inline constexpr std::uint32_t kTrailMs = 5000;
// The RPM scale of both views: the axis's last speed rounded up to a thousand.
int RpmScale(const PlotSource& source);

inline constexpr ui::Color kRpmColor{255, 255, 0};
inline constexpr ui::Color kAdvanceColor{0, 255, 0};
inline constexpr ui::Color kRefusedColor{255, 0, 0};
inline constexpr ui::Color kCurveColors[2] = {{255, 0, 0}, {0, 255, 255}};

void DrawPlot(ui::Canvas& canvas, const PlotSource& source, TimeSpan span);

// What lies under the pointer, for the cursor's read-out: the time, speed and advance
// of the frame at that column of the strip chart, or the speed and advance at that
// point of the operating view with both curves' advance at that speed.
std::string ReadingAt(const PlotSource& source, TimeSpan span, int width, int height,
                      ui::Point where);

}  // namespace logbook
