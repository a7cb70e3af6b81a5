// Guards the plot window as a tuner uses it: live frames from the emulated controller
// drawn as they come (at most ten pictures a second, nothing sent), the cursor's
// read-out, a recorded log opened again with zoom, pan and the whole log, and the
// picture exported.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "logbook/plot.h"
#include "logbook/recording_bench.h"

namespace {

using logbook_test::ExpectedRows;
using logbook_test::RecordingBench;

// The speed and advance of the last row, as the read-out shows them: "1810 RPM, +2°".
std::string LastReading(const std::string& rows) {
  std::istringstream row(rows.substr(rows.rfind("\r\n", rows.size() - 3) + 2));
  std::string f[4];
  for (std::string& field : f) std::getline(row, field, ',');
  return f[2] + " RPM, " + (std::stoi(f[3]) > 0 ? "+" : "") + f[3] + "\xC2\xB0";
}

TEST(PlotWindow, LiveFramesAreDrawnAsTheyComeAndTheCursorReadsTheLast) {
  RecordingBench bench(ui::Variant::Palunor6, 60);
  bench.StartLiveData();
  const std::string written = bench.tapped.written;
  const std::size_t first = bench.tapped.read.size();
  const std::uint32_t start = bench.clock.TickCount();
  bench.Menu("&Plot...");
  ASSERT_EQ(bench.windows.Made().size(), 1u);
  ui::RecordingWindow& plot = bench.windows.Last();
  EXPECT_TRUE(plot.Visible());
  EXPECT_EQ(plot.Name(), "plot");
  plot.Resize(400, 300);
  const std::size_t pictures = plot.Drawing().Changes();
  bench.clock.Advance(2050);
  // Twenty frames came; at most one picture per tenth of a second followed.
  EXPECT_GE(plot.Drawing().Changes(), pictures + 15);
  EXPECT_LE(plot.Drawing().Changes(), pictures + 21);
  EXPECT_EQ(bench.tapped.written, written) << "the plot sends nothing";

  // The live span ends now: the last column holds the last frame the emulator sent.
  const logbook::PlotArea strip = logbook::LayoutPlot(400, 300).strip;
  plot.OnMouseMove({strip.x2 - 1, strip.y1 + 3});
  const std::string rows = ExpectedRows(bench, first, start);
  EXPECT_NE(plot.Status().find(LastReading(rows)), std::string::npos) << plot.Status();
  // The last picture (from its black ground on) has one point now: a white disc.
  int discs = 0;
  for (const ui::DrawOp& op : plot.Drawing().Ops()) {
    if (op.kind == ui::DrawKind::FillRect && op.points[1] == ui::Point{400, 300}) discs = 0;
    discs += op.kind == ui::DrawKind::Ellipse;
  }
  EXPECT_EQ(discs, 1);

  // Closed, it keeps nothing and draws nothing.
  plot.Close();
  const std::size_t closed = plot.Drawing().Changes();
  bench.clock.Advance(1000);
  EXPECT_EQ(plot.Drawing().Changes(), closed);
}

TEST(PlotWindow, ARecordedLogOpensWithZoomPanAndTheWholeLog) {
  RecordingBench bench(ui::Variant::Palunor, 60);
  bench.StartLiveData();
  bench.StartRecording("run.csv");
  bench.clock.Advance(4000);
  bench.Menu("&Stop recording");
  const std::string rows = logbook_test::Rows(bench.File("run.csv"));
  const auto frames = std::count(rows.begin(), rows.end(), '\n');

  bench.dialogs.AnswerFile((bench.folder / "run.csv").string());
  bench.Menu("Open &log...");
  ui::RecordingWindow& plot = bench.windows.Last();
  plot.Resize(400, 300);
  EXPECT_EQ(plot.Title(), "Plot: run.csv");
  EXPECT_EQ(plot.Status().substr(0, 9 + std::to_string(frames).size()),
            "run.csv: " + std::to_string(frames));
  const logbook::PlotArea strip = logbook::LayoutPlot(400, 300).strip;
  const auto time_at = [&](int x) {
    plot.OnMouseMove({x, strip.y1 + 3});
    return plot.Status();
  };
  const std::string whole_last = time_at(strip.x2 - 1);
  EXPECT_NE(whole_last.find(LastReading(rows)), std::string::npos) << whole_last;
  // Zoomed in about the middle, the right edge shows an earlier frame; dragged to the
  // left (the later frames come in), the last frame again.
  plot.OnWheel({(strip.x1 + strip.x2) / 2, strip.y1 + 3}, 4);
  EXPECT_NE(time_at(strip.x2 - 1), whole_last);
  plot.OnDrag(-(strip.x2 - strip.x1));
  EXPECT_EQ(time_at(strip.x2 - 1), whole_last);
  plot.OnWheel({strip.x1, strip.y1 + 3}, 10);
  plot.OnButton(0);  // "&Whole log"
  EXPECT_EQ(plot.Buttons()[0], "&Whole log");
  EXPECT_EQ(time_at(strip.x2 - 1), whole_last);

  // Exported: the file holds the picture as the window gave it.
  bench.dialogs.AnswerFile((bench.folder / "picture").string());
  plot.OnButton(1);
  EXPECT_EQ(bench.File("picture.png"), plot.PngBytes());
}

}  // namespace
