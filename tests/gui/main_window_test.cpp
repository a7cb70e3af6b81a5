// Guards the binding of the window to the control model in both programs: every
// control has a widget of its kind at its design place with its caption, and real
// clicks, drags and keys reach the form's handlers.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>
#include <string>
#include <vector>

#include "shell/layout.h"
#include "tests/gui/gui_harness.h"

namespace {

using gui_test::GuiForm;

class BothPrograms : public ::testing::TestWithParam<ui::Variant> {};

INSTANTIATE_TEST_SUITE_P(Window, BothPrograms,
                         ::testing::Values(ui::Variant::Palunor6, ui::Variant::Palunor));

QRect DesignRect(const ui::Control& control) {
  return QRect(control.Left(), control.Top(), control.Width(), control.Height());
}

void SendKey(QWidget& widget, int qt_key, const QString& text = QString()) {
  QKeyEvent press(QEvent::KeyPress, qt_key, Qt::NoModifier, text);
  QApplication::sendEvent(&widget, &press);
  QKeyEvent release(QEvent::KeyRelease, qt_key, Qt::NoModifier, text);
  QApplication::sendEvent(&widget, &release);
}

void SendMouse(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, QPointF(at), widget.mapToGlobal(QPointF(at)), button, held,
                    Qt::NoModifier);
  QApplication::sendEvent(&widget, &event);
}

