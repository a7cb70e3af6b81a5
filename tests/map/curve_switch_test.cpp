// Guards the curve switch (Button2) and the gauge panel toggle: the switch shows the
// other curve on the same selected point and names the curve it switches to next;
// the toggle hides exactly the gauge panel's pictures and labels.
#include <gtest/gtest.h>

#include <string>

#include "map/curve_editor.h"
#include "map/gauge_panel_toggle.h"
#include "map/marker.h"
#include "map/test_controls.h"

namespace {

using model_test::EditorWindow;
using ui::Variant;

class CurveSwitchTest : public ::testing::TestWithParam<Variant> {
 protected:
  void SetUp() override {
    for (int p = 1; p <= 26; ++p) {
      model.Working(1)[static_cast<std::size_t>(p - 1)] = static_cast<std::uint8_t>(p);
    }
    window.editor.Updatesc();
  }

  EditorWindow window{GetParam()};
  ui::ControlSet& controls = window.controls;
  map::CurveModel& model = window.model;
};

INSTANTIATE_TEST_SUITE_P(BothPrograms, CurveSwitchTest,
                         ::testing::Values(Variant::Palunor6, Variant::Palunor));

TEST_P(CurveSwitchTest, TheSwitchShowsTheOtherCurveAndNamesTheOneAfterIt) {
  ASSERT_EQ(controls["Button2"].Caption(), "Advance &1");
  controls["Button2"].Click();
  EXPECT_EQ(model.CurrentCurve, 1);
  EXPECT_EQ(controls["Button2"].Caption(), "Advance &2");
  for (int p = 1; p <= 26; ++p) {
    EXPECT_EQ(controls["Lb" + std::to_string(p)].Top(), map::RaisedMarkerTop(p)) << p;
  }
  const auto curves = window.Ops("Image1", ui::DrawKind::Polyline);
  ASSERT_GE(curves.size(), 2u);
  EXPECT_EQ(curves.back().pen.color, ui::kRed);
  EXPECT_EQ(curves.back().points[9], (ui::Point{18 + 24 * 9, 117 - 2 * 10}));

  controls["Button2"].Click();
  EXPECT_EQ(model.CurrentCurve, 2);
  EXPECT_EQ(controls["Button2"].Caption(), "Advance &1");
  EXPECT_EQ(controls["Lb10"].Top(), map::RaisedMarkerTop(25));
}

TEST_P(CurveSwitchTest, TheSwitchKeepsTheSelectedPoint) {
  for (int i = 1; i < 10; ++i) window.editor.SpeedButton4Click();
  const int left = controls["Lb30"].Left();
  controls["Button2"].Click();

  EXPECT_EQ(model.SelectedPoint, 10);
  EXPECT_EQ(model.SelectedValue, 10);
  EXPECT_EQ(model.GaugeAdvance, 10);
  EXPECT_EQ(controls["Label28"].Caption(), "-15");
  EXPECT_EQ(controls["Lb30"].Left(), left);
  EXPECT_EQ(controls["Lb30"].Top(), map::RaisedMarkerTop(10) - 9);

  // The arrows go on from the same point, now on curve 1.
  window.editor.SpeedButton1Click();
  EXPECT_EQ(model.Working(1)[9], 11);
  EXPECT_EQ(model.Working(2)[9], 25);
}

TEST(CurveSwitch, LeavesTheReadoutsBesideTheSelectionAsTheyWere) {
  EditorWindow window(Variant::Palunor6);
  window.model.Working(1).fill(40);
  window.editor.Updatesc();
  const ui::Rect rpm = window.controls["Lb31"].Bounds();
  const std::string degrees = window.controls["Lb32"].Caption();
  window.controls["Button2"].Click();
  EXPECT_EQ(window.controls["Lb31"].Bounds(), rpm);
  EXPECT_EQ(window.controls["Lb32"].Caption(), degrees);
}

class GaugePanelToggleTest : public ::testing::TestWithParam<Variant> {
 protected:
  // The gauge panel's pictures and labels that the toggle hides.
  std::vector<std::string> Gauges() const {
    std::vector<std::string> names = {"Image2",  "Image3",  "Label28",
                                      "Label30", "Label21", "imgStatus"};
    for (int n : {9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 23, 24, 25, 26, 27}) {
      names.push_back("Label" + std::to_string(n));
    }
    return names;
  }
  void ExpectGaugesShown(bool shown) {
    for (const std::string& name : Gauges()) EXPECT_EQ(controls[name].Visible(), shown) << name;
    EXPECT_EQ(controls["Label7"].Visible(), !shown);
    EXPECT_EQ(controls["Label8"].Visible(), !shown);
    for (const char* arrow : {"SpeedButton1", "SpeedButton2", "SpeedButton3", "SpeedButton4"}) {
      EXPECT_TRUE(controls[arrow].Visible()) << arrow;
    }
  }

  EditorWindow window{GetParam()};
  ui::ControlSet& controls = window.controls;
  map::GaugePanelToggle toggle{GetParam(), controls, window.live};
};

INSTANTIATE_TEST_SUITE_P(BothPrograms, GaugePanelToggleTest,
                         ::testing::Values(Variant::Palunor6, Variant::Palunor));

TEST_P(GaugePanelToggleTest, AClickOnTheAxisLabelHidesTheGaugesAndTheNextShowsThem) {
  ExpectGaugesShown(true);
  controls["Label20"].Click();
  EXPECT_TRUE(window.live.GaugesHidden);
  ExpectGaugesShown(false);
  controls["Label20"].Click();
  EXPECT_FALSE(window.live.GaugesHidden);
  ExpectGaugesShown(true);
}

TEST_P(GaugePanelToggleTest, TheDialsLabelsToggleTooAndTheCurvesStayAsTheyAre) {
  const map::CurveModel before = window.model;
  controls["Label10"].Click();
  ExpectGaugesShown(false);
  controls["Label20"].Click();
  controls["Label27"].Click();
  ExpectGaugesShown(false);
  EXPECT_EQ(window.model.AdvCurves, before.AdvCurves);
  EXPECT_EQ(window.model.CurrentCurve, before.CurrentCurve);
  EXPECT_EQ(window.model.SelectedPoint, before.SelectedPoint);
}

TEST(GaugePanelToggle, Label36TogglesInPalunor6) {
  EditorWindow window(Variant::Palunor6);
  map::GaugePanelToggle toggle(Variant::Palunor6, window.controls, window.live);
  window.controls["Label36"].Click();
  EXPECT_TRUE(window.live.GaugesHidden);
  EXPECT_FALSE(window.controls["Image2"].Visible());
  // The other axis labels are no toggles.
  window.controls["Label6"].Click();
  window.controls["Label37"].Click();
  EXPECT_TRUE(window.live.GaugesHidden);
}

}  // namespace
