// Guards what the window shows of its state in both programs: disabled controls of
// every kind look disabled in the rendered pixels, the bevels of the options panel are
// drawn, and the start-up activation runs once on showing whether or not the window
// system activates the window.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QWindow>
#include <string>

#include "tests/gui/gui_harness.h"

namespace {

using gui_test::GuiForm;

class WindowState : public ::testing::TestWithParam<ui::Variant> {};

INSTANTIATE_TEST_SUITE_P(BothPrograms, WindowState,
                         ::testing::Values(ui::Variant::Palunor6, ui::Variant::Palunor));

// Pixels dark enough to be ink: enabled text, marks, glyphs and arrows are drawn in
// them, the platform's greyed ones never are.
int DarkPixels(QWidget& widget) {
  const QImage image = widget.grab().toImage();
  int dark = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
  }
  return dark;
}

class NoActivation : public QObject {
 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    return event->type() == QEvent::WindowActivate || event->type() == QEvent::ActivationChange;
  }
};

int Count(const std::string& text, const std::string& what) {
  int count = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

TEST_P(WindowState, DisabledControlsOfEveryKindAreGreyed) {
  GuiForm gui(GetParam());
  gui.window->show();
  gui.form["Panel2"].SetVisible(true);
  // A button, a picture button, an arrow button, the check box, a label and an up-down.
  for (const char* name : {"RDBut", "btnPN", "SpeedButton1", "chTen", "lblTime", "UpDown3"}) {
    SCOPED_TRACE(name);
    ui::Control& control = gui.form[name];
    control.SetEnabled(true);
    EXPECT_GT(DarkPixels(gui.Widget(name)), 10);
    control.SetEnabled(false);
    EXPECT_EQ(DarkPixels(gui.Widget(name)), 0);
  }
}

TEST_P(WindowState, TheCommandsAreGreyedFromStartUntilTheControllerAnswers) {
  GuiForm gui(GetParam());
  gui.window->setAttribute(Qt::WA_ShowWithoutActivating);
  gui.window->show();
  QCoreApplication::processEvents();
  for (const char* name : {"RDBut", "SDBut", "Button3", "Button6", "btnAdvSet"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(gui.Widget(name).isEnabled());
    EXPECT_EQ(DarkPixels(gui.Widget(name)), 0);
  }
}

TEST_P(WindowState, ShowingTheWindowRunsTheStartUpActivationOnceWithoutTheWindowSystem) {
  GuiForm gui(GetParam());
  // A window system that never activates the window.
  NoActivation no_activation;
  gui.window->installEventFilter(&no_activation);
  QCoreApplication::processEvents();
  EXPECT_EQ(gui.device->WrittenText(), "");
  EXPECT_TRUE(gui.form["RDBut"].Enabled());

  gui.window->show();
  QCoreApplication::processEvents();
  EXPECT_EQ(gui.device->WrittenText(), "VER");
  EXPECT_FALSE(gui.form["RDBut"].Enabled());

  // Shown again after a hide, or activated later: never again.
  gui.form["RDBut"].SetEnabled(true);
  gui.window->hide();
  gui.window->show();
  gui.window->removeEventFilter(&no_activation);
  QEvent activate(QEvent::WindowActivate);
  QCoreApplication::sendEvent(gui.window.get(), &activate);
  QCoreApplication::processEvents();
  EXPECT_EQ(Count(gui.device->WrittenText(), "VER"), 1);
  EXPECT_TRUE(gui.form["RDBut"].Enabled());
}

TEST_P(WindowState, TheBevelsRoundTheVrefAndTimeRowsAreDrawn) {
  GuiForm gui(GetParam());
  gui.window->show();
  gui.form["Panel2"].SetVisible(true);
  for (const char* name : {"Bevel5", "Bevel6"}) {
    SCOPED_TRACE(name);
    const QImage image = gui.Widget(name).grab().toImage();
    const QRgb inside = image.pixel(image.width() / 2, image.height() / 2);
    EXPECT_NE(image.pixel(0, image.height() / 2), inside);
    EXPECT_NE(image.pixel(image.width() / 2, 0), inside);
    EXPECT_NE(image.pixel(image.width() - 1, image.height() / 2), inside);
  }
}

TEST_P(WindowState, TheWindowSystemIsOfferedNoMaximiseBox) {
  GuiForm gui(GetParam());
  gui.window->show();
  const Qt::WindowFlags flags = gui.window->windowHandle()->flags();
  EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
  EXPECT_EQ(gui.window->windowHandle()->minimumSize(), gui.window->windowHandle()->maximumSize());
}

}  // namespace
