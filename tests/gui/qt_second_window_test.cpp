// Guards the Qt second window: its canvas follows its size, the buttons, the pointer,
// the wheel and dragging reach the core, the picture exports as PNG, and the window
// comes back where the user left it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <vector>

#include "gui/qt_second_window.h"
#include "tests/gui/gui_harness.h"

namespace {

TEST(QtSecondWindow, ReportsWhatTheUserDoesAndComesBackInItsPlace) {
  gui_test::App();
  QTemporaryDir dir;
  gui::QtWindowFactory factory(dir.path().toStdString());
  auto window = factory.MakeWindow("plot");
  auto& widget = dynamic_cast<QWidget&>(*window);
  int resized = 0;
  std::vector<std::size_t> buttons;
  std::vector<int> wheel;
  std::vector<int> drags;
  ui::Point moved;
  window->OnResized = [&] { ++resized; };
  window->OnButton = [&](std::size_t b) { buttons.push_back(b); };
  window->OnWheel = [&](ui::Point, int steps) { wheel.push_back(steps); };
  window->OnDrag = [&](int dx) { drags.push_back(dx); };
  window->OnMouseMove = [&](ui::Point p) { moved = p; };
  window->SetButtons({"30 s", "60 s"});
  window->Show();
  widget.setGeometry(120, 90, 500, 400);
  QApplication::processEvents();
  ASSERT_GT(resized, 0);
  ui::Canvas& canvas = window->GetCanvas();
  EXPECT_GT(canvas.Width(), 300);
  EXPECT_GT(canvas.Height(), 200);

  const auto found = widget.findChildren<QPushButton*>();
  ASSERT_EQ(found.size(), 2);
  found[1]->click();
  EXPECT_EQ(buttons, std::vector<std::size_t>{1});

  QWidget* view = widget.childAt(widget.width() / 2, widget.height() / 2);
  ASSERT_NE(view, nullptr);
  QWheelEvent turn(QPointF(50, 40), view->mapToGlobal(QPointF(50, 40)), QPoint(), QPoint(0, 240),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(view, &turn);
  EXPECT_EQ(wheel, std::vector<int>{2});
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(50, 40), view->mapToGlobal(QPointF(50, 40)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view, &press);
  QMouseEvent move(QEvent::MouseMove, QPointF(80, 45), view->mapToGlobal(QPointF(80, 45)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view, &move);
  EXPECT_EQ(drags, std::vector<int>{30});
  EXPECT_EQ(moved, (ui::Point{80, 45}));

  canvas.brush = {ui::kRed};
  canvas.FillRect(0, 0, canvas.Width(), canvas.Height());
  const std::string png = window->PngBytes();
  QImage image;
  ASSERT_TRUE(image.loadFromData(reinterpret_cast<const uchar*>(png.data()),
                                 static_cast<int>(png.size()), "PNG"));
  EXPECT_EQ(image.pixelColor(5, 5), QColor(255, 0, 0));

  const QSize size = widget.size();
  widget.close();
  window.reset();
  auto again = factory.MakeWindow("plot");
  again->Show();
  QApplication::processEvents();
  EXPECT_EQ(dynamic_cast<QWidget&>(*again).size(), size);
}

}  // namespace
