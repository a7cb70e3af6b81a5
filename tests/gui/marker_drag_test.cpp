// Guards dragging a curve point with the real mouse events of the Qt window: the
// pressed marker keeps the mouse while the button is held, wherever it goes, even over
// the selection marker beside it and outside the window, and gets it in its own
// coordinates.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QWindow>
#include <QtMath>

#include "live/option_state.h"
#include "map/curve_model.h"
#include "tests/gui/gui_harness.h"

namespace {

using gui_test::GuiForm;

class MarkerDrag : public ::testing::TestWithParam<ui::Variant> {
 protected:
  void SetUp() override {
    gui.window->show();
    ASSERT_NE(gui.window->windowHandle(), nullptr);
  }

  // A mouse event as the window system hands it to the window, at a point given in
  // the coordinates of widget `name`; the window finds the widget it goes to.
  void Send(QEvent::Type type, const std::string& name, QPoint at, Qt::MouseButton button,
            Qt::MouseButtons held) {
    const QPointF in_window(gui.Widget(name).mapTo(gui.window.get(), at));
    QMouseEvent event(type, in_window, in_window, gui.window->mapToGlobal(in_window), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(gui.window->windowHandle(), &event);
  }
  void Hover(const std::string& name, QPoint at) {
    Send(QEvent::MouseMove, name, at, Qt::NoButton, Qt::NoButton);
  }
  void Press(const std::string& name, QPoint at) {
    Send(QEvent::MouseButtonPress, name, at, Qt::LeftButton, Qt::LeftButton);
  }
  void DragTo(const std::string& name, QPoint at) {
    Send(QEvent::MouseMove, name, at, Qt::NoButton, Qt::LeftButton);
  }
  void Release(const std::string& name, QPoint at) {
    Send(QEvent::MouseButtonRelease, name, at, Qt::LeftButton, Qt::NoButton);
  }

  GuiForm gui{GetParam()};
  map::CurveModel& model = gui.form.Model();
};

INSTANTIATE_TEST_SUITE_P(Window, MarkerDrag,
                         ::testing::Values(ui::Variant::Palunor6, ui::Variant::Palunor));

TEST_P(MarkerDrag, APointDraggedOutsideTheWindowStopsAtItsLimitsAndFollowsTheMouseBack) {
  const int below = gui.window->height() + 500;
  Hover("Lb5", {4, 8});
  EXPECT_EQ(model.SelectedPoint, 5);
  // The press lands where the selection marker, moved over point 5, covers it.
  Press("Lb5", {4, 8});
  ASSERT_TRUE(model.Dragging);
  EXPECT_EQ(model.DragStartY, 8);

  DragTo("Lb5", {4, -600});  // far above the window
  EXPECT_EQ(gui.form["Lb5"].Top(), 10);
  EXPECT_EQ(model.Working(2)[4], 50);
  EXPECT_EQ(gui.Widget("Lb5").y(), 10);

  DragTo("Lb5", {2000, below});  // far below and to the right of it
  EXPECT_EQ(gui.form["Lb5"].Top(), 111);
  EXPECT_EQ(model.Working(2)[4], 0);
  EXPECT_EQ(gui.form["Lb5"].Left(), 112);

  DragTo("Lb5", {4, 8 - 20});  // back into the chart: 20 pixels up, 10 degrees
  EXPECT_EQ(gui.form["Lb5"].Top(), 91);
  EXPECT_EQ(model.Working(2)[4], 10);

  Release("Lb5", {4, below});
  EXPECT_FALSE(model.Dragging);
  Hover("Lb5", {4, below});
  EXPECT_EQ(model.Working(2)[4], 10);
  EXPECT_EQ(model.SelectedPoint, 5);
}

// Run at every display scale (QT_SCALE_FACTOR 1 to 2, see tests/CMakeLists.txt): the
// window system hands the window device pixels divided by the device pixel ratio.
TEST_P(MarkerDrag, APointerAtRestNeverMovesTheMarkerAndReachesTheDesignValueAtAnyScale) {
  const qreal ratio = gui.window->devicePixelRatioF();
  const QPoint marker = gui.Widget("Lb5").mapTo(gui.window.get(), QPoint());
  // A mouse event at a device pixel row of the window, in the window's coordinates.
  const auto at_device_row = [&](QEvent::Type type, int row, Qt::MouseButton button,
                                 Qt::MouseButtons held) {
    const QPointF in_window((marker.x() + 3) * 1.0, row / ratio);
    QMouseEvent event(type, in_window, in_window, gui.window->mapToGlobal(in_window), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(gui.window->windowHandle(), &event);
  };
  // The first device row inside the marker: the press is on its top design pixel, where
  // a pointer resting just above the moved marker is the first to be rounded out of it.
  const int pressed = qCeil(marker.y() * ratio);
  at_device_row(QEvent::MouseMove, pressed, Qt::NoButton, Qt::NoButton);
  at_device_row(QEvent::MouseButtonPress, pressed, Qt::LeftButton, Qt::LeftButton);
  ASSERT_TRUE(model.Dragging);
  const int start_top = gui.form["Lb5"].Top();

  const int span = qRound(30 * ratio);  // 15 degrees either way: within every limit
  for (int rest = pressed - span; rest <= pressed + span; ++rest) {
    // The marker moves by the pointer's travel in design pixels, the design pixel of a
    // device row being the one nearest its place, as on Windows.
    const int top = start_top + qRound(rest / ratio) - qRound(pressed / ratio);
    for (int again = 0; again < 4; ++again) {
      at_device_row(QEvent::MouseMove, rest, Qt::NoButton, Qt::LeftButton);
      ASSERT_EQ(gui.form["Lb5"].Top(), top) << "the pointer rests at device row " << rest;
    }
    EXPECT_EQ(model.Working(model.CurrentCurve)[4], (111 - top) / 2);
    EXPECT_EQ(gui.Widget("Lb5").y(), top);
  }
  at_device_row(QEvent::MouseButtonRelease, pressed, Qt::LeftButton, Qt::NoButton);
  EXPECT_FALSE(model.Dragging);
}

TEST_P(MarkerDrag, PointOneStopsAtItsRetardLimitBelowTheWindow) {
  Hover("Lb1", {4, 8});
  Press("Lb1", {4, 8});
  DragTo("Lb1", {4, gui.window->height() + 100});
  Release("Lb1", {4, gui.window->height() + 100});
  EXPECT_EQ(gui.form["Lb1"].Top(), 91);
  EXPECT_EQ(model.Working(2)[0], 10);
  EXPECT_FALSE(model.Dragging);
}

TEST_P(MarkerDrag, AClickOnTheAxisLabelTogglesTheGaugePanel) {
  const std::string label = "Label20";
  Press(label, {2, 2});
  Release(label, {2, 2});
  EXPECT_TRUE(gui.form.Live().GaugesHidden);
  EXPECT_FALSE(gui.Widget("Image2").isVisible());
  EXPECT_TRUE(gui.Widget("Label7").isVisible());
}

}  // namespace
