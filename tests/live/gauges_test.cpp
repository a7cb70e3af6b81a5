// Guards what the gauges and the curve trace draw: needle and sector end points,
// colours and pen widths in both programs, the pen state carried from one drawing
// to the next, and the readings that keep the needle where it was.
#include "live/gauges.h"

#include <gtest/gtest.h>

#include "map/test_controls.h"

namespace {

using model_test::EditorWindow;
using ui::DrawKind;
using ui::Point;
using ui::Variant;

std::vector<ui::DrawOp> WithPen(const std::vector<ui::DrawOp>& ops, ui::Color color) {
  std::vector<ui::DrawOp> matching;
  for (const ui::DrawOp& op : ops) {
    if (op.pen.color == color) matching.push_back(op);
  }
  return matching;
}

// The needle is the ten red lines that share the tip.
std::vector<ui::DrawOp> Needle(EditorWindow& window) {
  return WithPen(window.Ops("Image3", DrawKind::Line), ui::kRed);
}

void DrawDial(EditorWindow& window, std::uint8_t period) {
  window.Canvas("Image3").Clear();
  window.model.RpmPeriod = period;
  window.gauges.RPM();
}

TEST(StartUpDrawing, PreparesTheSurfaces) {
  EditorWindow window(Variant::Palunor6);
  window.gauges.PrepareSurfaces();

  const auto& dial = window.Canvas("Image3").Ops();
  ASSERT_EQ(dial.size(), 1u);
  EXPECT_EQ(dial[0].kind, DrawKind::FillRect);
  EXPECT_EQ(dial[0].brush.color, ui::kButtonFace);

  const auto& advance = window.Canvas("Image2").Ops();
  ASSERT_EQ(advance.size(), 2u);
  EXPECT_EQ(advance[0].brush.color, ui::kButtonFace);
  EXPECT_EQ(advance[1].kind, DrawKind::Ellipse);
  EXPECT_EQ(advance[1].points, (std::vector<Point>{{0, 0}, {169, 173}}));
  EXPECT_EQ(advance[1].brush.color, ui::kBlack);
  EXPECT_EQ(advance[1].pen.color, ui::kBlue);

  ui::RecordingCanvas& chart = window.Canvas("Image1");
  ASSERT_EQ(chart.Ops().size(), 1u);
  EXPECT_EQ(chart.Ops()[0].brush.color, ui::kBlack);
  EXPECT_EQ(chart.Ops()[0].points, (std::vector<Point>{{0, 0}, {647, 128}}));
  EXPECT_EQ(chart.pen.color, ui::kGray);
  EXPECT_EQ(chart.pen.style, ui::PenStyle::Dot);
}

class DialTest : public ::testing::TestWithParam<Variant> {};
INSTANTIATE_TEST_SUITE_P(BothPrograms, DialTest,
                         ::testing::Values(Variant::Palunor6, Variant::Palunor));

TEST_P(DialTest, StartUpPeriodPutsTheNeedleAt18Degrees) {
  EditorWindow window(GetParam());
  window.gauges.PrepareSurfaces();
  DrawDial(window, 200);
  EXPECT_EQ(window.live.NeedleAngle, 18);

  const auto needle = Needle(window);
  ASSERT_EQ(needle.size(), 10u);
  for (const ui::DrawOp& line : needle) {
    EXPECT_EQ(line.points[0], (Point{13, 122}));
    EXPECT_EQ(line.pen.width, 2);
  }
  EXPECT_EQ(needle.front().points[1], (Point{99, 77}));
  EXPECT_EQ(needle.back().points[1], (Point{101, 79}));
  EXPECT_EQ(window.Canvas("Image3").Changes(), 2u);
}

TEST_P(DialTest, TicksRunFromTheZeroMarkToTheEightMark) {
  EditorWindow window(GetParam());
  DrawDial(window, 120);
  const auto ticks = WithPen(window.Ops("Image3", DrawKind::Line), ui::kBlue);
  ASSERT_EQ(ticks.size(), 9u);
  EXPECT_EQ(ticks.front().points, (std::vector<Point>{{25, 145}, {39, 131}}));
  EXPECT_EQ(ticks.back().points, (std::vector<Point>{{165, 108}, {146, 103}}));
  EXPECT_EQ(ticks.front().pen.width, 2);
}

TEST_P(DialTest, PeriodOf120PointsAtTheOneMark) {
  EditorWindow window(GetParam());
  DrawDial(window, 120);
  EXPECT_EQ(window.live.NeedleAngle, 30);
  EXPECT_EQ(Needle(window).front().points[0], (Point{7, 107}));
}

TEST_P(DialTest, PeriodsZeroAnd255KeepTheNeedle) {
  EditorWindow window(GetParam());
  DrawDial(window, 120);
  for (std::uint8_t period : {0, 255}) {
    DrawDial(window, period);
    EXPECT_EQ(window.live.NeedleAngle, 30);
    ASSERT_EQ(Needle(window).size(), 10u);
    EXPECT_EQ(Needle(window).front().points[0], (Point{7, 107}));
  }
}

TEST(Dial, Palunor6StopsTheNeedleAt290AndShowsTheAngleBeforeTheStop) {
  EditorWindow window(Variant::Palunor6);
  DrawDial(window, 12);
  EXPECT_EQ(window.controls["Label33"].Caption(), "300");
  EXPECT_EQ(window.live.NeedleAngle, 290);
  EXPECT_EQ(Needle(window).front().points[0], (Point{118, 159}));
  EXPECT_EQ(Needle(window).front().points[1], (Point{75, 70}));

  DrawDial(window, 15);
  EXPECT_EQ(window.live.NeedleAngle, 240);
  EXPECT_EQ(window.controls["Label33"].Caption(), "240");
}

TEST(Dial, Palunor6RoundsTheAngleHalvesToEven) {
  EditorWindow window(Variant::Palunor6);
  DrawDial(window, 160);  // 22.5
  EXPECT_EQ(window.live.NeedleAngle, 22);
  DrawDial(window, 96);  // 37.5
  EXPECT_EQ(window.live.NeedleAngle, 38);
  DrawDial(window, 7);  // 514.3
  EXPECT_EQ(window.controls["Label33"].Caption(), "514");
}

TEST(Dial, PalunorTruncatesAndFallsBackToZeroPast260) {
  EditorWindow window(Variant::Palunor);
  DrawDial(window, 96);
  EXPECT_EQ(window.live.NeedleAngle, 37);
  DrawDial(window, 14);
  EXPECT_EQ(window.live.NeedleAngle, 257);
  DrawDial(window, 13);
  EXPECT_EQ(window.live.NeedleAngle, 0);
  EXPECT_EQ(window.controls["Label33"].Caption(), "Label33");
}

TEST(Dial, Palunor6FaceOutlineIsOnePixelOnlyTheFirstTime) {
  EditorWindow window(Variant::Palunor6);
  DrawDial(window, 200);
  const auto first = window.Ops("Image3", DrawKind::Ellipse);
  ASSERT_EQ(first.size(), 2u);
  EXPECT_EQ(first[0].points, (std::vector<Point>{{0, 0}, {169, 173}}));
  EXPECT_EQ(first[0].pen, (ui::Pen{ui::kBlue, 1, ui::PenStyle::Solid}));
  EXPECT_EQ(first[0].brush.color, ui::kBlack);
  // The hub: a red disc 12 pixels across on the centre.
  EXPECT_EQ(first[1].points, (std::vector<Point>{{78, 80}, {90, 92}}));
  EXPECT_EQ(first[1].brush.color, ui::kRed);
  EXPECT_EQ(first[1].pen.color, ui::kRed);

  DrawDial(window, 200);
  const auto second = window.Ops("Image3", DrawKind::Ellipse);
  EXPECT_EQ(second[0].pen, (ui::Pen{ui::kBlue, 2, ui::PenStyle::Solid}));
}

TEST(Dial, PalunorHubIsRingsAndItsFaceOutlineStaysOnePixel) {
  EditorWindow window(Variant::Palunor);
  DrawDial(window, 200);
  DrawDial(window, 200);
  const auto faces = window.Ops("Image3", DrawKind::Ellipse);
  ASSERT_EQ(faces.size(), 1u);
  EXPECT_EQ(faces[0].pen.width, 1);

  const auto rings = window.Ops("Image3", DrawKind::Polyline);
  ASSERT_EQ(rings.size(), 7u);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(rings[i].pen, (ui::Pen{ui::kRed, 2, ui::PenStyle::Solid})) << i;
    EXPECT_EQ(rings[i].points.size(), 13u);
    EXPECT_EQ(rings[i].points.front(), (Point{84, 88 + i})) << "starts straight below";
    EXPECT_EQ(rings[i].points.back(), rings[i].points.front());
  }
  EXPECT_EQ(rings[0].points[1], (Point{85, 88}));
  EXPECT_EQ(rings[1].points[1], (Point{86, 89}));  // 1.5 rounds to 2
  for (int i = 5; i < 7; ++i) {
    EXPECT_EQ(rings[i].pen, (ui::Pen{ui::kBlue, 1, ui::PenStyle::Solid})) << i;
  }
  // Radius 1: a half rounds to the even 0.
  EXPECT_EQ(rings[5].points[1], (Point{84, 87}));
  EXPECT_EQ(rings[5].points[2], (Point{85, 86}));
}

