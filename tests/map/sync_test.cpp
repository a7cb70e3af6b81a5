// Guards the pending marks: Label34 shows exactly while the curves on screen differ
// from the controller's copy, Label35 exactly while a sent curve is not recorded.
#include "map/sync.h"

#include <gtest/gtest.h>

#include "map/test_controls.h"

namespace {

TEST(CheckSync, EqualCurvesHideBothMarks) {
  model_test::EditorWindow window(ui::Variant::Palunor6);
  window.controls["Label34"].SetVisible(true);
  map::CheckSync(window.model, window.controls);
  EXPECT_TRUE(window.model.CurvesInSync);
  EXPECT_FALSE(window.controls["Label34"].Visible());
  EXPECT_FALSE(window.controls["Label35"].Visible());
}

TEST(CheckSync, AnEditShowsTheSendMarkAndUndoingItHidesIt) {
  model_test::EditorWindow window(ui::Variant::Palunor6);
  window.model.Working(2)[25] = 30;
  map::CheckSync(window.model, window.controls);
  EXPECT_FALSE(window.model.CurvesInSync);
  EXPECT_TRUE(window.controls["Label34"].Visible());

  window.model.Working(2)[25] = 25;
  map::CheckSync(window.model, window.controls);
  EXPECT_TRUE(window.model.CurvesInSync);
  EXPECT_FALSE(window.controls["Label34"].Visible());
}

TEST(CheckSync, TheCurveNotShownCountsToo) {
  model_test::EditorWindow window(ui::Variant::Palunor);
  window.model.CurrentCurve = 2;
  window.model.Device(1)[0] = 10;
  map::CheckSync(window.model, window.controls);
  EXPECT_FALSE(window.model.CurvesInSync);
  EXPECT_TRUE(window.controls["Label34"].Visible());
}

TEST(CheckSync, AnUnrecordedCurveShowsTheEepromMark) {
  model_test::EditorWindow window(ui::Variant::Palunor6);
  window.model.CurvesStored = false;
  map::CheckSync(window.model, window.controls);
  EXPECT_TRUE(window.controls["Label35"].Visible());
  EXPECT_FALSE(window.controls["Label34"].Visible());

  window.model.CurvesStored = true;
  map::CheckSync(window.model, window.controls);
  EXPECT_FALSE(window.controls["Label35"].Visible());
}

}  // namespace
