// Guards dragging a point marker at every display scale (the window built at 96, 120,
// 144, 168 and 192 DPI): a pointer at rest never moves the marker, and the marker's top
// for a pointer position is the design's rule applied to the pointer's design pixel.
#include <gtest/gtest.h>

#include "map/curve_model.h"
#include "tests/win32gui/window_harness.h"

namespace {

using win32gui_test::At;
using win32gui_test::WindowForm;

class DragAtScale : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    gui.ShowActive();
    RECT frame;
    GetWindowRect(gui.window->Handle(), &frame);
    SendMessageW(gui.window->Handle(), WM_DPICHANGED, MAKEWPARAM(Dpi(), Dpi()),
                 reinterpret_cast<LPARAM>(&frame));
    gui.Pump();
  }
  static int Dpi() { return GetParam(); }
  // The design pixel a device pixel of the window lies on.
  static int Design(int device) { return MulDiv(device, 96, Dpi()); }

  // The marker's place in its parent, in device pixels, as it stands now.
  RECT Place() const {
    HWND marker = gui.Child("Lb5");
    RECT place;
    GetWindowRect(marker, &place);
    MapWindowPoints(HWND_DESKTOP, GetParent(marker), reinterpret_cast<POINT*>(&place), 2);
    return place;
  }
  // A mouse message at a place of the parent, as the marker receives it where it is now.
  void Mouse(UINT message, WPARAM keys, int x, int y) {
    const RECT place = Place();
    gui.Post("Lb5", message, keys, At(x - place.left, y - place.top));
  }

  WindowForm gui{ui::Variant::Palunor6};
};

INSTANTIATE_TEST_SUITE_P(Scales, DragAtScale, ::testing::Values(96, 120, 144, 168, 192));

TEST_P(DragAtScale, APointerAtRestNeverMovesTheMarkerAndReachesTheDesignValue) {
  map::CurveModel& model = gui.form.Model();
  const RECT start = Place();
  ASSERT_EQ(start.top, MulDiv(gui.form["Lb5"].Top(), Dpi(), 96)) << "the window is at the scale";
  const int x = start.left + 3;
  const int pressed = start.top + MulDiv(8, Dpi(), 96) + 1;
  Mouse(WM_LBUTTONDOWN, MK_LBUTTON, x, pressed);
  ASSERT_TRUE(model.Dragging);
  const int drag_start = Design(pressed) - gui.form["Lb5"].Top();

  const int span = MulDiv(30, Dpi(), 96);  // 15 degrees either way: within every limit
  for (int rest = pressed - span; rest <= pressed + span; ++rest) {
    Mouse(WM_MOUSEMOVE, MK_LBUTTON, x, rest);
    const int top = Design(rest) - drag_start;
    ASSERT_EQ(gui.form["Lb5"].Top(), top) << "pointer at device y " << rest;
    for (int again = 0; again < 3; ++again) {
      Mouse(WM_MOUSEMOVE, MK_LBUTTON, x, rest);
      ASSERT_EQ(gui.form["Lb5"].Top(), top) << "the pointer rests at device y " << rest;
    }
    EXPECT_EQ(model.Working(model.CurrentCurve)[4], (111 - top) / 2);
    EXPECT_EQ(Place().top, MulDiv(top, Dpi(), 96)) << "the marker's window follows it";
  }
  Mouse(WM_LBUTTONUP, 0, x, pressed + span);
  EXPECT_FALSE(model.Dragging);
}

}  // namespace