class AdvanceTest : public ::testing::TestWithParam<Variant> {
 protected:
  EditorWindow window{GetParam()};
  std::vector<ui::DrawOp> Sector(std::uint8_t advance) {
    window.Canvas("Image2").Clear();
    window.model.GaugeAdvance = advance;
    window.gauges.Adv();
    std::vector<ui::DrawOp> lines;
    for (const ui::DrawOp& op : window.Ops("Image2", DrawKind::Line)) {
      if (op.pen.width == 2) lines.push_back(op);
    }
    return lines;
  }
};
INSTANTIATE_TEST_SUITE_P(BothPrograms, AdvanceTest,
                         ::testing::Values(Variant::Palunor6, Variant::Palunor));

TEST_P(AdvanceTest, ZeroDegreesIsASingleAquaLineStraightUp) {
  const auto sector = Sector(25);
  ASSERT_EQ(sector.size(), 1u);
  EXPECT_EQ(sector[0].pen.color, ui::kAqua);
  EXPECT_EQ(sector[0].points, (std::vector<Point>{{84, 2}, {84, 86}}));
  EXPECT_EQ(window.controls["Label28"].Caption(), "0");
}

TEST_P(AdvanceTest, FullAdvanceIsAnAquaSectorToThePlus25Tick) {
  const auto sector = Sector(50);
  ASSERT_EQ(sector.size(), 26u);
  EXPECT_EQ(sector.back().points[0], (Point{119, 10}));
  for (const ui::DrawOp& line : sector) EXPECT_EQ(line.pen.color, ui::kAqua);
  EXPECT_EQ(window.controls["Label28"].Caption(), "25");

  const auto past = Sector(55);
  ASSERT_EQ(past.size(), 31u);
  EXPECT_EQ(past.back().points[0], (Point{126, 13}));
  EXPECT_EQ(window.controls["Label28"].Caption(), "30");
}

