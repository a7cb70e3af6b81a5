// Guards dragging a curve point with the real mouse events of the Qt window: the
// pressed marker keeps the mouse while the button is held, wherever it goes, even over
// the selection marker beside it and outside the window, and gets it in its own
// coordinates.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QWindow>

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
