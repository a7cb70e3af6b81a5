// Guards dragging the curve with the mouse: hovering selects a point, a press starts
// the drag, moves while dragging move the point within its limits, a release ends it,
// and the readouts beside the selection follow one mouse event behind.
#include <gtest/gtest.h>

#include "map/curve_editor.h"
#include "map/marker.h"
#include "map/test_controls.h"

namespace {

using model_test::EditorWindow;
using ui::MouseButton;
using ui::Variant;

class MarkerDragTest : public ::testing::TestWithParam<Variant> {
 protected:
  void SetUp() override { window.editor.Updatesc(); }

  ui::Control& Marker(int p) { return controls["Lb" + std::to_string(p)]; }
  // Presses on marker p at (8, y), moves the mouse by dy and releases it there; the
  // marker has the mouse throughout, so the move reaches it wherever the mouse goes.
  void Drag(int p, int dy, int y = 6) {
    Marker(p).MouseDown(MouseButton::Left, 8, y);
    Marker(p).MouseMove(8, y + dy);
    Marker(p).MouseUp(MouseButton::Left, 8, y + dy);
  }

  bool Newer() const { return GetParam() == Variant::Palunor6; }

  EditorWindow window{GetParam()};
  ui::ControlSet& controls = window.controls;
  map::CurveModel& model = window.model;
};

INSTANTIATE_TEST_SUITE_P(BothPrograms, MarkerDragTest,
                         ::testing::Values(Variant::Palunor6, Variant::Palunor));

TEST_P(MarkerDragTest, DraggingFarAboveTheChartStopsAtPlusTwentyFiveDegrees) {
  Drag(5, -1000);
  EXPECT_EQ(Marker(5).Top(), 10);
  EXPECT_EQ(model.Working(2)[4], 50);
  EXPECT_EQ(model.AdvText, "25");
  EXPECT_EQ(model.GaugeAdvance, 50);
  EXPECT_EQ(controls["Label28"].Caption(), "25");
  EXPECT_EQ(controls["Lb30"].Top(), 1);
  EXPECT_EQ(model.Working(1)[4], 25) << "only the shown curve changes";
}

TEST_P(MarkerDragTest, DraggingFarBelowTheChartStopsAtMinusTwentyFiveDegrees) {
  Drag(26, 1000);
  EXPECT_EQ(Marker(26).Top(), 111);
  EXPECT_EQ(model.Working(2)[25], 0);
  EXPECT_EQ(model.AdvText, "-25");
}

TEST_P(MarkerDragTest, PointOneStopsAtItsOwnRetardLimit) {
  Drag(1, 1000);
  EXPECT_EQ(Marker(1).Top(), 91);
  EXPECT_EQ(model.Working(2)[0], 10);
  EXPECT_EQ(model.AdvText, "-15");
}

TEST_P(MarkerDragTest, AnAdvanceLimitHoldsTheTopOfEveryPoint) {
  model.MaxAdvance = 10;
  Drag(9, -1000);
  EXPECT_EQ(Marker(9).Top(), 40);
  EXPECT_EQ(model.Working(2)[8], 35);
}

// Limits a controller may report past 25 degrees still never wrap a dragged value
// round its byte into the opposite end of the scale.
TEST_P(MarkerDragTest, DraggingNeverWrapsAValueRoundItsByte) {
  model.MaxAdvance = 240;
  model.MaxRetard = 40;
  Drag(3, -2000);
  EXPECT_EQ(model.Working(2)[2], 255);
  Drag(4, 2000);
  EXPECT_EQ(model.Working(2)[3], 0);
  EXPECT_EQ(Marker(4).Top(), 111);
}

TEST_P(MarkerDragTest, OnlyTheVerticalMovementOfADragCounts) {
  Marker(6).MouseDown(MouseButton::Left, 3, 6);
  Marker(6).MouseMove(400, 2);  // 4 pixels up, far to the right
  EXPECT_EQ(Marker(6).Left(), 136);
  EXPECT_EQ(Marker(6).Top(), 57);
  EXPECT_EQ(model.Working(2)[5], 27);
  // The marker moved with the mouse: the same place inside it is no further move.
  Marker(6).MouseMove(-300, 6);
  EXPECT_EQ(Marker(6).Top(), 57);
  Marker(6).MouseMove(0, 9);
  EXPECT_EQ(Marker(6).Top(), 60);
  EXPECT_EQ(model.Working(2)[5], 25);
}

TEST_P(MarkerDragTest, EveryDragMoveRedrawsTheChartAndChecksSync) {
  Marker(7).MouseDown(MouseButton::Left, 8, 6);
  const std::size_t charts = window.Canvas("Image1").Changes();
  const std::size_t gauges = window.Canvas("Image2").Changes();
  Marker(7).MouseMove(8, 0);
  EXPECT_EQ(window.Canvas("Image1").Changes(), charts + 1);
  EXPECT_EQ(window.Canvas("Image2").Changes(), gauges + 1);
  EXPECT_TRUE(controls["Label34"].Visible());
  EXPECT_FALSE(model.CurvesInSync);

  Marker(7).MouseMove(8, 12);  // back where the controller has it
  EXPECT_EQ(model.Working(2)[6], 25);
  EXPECT_TRUE(model.CurvesInSync);
  EXPECT_FALSE(controls["Label34"].Visible());
}

TEST_P(MarkerDragTest, APressSelectsThePointAndFeedsTheRpmGaugeButMovesNoPoint) {
  model.Working(2)[4] = 31;
  window.editor.Updatesc();
  controls["Button3"].SetFocus();
  const std::size_t charts = window.Canvas("Image1").Changes();
  const std::size_t dials = window.Canvas("Image3").Changes();
  Marker(5).MouseDown(MouseButton::Right, 8, 7);

  EXPECT_EQ(controls.Focus(), nullptr);
  EXPECT_EQ(model.SelectedPoint, 5);
  EXPECT_TRUE(model.Dragging);
  EXPECT_EQ(model.DragStartY, 7);
  EXPECT_EQ(model.AdvText, "6");
  EXPECT_EQ(model.RpmText, Newer() ? "2500" : "1750");
  EXPECT_EQ(controls["Label30"].Caption(), model.RpmText);
  EXPECT_EQ(model.RpmPeriod, Newer() ? 48 : 68);
  EXPECT_EQ(window.Canvas("Image3").Changes(), dials + 1);
  EXPECT_EQ(window.Canvas("Image1").Changes(), charts);
  EXPECT_EQ(model.Working(2)[4], 31);
  EXPECT_EQ(Marker(5).Top(), map::MarkerTop(31));
  // Palunor6 has hovering place the selection marker; Palunor's press does it.
  EXPECT_EQ(controls["Lb30"].Left(), Newer() ? 12 : 108);
}

TEST_P(MarkerDragTest, AfterTheReleaseMovesNoLongerMoveThePoint) {
  Drag(8, -10);
  EXPECT_FALSE(model.Dragging);
  const std::uint8_t value = model.Working(2)[7];
  Marker(8).MouseMove(8, 40);
  EXPECT_EQ(model.Working(2)[7], value);
}

TEST_P(MarkerDragTest, HoveringSelectsThePointTheArrowsThenActOn) {
  model.Working(2)[6] = 30;
  window.editor.Updatesc();
  Marker(7).MouseMove(5, 5);
  EXPECT_EQ(model.SelectedPoint, 7);
  EXPECT_EQ(model.SelectedValue, 30);
  EXPECT_EQ(controls["Lb30"].Left(), map::SelectionLeft(7));
  EXPECT_EQ(controls["Lb30"].Top(), map::MarkerTop(30) - 9);
  EXPECT_FALSE(model.Dragging);

  window.editor.SpeedButton1Click();
  EXPECT_EQ(model.Working(2)[6], 31);
}

TEST(MarkerHover, ReadoutsBesideTheSelectionFollowOneEventBehind) {
  EditorWindow window(Variant::Palunor6);
  window.model.Working(2)[4] = 33;
  window.editor.Updatesc();
  ui::Control& rpm = window.controls["Lb31"];
  ui::Control& degrees = window.controls["Lb32"];

  // The texts are point 5's, but they stand where the selection marker was.
  window.controls["Lb5"].MouseMove(4, 4);
  EXPECT_EQ(rpm.Caption(), "2500");
  EXPECT_EQ(degrees.Caption(), "8");
  EXPECT_EQ(rpm.Left(), map::SelectionLeft(1) - 6);
  EXPECT_EQ(degrees.Top(), map::MarkerTop(25) - 9 + 24);
  EXPECT_EQ(window.controls["Lb30"].Left(), map::SelectionLeft(5));

  window.controls["Lb5"].MouseMove(4, 5);
  EXPECT_EQ(rpm.Left(), map::SelectionLeft(5) - 6);
  EXPECT_EQ(rpm.Top(), map::MarkerTop(33) - 9 - 3);
  EXPECT_EQ(degrees.Left(), map::SelectionLeft(5));
}

TEST(MarkerHover, WhileDraggingTheDegreesShowTheValueBeforeTheMove) {
  EditorWindow window(Variant::Palunor6);
  window.editor.Updatesc();
  ui::Control& marker = window.controls["Lb3"];
  marker.MouseMove(8, 6);
  marker.MouseDown(MouseButton::Left, 8, 6);
  marker.MouseMove(8, 2);  // 4 pixels up: two degrees
  EXPECT_EQ(window.model.Working(2)[2], 27);
  EXPECT_EQ(window.controls["Lb32"].Caption(), "0");
  EXPECT_EQ(window.model.AdvText, "2");
  marker.MouseMove(8, 6);  // the marker moved up with the mouse; no further move
  EXPECT_EQ(window.controls["Lb32"].Caption(), "2");
}

TEST(MarkerHover, PalunorShowsNoTextsOnHover) {
  EditorWindow window(Variant::Palunor);
  window.editor.Updatesc();
  window.model.AdvText = "";
  window.controls["Lb12"].MouseMove(4, 4);
  EXPECT_EQ(window.model.SelectedPoint, 12);
  EXPECT_EQ(window.model.RpmText, "750");
  EXPECT_EQ(window.model.AdvText, "");
  EXPECT_EQ(window.controls["Lb30"].Left(), map::SelectionLeft(12));
  EXPECT_EQ(window.controls.Find("Lb31"), nullptr);
}

TEST(MarkerDrag, APlxControllersRedTraceStartsAtTheDraggedPoint) {
  EditorWindow window(Variant::Palunor6);
  window.link.DeviceModel = "PLX";
  window.editor.Updatesc();
  window.editor.SpeedButton4Click();  // point 2 selected by the arrows first
  ui::Control& marker = window.controls["Lb5"];
  marker.MouseMove(8, 6);
  marker.MouseDown(MouseButton::Left, 8, 6);
  window.Canvas("Image1").Clear();
  marker.MouseMove(8, 2);

  const auto curves = window.Ops("Image1", ui::DrawKind::Polyline);
  ASSERT_EQ(curves.size(), 3u);
  EXPECT_EQ(curves[1].points.size(), 5u);
  EXPECT_EQ(curves[1].points.back(), (ui::Point{18 + 24 * 4, 117 - 2 * 27}));
  EXPECT_EQ(curves[2].pen.color, ui::kRed);
  EXPECT_EQ(curves[2].points.size(), 22u);
  EXPECT_EQ(curves[2].points.front(), (ui::Point{114, 63}));
}

}  // namespace