TEST_P(AdvanceTest, RetardIsARedSectorToTheMinus25Tick) {
  const auto sector = Sector(0);
  ASSERT_EQ(sector.size(), 26u);
  EXPECT_EQ(sector.front().points, (std::vector<Point>{{49, 10}, {84, 86}}));
  EXPECT_EQ(sector.back().points[0], (Point{84, 2}));
  for (const ui::DrawOp& line : sector) EXPECT_EQ(line.pen.color, ui::kRed);
  EXPECT_EQ(window.controls["Label28"].Caption(), "-25");
  EXPECT_EQ(Sector(18).size(), 8u);
  EXPECT_EQ(window.controls["Label28"].Caption(), "-7");
}

TEST_P(AdvanceTest, FaceAndTicksAreOnePixelBlue) {
  Sector(40);
  const auto faces = window.Ops("Image2", DrawKind::Ellipse);
  ASSERT_EQ(faces.size(), 1u);
  EXPECT_EQ(faces[0].pen, (ui::Pen{ui::kBlue, 1, ui::PenStyle::Solid}));
  const auto ticks = WithPen(window.Ops("Image2", DrawKind::Line), ui::kBlue);
  ASSERT_EQ(ticks.size(), 11u);
  EXPECT_EQ(ticks.front().points, (std::vector<Point>{{49, 10}, {57, 28}}));
  EXPECT_EQ(ticks.back().points, (std::vector<Point>{{119, 10}, {111, 28}}));
  EXPECT_EQ(ticks.front().pen.width, 1);
  EXPECT_EQ(window.Canvas("Image2").Changes(), 1u);
}

