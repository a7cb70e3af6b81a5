// Guards the curve editor's display of the current curve and its arrow operations:
// limits, the point 1 jump, the ends of the axis, the readouts and the focus sink.
#include "map/curve_editor.h"

#include <gtest/gtest.h>

#include "map/marker.h"
#include "map/test_controls.h"

namespace {

using model_test::EditorWindow;
using ui::Variant;

class CurveEditorTest : public ::testing::TestWithParam<Variant> {
 protected:
  EditorWindow window{GetParam()};
  ui::ControlSet& controls = window.controls;
  map::CurveModel& model = window.model;
  map::CurveEditor& editor = window.editor;

  // A button holds the focus, as after a click on one; the arrow keys would not
  // reach the window's key handler while it does.
  void FocusAButton() {
    controls["Button3"].SetFocus();
    ASSERT_EQ(controls.Focus(), &controls["Button3"]);
  }
  void Select(int p) {
    editor.Updatesc();
    for (int i = 1; i < p; ++i) editor.SpeedButton4Click();
  }
};

INSTANTIATE_TEST_SUITE_P(BothPrograms, CurveEditorTest,
                         ::testing::Values(Variant::Palunor6, Variant::Palunor));

TEST_P(CurveEditorTest, UpdatescPlacesMarkersOnTheCurrentCurveAndSelectsPointOne) {
  model.Working(1)[0] = 40;
  model.Working(2)[0] = 50;
  model.Working(2)[1] = 0;
  model.Working(2)[25] = 30;
  model.SelectedPoint = 7;
  editor.Updatesc();

  EXPECT_EQ(controls["Lb1"].Top(), 11);
  EXPECT_EQ(controls["Lb2"].Top(), 111);
  EXPECT_EQ(controls["Lb3"].Top(), 61);
  EXPECT_EQ(controls["Lb26"].Top(), 51);
  EXPECT_EQ(model.SelectedPoint, 1);
  EXPECT_EQ(model.SelectedValue, 50);
  EXPECT_EQ(controls["Lb30"].Top(), 2);
  EXPECT_EQ(controls["Lb30"].Left(), 12);
  EXPECT_EQ(model.RpmText, GetParam() == Variant::Palunor6 ? "1500" : "750");
  EXPECT_EQ(window.Canvas("Image1").Changes(), 1u);
}

TEST_P(CurveEditorTest, UpRaisesThePointAndShowsIt) {
  Select(4);
  FocusAButton();
  editor.SpeedButton1Click();

  EXPECT_EQ(model.Working(2)[3], 26);
  EXPECT_EQ(model.SelectedValue, 26);
  EXPECT_EQ(model.AdvText, "1");
  EXPECT_EQ(controls["Label28"].Caption(), "1");
  EXPECT_EQ(controls["Lb4"].Top(), map::RaisedMarkerTop(26));
  EXPECT_EQ(controls["Lb30"].Top(), map::RaisedMarkerTop(26) - 9);
  EXPECT_EQ(model.GaugeAdvance, 26);
  EXPECT_TRUE(controls["Label34"].Visible());
  EXPECT_FALSE(model.CurvesInSync);
  EXPECT_EQ(controls.Focus(), nullptr);
  EXPECT_FALSE(controls["Panel1"].Visible());
}

TEST_P(CurveEditorTest, DownLowersThePointAndBackUpRestoresSync) {
  Select(2);
  editor.SpeedButton2Click();
  EXPECT_EQ(model.Working(2)[1], 24);
  EXPECT_EQ(model.AdvText, "-1");
  EXPECT_EQ(controls["Lb2"].Top(), map::MarkerTop(24));
  EXPECT_EQ(controls["Lb30"].Top(), map::MarkerTop(24) - 9);
  EXPECT_TRUE(controls["Label34"].Visible());

  editor.SpeedButton1Click();
  EXPECT_EQ(model.Working(2)[1], 25);
  EXPECT_TRUE(model.CurvesInSync);
  EXPECT_FALSE(controls["Label34"].Visible());
}

TEST_P(CurveEditorTest, UpStopsAtTheAdvanceLimitButStillSinksTheFocus) {
  model.MaxAdvance = 20;
  model.Working(2)[4] = 45;
  Select(5);
  const std::size_t drawn = window.Canvas("Image1").Changes();
  FocusAButton();
  editor.SpeedButton1Click();
  EXPECT_EQ(model.Working(2)[4], 45);
  EXPECT_EQ(model.SelectedValue, 45);
  EXPECT_EQ(window.Canvas("Image1").Changes(), drawn);
  EXPECT_EQ(controls.Focus(), nullptr);
}

TEST_P(CurveEditorTest, DownStopsAtTheRetardLimitOfEachPoint) {
  model.MaxRetard = 20;
  model.Working(2)[0] = 10;
  model.Working(2)[1] = 6;
  Select(1);
  FocusAButton();
  editor.SpeedButton2Click();
  EXPECT_EQ(model.Working(2)[0], 10);
  EXPECT_EQ(controls.Focus(), nullptr);

  editor.SpeedButton4Click();
  editor.SpeedButton2Click();
  EXPECT_EQ(model.Working(2)[1], 5);
  editor.SpeedButton2Click();
  EXPECT_EQ(model.Working(2)[1], 5);
}

TEST_P(CurveEditorTest, PointOneBelowItsLimitJumpsToTheLimitOnTheFirstUp) {
  model.Working(2)[0] = 5;
  Select(1);
  editor.SpeedButton1Click();
  EXPECT_EQ(model.Working(2)[0], 10);
  EXPECT_EQ(model.AdvText, "-15");
  editor.SpeedButton1Click();
  EXPECT_EQ(model.Working(2)[0], 11);
}

TEST_P(CurveEditorTest, OtherPointsBelowTenRiseOneStep) {
  model.Working(2)[2] = 5;
  Select(3);
  editor.SpeedButton1Click();
  EXPECT_EQ(model.Working(2)[2], 6);
}

// Limits from a controller may reach past 25 degrees; a value still never wraps
// round its byte into the opposite end of the scale.
TEST_P(CurveEditorTest, ArrowsNeverWrapAValueRoundItsByte) {
  model.MaxAdvance = 240;
  model.MaxRetard = 40;
  model.Working(2)[1] = 255;
  model.Working(2)[2] = 0;
  Select(2);
  editor.SpeedButton1Click();
  EXPECT_EQ(model.Working(2)[1], 255);
  editor.SpeedButton4Click();
  editor.SpeedButton2Click();
  EXPECT_EQ(model.Working(2)[2], 0);
}

TEST_P(CurveEditorTest, NextAndPreviousStopAtTheEndsOfTheAxis) {
  Select(1);
  FocusAButton();
  editor.SpeedButton3Click();
  EXPECT_EQ(model.SelectedPoint, 1);
  EXPECT_EQ(controls.Focus(), nullptr);

  Select(26);
  EXPECT_EQ(model.SelectedPoint, 26);
  FocusAButton();
  const int period = model.RpmPeriod;
  editor.SpeedButton4Click();
  EXPECT_EQ(model.SelectedPoint, 26);
  EXPECT_EQ(model.RpmPeriod, period);
  EXPECT_EQ(controls.Focus(), nullptr);
}

TEST_P(CurveEditorTest, NextMovesTheSelectionAndFeedsTheRpmGauge) {
  model.Working(2)[1] = 30;
  editor.Updatesc();
  const std::size_t dial = window.Canvas("Image3").Changes();
  const std::size_t chart = window.Canvas("Image1").Changes();
  editor.SpeedButton4Click();

  const bool newer = GetParam() == Variant::Palunor6;
  EXPECT_EQ(model.SelectedPoint, 2);
  EXPECT_EQ(model.SelectedValue, 30);
  EXPECT_EQ(controls["Lb30"].Left(), 36);
  EXPECT_EQ(controls["Lb30"].Top(), map::MarkerTop(30) - 9);
  EXPECT_EQ(model.RpmText, newer ? "1750" : "1000");
  EXPECT_EQ(controls["Label30"].Caption(), model.RpmText);
  EXPECT_EQ(model.RpmPeriod, newer ? 68 : 120);
  EXPECT_EQ(window.Canvas("Image3").Changes(), dial + 1);
  EXPECT_EQ(window.Canvas("Image1").Changes(), chart);
  if (newer) {
    EXPECT_EQ(model.AdvText, "5");
    EXPECT_EQ(controls["Label28"].Caption(), "5");
  } else {
    EXPECT_EQ(model.AdvText, "0");
    EXPECT_EQ(controls["Label28"].Caption(), "00");
  }
}

TEST_P(CurveEditorTest, PreviousFollowsTheAxisInForce) {
  model.DeviceVersion = 52;
  Select(24);
  editor.SpeedButton3Click();
  EXPECT_EQ(model.SelectedPoint, 23);
  EXPECT_EQ(model.RpmText, "6500");
  EXPECT_EQ(controls["Lb30"].Left(), 540);
}

TEST(CurveEditor, ReadoutsFollowTheSelectionMarkerInPalunor6) {
  EditorWindow window(Variant::Palunor6);
  window.editor.Updatesc();
  window.editor.SpeedButton4Click();
  window.editor.SpeedButton1Click();

  const ui::Control& selection = window.controls["Lb30"];
  const ui::Control& rpm = window.controls["Lb31"];
  const ui::Control& degrees = window.controls["Lb32"];
  EXPECT_EQ(rpm.Left(), selection.Left() - 6);
  EXPECT_EQ(rpm.Top(), selection.Top() - 3);
  EXPECT_EQ(degrees.Left(), selection.Left());
  EXPECT_EQ(degrees.Top(), selection.Top() + 24);
  EXPECT_EQ(rpm.Caption(), "1750");
  EXPECT_EQ(degrees.Caption(), "1");
}

TEST(CurveEditor, UpWithAPlxControllerTurnsTheCurveRedFromTheSelectedPoint) {
  EditorWindow window(Variant::Palunor6);
  window.link.DeviceModel = "PLX";
  window.editor.Updatesc();
  for (int i = 1; i < 10; ++i) window.editor.SpeedButton4Click();
  window.Canvas("Image1").Clear();
  window.editor.SpeedButton1Click();

  const auto curves = window.Ops("Image1", ui::DrawKind::Polyline);
  ASSERT_EQ(curves.size(), 3u);
  EXPECT_EQ(curves[1].points.size(), 10u);
  EXPECT_EQ(curves[1].pen.color, ui::kAqua);
  EXPECT_EQ(curves[1].points.back(), (ui::Point{18 + 24 * 9, 117 - 2 * 26}));
  EXPECT_EQ(curves[2].pen.color, ui::kRed);
  EXPECT_EQ(curves[2].points.size(), 17u);
  EXPECT_EQ(curves[2].points.front(), (ui::Point{234, 65}));
}

TEST(MarkerGeometry, BothTopsOfAValueReadBackAsIt) {
  for (int v = 0; v <= 50; ++v) {
    EXPECT_EQ(map::ValueOfTop(map::MarkerTop(v)), v);
    EXPECT_EQ(map::ValueOfTop(map::RaisedMarkerTop(v)), v);
  }
  EXPECT_EQ(map::MarkerTop(50), 11);
  EXPECT_EQ(map::MarkerTop(0), 111);
  EXPECT_EQ(map::SelectionLeft(26), 612);
}

}  // namespace
