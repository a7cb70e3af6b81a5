// Guards the plot's drawing for a known log on the recording canvas: the strip chart
// one line per trace and pixel column whatever the number of frames, speeds and
// advances in their places, refused frames in their lane, the curves on the axis,
// the operating point with its fading trail, and the cursor's read-out.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "logbook/plot.h"
#include "testing/recording_canvas.h"

namespace {

using logbook::LogSample;

constexpr int kWidth = 220;
constexpr int kHeight = 200;

// Frames every `step` ms for 10 s: speed rising 1000 to 7000 RPM, advance 0 to 20
// degrees, every seventh frame refused.
std::vector<LogSample> Rising(std::uint32_t step) {
  std::vector<LogSample> samples;
  for (std::uint32_t t = 0; t < 10000; t += step) {
    samples.push_back(
        {t, static_cast<int>(1000 + t * 6 / 10), static_cast<int>(t / 500), t / step % 7 != 3, 1});
  }
  return samples;
}

logbook::PlotSource Source(const std::vector<LogSample>& samples) {
  logbook::PlotSource source{samples, {}, {}};
  std::array<int, logbook::kAxisPoints> one{};
  std::array<int, logbook::kAxisPoints> two{};
  for (std::size_t i = 0; i < logbook::kAxisPoints; ++i) {
    source.rpm_axis[i] = static_cast<int>(i) * 320;
    one[i] = static_cast<int>(i) - 5;
    two[i] = 25 - 2 * static_cast<int>(i);
  }
  source.curves = {one, two};
  return source;
}

std::vector<ui::DrawOp> OpsOf(const std::vector<ui::DrawOp>& ops, ui::DrawKind kind,
                              ui::Color color, bool brush = false) {
  std::vector<ui::DrawOp> found;
  for (const ui::DrawOp& op : ops) {
    if (op.kind == kind && (brush ? op.brush.color : op.pen.color) == color) found.push_back(op);
  }
  return found;
}

TEST(Plot, TheStripChartDrawsOneLinePerTraceAndColumnWhateverTheFrames) {
  const logbook::PlotArea strip = logbook::LayoutPlot(kWidth, kHeight).strip;
  for (std::uint32_t step : {100u, 3u}) {
    const std::vector<LogSample> samples = Rising(step);
    ui::RecordingCanvas canvas(kWidth, kHeight);
    logbook::DrawPlot(canvas, Source(samples), {0, 10000});
    const auto rpm = OpsOf(canvas.Ops(), ui::DrawKind::Line, logbook::kRpmColor);
    const auto advance = OpsOf(canvas.Ops(), ui::DrawKind::Line, logbook::kAdvanceColor);
    ASSERT_LE(rpm.size(), static_cast<std::size_t>(strip.x2 - strip.x1)) << step;
    ASSERT_EQ(rpm.size(), advance.size());
    // Every line vertical in its own column; the rising speed never draws lower.
    int top = strip.y2;
    std::set<int> columns;
    for (const ui::DrawOp& op : rpm) {
      EXPECT_EQ(op.points[0].x, op.points[1].x);
      EXPECT_TRUE(columns.insert(op.points[0].x).second);
      EXPECT_LE(op.points[0].y, top);
      EXPECT_GE(op.points[0].y, strip.y1);
      top = op.points[0].y;
    }
    // Refused frames in their lane, in the columns their times fall in.
    std::set<int> refused;
    for (const LogSample& s : samples) {
      if (!s.taken)
        refused.insert(strip.x1 + static_cast<int>(s.time_ms * (strip.x2 - strip.x1) / 10000));
    }
    std::set<int> lane;
    for (const ui::DrawOp& op : OpsOf(canvas.Ops(), ui::DrawKind::Line, logbook::kRefusedColor)) {
      lane.insert(op.points[0].x);
      EXPECT_GT(op.points[0].y, top) << "below the traces";
    }
    EXPECT_EQ(lane, refused) << step;
  }
}

TEST(Plot, TheOperatingViewDrawsBothCurvesOnTheAxisAndTheFadingTrail) {
  const std::vector<LogSample> samples = Rising(100);
  ui::RecordingCanvas canvas(kWidth, kHeight);
  logbook::DrawPlot(canvas, Source(samples), {2000, 8000});
  const logbook::PlotArea a = logbook::LayoutPlot(kWidth, kHeight).operating;
  for (std::size_t c = 0; c < 2; ++c) {
    const auto curve = OpsOf(canvas.Ops(), ui::DrawKind::Polyline, logbook::kCurveColors[c]);
    ASSERT_EQ(curve.size(), 1u);
    const std::vector<ui::Point>& p = curve[0].points;
    ASSERT_EQ(p.size(), 26u);
    EXPECT_EQ(p.front().x, a.x1);  // 0 RPM at the left edge
    for (std::size_t i = 1; i < p.size(); ++i) EXPECT_GT(p[i].x, p[i - 1].x);
  }
  // Curve 2 starts at +25 degrees: the top of the view, and falls from there.
  const auto two = OpsOf(canvas.Ops(), ui::DrawKind::Polyline, logbook::kCurveColors[1]);
  EXPECT_EQ(two[0].points.front().y, a.y1);
  // The trail: the frames of the last five seconds of the span, newer ones brighter.
  std::vector<ui::DrawOp> trail;
  for (const ui::DrawOp& op : canvas.Ops()) {
    const ui::Color c = op.brush.color;
    if (op.kind == ui::DrawKind::FillRect && c.r == c.g && c.g == c.b && c.r > 0)
      trail.push_back(op);
  }
  std::size_t expected = 0;
  for (const LogSample& s : samples) expected += s.taken && s.time_ms >= 3000 && s.time_ms < 8000;
  ASSERT_EQ(trail.size(), expected);
  for (std::size_t i = 1; i < trail.size(); ++i) {
    EXPECT_GE(trail[i].brush.color.r, trail[i - 1].brush.color.r);
    EXPECT_GE(trail[i].points[0].x, trail[i - 1].points[0].x) << "the speed rises";
    EXPECT_LE(trail[i].points[0].y, trail[i - 1].points[0].y) << "the advance rises";
  }
  // The point now: on the newest frame of the trail.
  const auto now = OpsOf(canvas.Ops(), ui::DrawKind::Ellipse, ui::kWhite, true);
  ASSERT_EQ(now.size(), 1u);
  EXPECT_EQ(now[0].points[0].x + 4, trail.back().points[0].x + 1);
  EXPECT_EQ(now[0].points[0].y + 4, trail.back().points[0].y + 1);
  // Refused frames of the trail in the view's own lane, below its curves.
  const auto refused = OpsOf(canvas.Ops(), ui::DrawKind::FillRect, logbook::kRefusedColor, true);
  EXPECT_EQ(refused.size(), 7u);
  for (const ui::DrawOp& op : refused) EXPECT_EQ(op.points[1].y, a.y2);
}

TEST(Plot, TheCursorReadsTheFrameOrThePointUnderIt) {
  const std::vector<LogSample> samples = Rising(100);
  const logbook::PlotSource source = Source(samples);
  const logbook::PlotLayout layout = logbook::LayoutPlot(kWidth, kHeight);
  // The last column of the strip holds the last frame: 9.9 s, 6940 RPM, +19 degrees.
  EXPECT_EQ(logbook::ReadingAt(source, {0, 10000}, kWidth, kHeight,
                               {layout.strip.x2 - 1, layout.strip.y1 + 5}),
            "9.9 s: 6940 RPM, +19\xC2\xB0");
  // Left edge of the operating view at mid height: 0 RPM, about 0 degrees, and both
  // curves' first points.
  const std::string point = logbook::ReadingAt(
      source, {0, 10000}, kWidth, kHeight,
      {layout.operating.x1,
       layout.operating.y1 + (layout.operating.y2 - 6 - layout.operating.y1) / 2});
  EXPECT_EQ(point.substr(0, 7), "0 RPM, ");
  EXPECT_NE(point.find("curve 1: -5\xC2\xB0; curve 2: +25\xC2\xB0"), std::string::npos) << point;
  EXPECT_EQ(logbook::ReadingAt(source, {0, 10000}, kWidth, kHeight, {0, 0}), "");
}

}  // namespace