class TraceTest : public ::testing::TestWithParam<Variant> {
 protected:
  EditorWindow window{GetParam()};
  void SetUp() override { window.gauges.PrepareSurfaces(); }
  std::vector<ui::DrawOp> Trace() {
    window.Canvas("Image1").Clear();
    window.gauges.DrawTrace();
    return window.Canvas("Image1").Ops();
  }
};
INSTANTIATE_TEST_SUITE_P(BothPrograms, TraceTest,
                         ::testing::Values(Variant::Palunor6, Variant::Palunor));

TEST_P(TraceTest, GridIsDottedSilverOverBlack) {
  const std::size_t shown = window.Canvas("Image1").Changes();
  const auto ops = Trace();
  ASSERT_EQ(ops.front().kind, DrawKind::FillRect);
  EXPECT_EQ(ops.front().brush.color, ui::kBlack);
  const auto grid = window.Ops("Image1", DrawKind::Line);
  ASSERT_EQ(grid.size(), 19u);
  for (const ui::DrawOp& line : grid) {
    EXPECT_EQ(line.pen, (ui::Pen{ui::kSilver, 1, ui::PenStyle::Dot}));
  }
  EXPECT_EQ(grid[0].points, (std::vector<Point>{{5, 18}, {640, 18}}));
  EXPECT_EQ(grid[4].points, (std::vector<Point>{{5, 118}, {640, 118}}));
  EXPECT_EQ(grid[5].points, (std::vector<Point>{{43, 5}, {43, 130}}));
  EXPECT_EQ(grid[18].points, (std::vector<Point>{{667, 5}, {667, 130}}));
  EXPECT_EQ(window.Canvas("Image1").Changes(), shown + 1);
}

TEST_P(TraceTest, CurveTwoIsAquaOverItsBlueControllerCopy) {
  window.model.Working(2)[0] = 50;
  window.model.Working(2)[25] = 0;
  window.model.Device(2)[1] = 40;
  Trace();
  const auto lines = window.Ops("Image1", DrawKind::Polyline);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].pen.color, ui::kBlue);
  EXPECT_EQ(lines[0].pen.width, 3);
  EXPECT_EQ(lines[1].pen.color, ui::kAqua);
  ASSERT_EQ(lines[1].points.size(), 26u);
  EXPECT_EQ(lines[1].points[0], (Point{18, 17}));
  EXPECT_EQ(lines[1].points[25], (Point{618, 117}));
  EXPECT_EQ(lines[0].points[1], (Point{42, 37}));
  EXPECT_EQ(lines[1].points[1], (Point{42, 67}));
}

TEST_P(TraceTest, CurveOneIsRedOverItsMaroonControllerCopy) {
  window.model.CurrentCurve = 1;
  window.model.Working(1)[3] = 30;
  Trace();
  const auto lines = window.Ops("Image1", DrawKind::Polyline);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].pen.color, ui::kMaroon);
  EXPECT_EQ(lines[1].pen.color, ui::kRed);
  EXPECT_EQ(lines[1].points[3], (Point{90, 57}));
}

TEST_P(TraceTest, APlxControllerTurnsTheCurveRedFromTheSelectedPoint) {
  window.link.DeviceModel = "PLX";
  window.model.SelectedPoint = 1;
  Trace();
  const auto lines = window.Ops("Image1", DrawKind::Polyline);
  if (GetParam() == Variant::Palunor) {
    // The older program knows no PLX controller: the whole curve, no red tail.
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].points.size(), 26u);
    return;
  }
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].points.size(), 1u);
  EXPECT_EQ(lines[1].points.size(), 1u);
  EXPECT_EQ(lines[2].pen, (ui::Pen{ui::kRed, 3, ui::PenStyle::Dot}));
  EXPECT_EQ(lines[2].points.size(), 26u);

  window.model.SelectedPoint = 26;
  Trace();
  const auto tail = window.Ops("Image1", DrawKind::Polyline);
  ASSERT_EQ(tail.size(), 3u);
  EXPECT_EQ(tail[1].points.size(), 26u);
  EXPECT_EQ(tail[2].points, (std::vector<Point>{{618, 67}}));
}

TEST_P(TraceTest, AQzrControllerAlwaysGetsTheWholeCurve) {
  window.link.DeviceModel = "QZR";
  window.model.SelectedPoint = 5;
  Trace();
  const auto lines = window.Ops("Image1", DrawKind::Polyline);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].points.size(), 26u);
  EXPECT_EQ(lines[1].points.size(), 26u);
}

}  // namespace