TEST_P(BothPrograms, WindowHasTheFixedClientSizeAndTheFormsTitle) {
  GuiForm gui(GetParam());
  const shell::WindowSize size = shell::ClientSize(GetParam());
  EXPECT_EQ(gui.window->size(), QSize(size.width, size.height));
  EXPECT_EQ(gui.window->minimumSize(), gui.window->maximumSize());
  EXPECT_FALSE(gui.window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(gui.window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_EQ(gui.window->windowTitle().toStdString(), gui.form.Caption());

  gui.form.SetCaption("VYN Advance Controller Program  (QZR test)");
  EXPECT_EQ(gui.window->windowTitle().toStdString(), "VYN Advance Controller Program  (QZR test)");
}

TEST_P(BothPrograms, EveryControlHasAWidgetOfItsKindAtItsDesignPlace) {
  GuiForm gui(GetParam());
  for (ui::Control* control : gui.form.Controls().All()) {
    SCOPED_TRACE(control->Name());
    QWidget* widget = gui.window->Widget(control->Name());
    ASSERT_NE(widget, nullptr);
    QWidget* expected_parent = gui.window.get();
    if (control->Parent() != nullptr)
      expected_parent = gui.window->Widget(control->Parent()->Name());
    EXPECT_EQ(widget->parentWidget(), expected_parent);
    EXPECT_EQ(widget->isVisibleTo(expected_parent), control->Visible());
    EXPECT_EQ(widget->isEnabled(), control->Enabled() && expected_parent->isEnabled());
    const QString caption = QString::fromStdString(control->Caption());
    switch (control->Kind()) {
      case ui::ControlKind::Label: {
        // Labels keep their design place: a grown label would cover its neighbours.
        ASSERT_NE(qobject_cast<QLabel*>(widget), nullptr);
        EXPECT_EQ(qobject_cast<QLabel*>(widget)->text(), caption);
        EXPECT_EQ(widget->geometry(), DesignRect(*control));
        break;
      }
      case ui::ControlKind::Button:
      case ui::ControlKind::BitButton:
        ASSERT_NE(qobject_cast<QPushButton*>(widget), nullptr);
        EXPECT_EQ(qobject_cast<QPushButton*>(widget)->text(), caption);
        EXPECT_EQ(widget->geometry(), DesignRect(*control));
        break;
      case ui::ControlKind::SpeedButton:
        ASSERT_NE(qobject_cast<QToolButton*>(widget), nullptr);
        EXPECT_EQ(widget->focusPolicy(), Qt::NoFocus);
        EXPECT_EQ(widget->geometry(), DesignRect(*control));
        break;
      case ui::ControlKind::CheckBox:
        ASSERT_NE(qobject_cast<QCheckBox*>(widget), nullptr);
        EXPECT_EQ(qobject_cast<QCheckBox*>(widget)->isChecked(), control->Checked());
        EXPECT_EQ(widget->geometry(), DesignRect(*control));
        break;
      default:
        EXPECT_EQ(widget->geometry(), DesignRect(*control));
        break;
    }
  }
}

TEST_P(BothPrograms, StatusPictureShowsItsHintAsToolTip) {
  GuiForm gui(GetParam());
  EXPECT_EQ(gui.Widget("imgStatus").toolTip().toStdString(), gui.form["imgStatus"].Design().hint);
  EXPECT_FALSE(gui.Widget("imgStatus").toolTip().isEmpty());
}

TEST_P(BothPrograms, ModelChangesReachTheWidgets) {
  GuiForm gui(GetParam());
  ui::Control& label = gui.form["Label33"];
  label.SetCaption("1234");
  label.SetTop(300);
  EXPECT_EQ(qobject_cast<QLabel*>(&gui.Widget("Label33"))->text(), "1234");
  EXPECT_EQ(gui.Widget("Label33").y(), 300);

  gui.form["Panel2"].SetVisible(true);
  EXPECT_TRUE(gui.Widget("Panel2").isVisibleTo(gui.window.get()));
  gui.form["OpenBut"].SetEnabled(false);
  EXPECT_FALSE(gui.Widget("OpenBut").isEnabled());
  gui.form["lblstat"].SetFontColor(ui::kAqua);
  EXPECT_EQ(gui.Widget("lblstat").palette().color(QPalette::Active, QPalette::WindowText),
            QColor(0, 255, 255));
}

TEST_P(BothPrograms, ClickingARealButtonReachesItsControlsOnClick) {
  GuiForm gui(GetParam());
  int clicks = 0;
  gui.form["Button2"].OnClick = [&clicks] { ++clicks; };
  auto& button = *qobject_cast<QPushButton*>(&gui.Widget("Button2"));
  button.click();
  EXPECT_EQ(clicks, 1);
  gui.form["Button2"].SetCaption("Advance &2");
  EXPECT_EQ(button.text(), "Advance &2");
}

TEST_P(BothPrograms, ClickingAnArrowButtonRunsItsEditorStep) {
  GuiForm gui(GetParam());
  const int lb30_left = gui.form["Lb30"].Left();
  qobject_cast<QToolButton*>(&gui.Widget("SpeedButton4"))->click();
  EXPECT_EQ(gui.form["Lb30"].Left(), lb30_left + 24);
  EXPECT_EQ(gui.Widget("Lb30").x(), lb30_left + 24);
}

TEST_P(BothPrograms, CheckBoxMarkFollowsTheModelNotTheWidget) {
  GuiForm gui(GetParam());
  auto& box = *qobject_cast<QCheckBox*>(&gui.Widget("chTen"));
  const bool checked = gui.form["chTen"].Checked();
  // The options panel is hidden, so the model refuses the click and the mark stays.
  box.click();
  EXPECT_EQ(gui.form["chTen"].Checked(), checked);
  EXPECT_EQ(box.isChecked(), checked);
  gui.form["Panel2"].SetVisible(true);
  box.click();
  EXPECT_EQ(gui.form["chTen"].Checked(), !checked);
  EXPECT_EQ(box.isChecked(), !checked);
}

TEST_P(BothPrograms, MarkerMouseEventsArriveInMarkerCoordinatesWhileItHoldsTheMouse) {
  GuiForm gui(GetParam());
  ui::Control& marker = gui.form["Lb5"];
  std::vector<std::string> seen;
  marker.OnMouseDown = [&seen](ui::MouseButton, int x, int y) {
    seen.push_back("down " + std::to_string(x) + "," + std::to_string(y));
  };
  marker.OnMouseMove = [&seen](int x, int y) {
    seen.push_back("move " + std::to_string(x) + "," + std::to_string(y));
  };
  marker.OnMouseUp = [&seen](ui::MouseButton, int x, int y) {
    seen.push_back("up " + std::to_string(x) + "," + std::to_string(y));
  };
  QWidget& widget = gui.Widget("Lb5");
  SendMouse(widget, QEvent::MouseButtonPress, {5, 6}, Qt::LeftButton);
  SendMouse(widget, QEvent::MouseMove, {5, -15}, Qt::LeftButton);
  SendMouse(widget, QEvent::MouseButtonRelease, {5, -15}, Qt::NoButton);
  EXPECT_EQ(seen, (std::vector<std::string>{"down 5,6", "move 5,-15", "up 5,-15"}));
}

TEST_P(BothPrograms, SpaceOnAFocusedCommandButtonDoesNotPressIt) {
  GuiForm gui(GetParam());
  int clicks = 0;
  gui.form["Button2"].OnClick = [&clicks] { ++clicks; };
  gui.form["Button2"].SetFocus();
  ASSERT_EQ(gui.form.Controls().Focus(), &gui.form["Button2"]);
  SendKey(gui.Widget("Button2"), Qt::Key_Space, " ");
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(gui.form["Label32"].Caption(), "32");
}

TEST_P(BothPrograms, EnterOnAFocusedButtonPressesIt) {
  GuiForm gui(GetParam());
  int clicks = 0;
  gui.form["Button2"].OnClick = [&clicks] { ++clicks; };
  gui.form["Button2"].SetFocus();
  SendKey(gui.Widget("Button2"), Qt::Key_Return, "\r");
  EXPECT_EQ(clicks, 1);
  // Enter is a dialog key: the button's own key handler never saw it.
  EXPECT_EQ(gui.form["Label32"].Caption(), "");
}

TEST_P(BothPrograms, ArrowKeysOnTheWindowMoveTheSelectedPoint) {
  GuiForm gui(GetParam());
  gui.form.Controls().SetFocus(nullptr);
  const int top = gui.form["Lb1"].Top();
  SendKey(*gui.window, Qt::Key_Up);
  EXPECT_LT(gui.form["Lb1"].Top(), top);
  const int lb30_left = gui.form["Lb30"].Left();
  SendKey(*gui.window, Qt::Key_Right);
  EXPECT_EQ(gui.form["Lb30"].Left(), lb30_left + 24);
}

TEST_P(BothPrograms, CharactersTypedOnTheWindowAreShownAsTheirCode) {
  GuiForm gui(GetParam());
  gui.form.Controls().SetFocus(nullptr);
  SendKey(*gui.window, Qt::Key_A, "a");
  EXPECT_EQ(gui.form["Label29"].Caption(), "97");
}

TEST_P(BothPrograms, FocusSinkHandsTheKeyboardBackToTheWindow) {
  GuiForm gui(GetParam());
  gui.window->show();
  gui.form["Button2"].SetFocus();
  // A press on an arrow button runs the focus sink: the window ends up with the focus.
  qobject_cast<QToolButton*>(&gui.Widget("SpeedButton4"))->click();
  EXPECT_EQ(gui.form.Controls().Focus(), nullptr);
  EXPECT_FALSE(gui.Widget("Panel1").isVisible());
}

TEST_P(BothPrograms, ClosingTheWindowWritesTheConfigurationFile) {
  GuiForm gui(GetParam());
  gui.window->show();
  gui.window->close();
  EXPECT_TRUE(QFileInfo::exists(gui.dir.path() + "/Advance.INI") ||
              QFileInfo::exists(gui.dir.path() + "/Advance.ini"));
}

}  // namespace
