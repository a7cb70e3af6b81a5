// Guards the context menu and the close warning in the Qt programs against the
// controller-sim program: the menu opened by a right click and by Shift+F10, a drag
// undone and the undone curve sent, and closing with an unsent curve asked about.
#include <gtest/gtest.h>

#include <QMenu>

#include "tests/e2e/e2e_harness.h"

namespace {

using e2e::E2e;

class Safekeeping : public ::testing::TestWithParam<ui::Variant> {
 protected:
  // Chooses the item whose text begins with `caption` in the next popup menu.
  static void ChooseInNextMenu(const QString& caption) {
    auto* watch = new QTimer();
    QObject::connect(watch, &QTimer::timeout, [watch, caption] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (menu == nullptr) return;
      watch->stop();
      watch->deleteLater();
      for (QAction* action : menu->actions()) {
        if (!action->text().startsWith(caption)) continue;
        if (!action->isEnabled()) break;
        menu->setActiveAction(action);
        QTest::keyClick(menu, Qt::Key_Return);
        return;
      }
      ADD_FAILURE() << "no enabled item " << caption.toStdString();
      menu->close();
    });
    watch->start(20);
  }
};

INSTANTIATE_TEST_SUITE_P(EndToEnd, Safekeeping,
                         ::testing::Values(ui::Variant::Palunor6, ui::Variant::Palunor),
                         [](const auto& info) {
                           return info.param == ui::Variant::Palunor6 ? "Palunor6" : "Palunor";
                         });

TEST_P(Safekeeping, ADragUndoneFromTheMenuIsWhatTheNextSendGives) {
  E2e e2e(GetParam());
  ASSERT_TRUE(e2e.EmulatorStarted());
  ASSERT_TRUE(e2e.WaitUntilFound()) << e2e.Caption();
  e2e.Click("RDBut");
  ASSERT_TRUE(e2e.WaitForStatus("Lines Received!")) << e2e.Text("lblstat");
  const std::vector<int> read2 = e2e.State().Curve("ram2");
  ASSERT_EQ(e2e.ShownCurve(), read2);

  e2e.Drag("Lb6", read2[5] > 25 ? 10 : -10);
  const std::vector<int> dragged = e2e.ShownCurve();
  ASSERT_NE(dragged, read2);
  e2e.Click("SDBut");
  ASSERT_TRUE(e2e.WaitForStatus("LINE 2 SENT")) << e2e.Text("lblstat");
  ASSERT_EQ(e2e.State().Curve("ram2"), dragged);

  // A right click on the chart beside the markers.
  ChooseInNextMenu("&Undo");
  QTest::mouseClick(&e2e.Widget("Image1"), Qt::RightButton, Qt::NoModifier, QPoint(8, 8));
  ASSERT_EQ(e2e.ShownCurve(), read2);
  EXPECT_TRUE(e2e.Shown("Label34"));
  // Shift+F10 opens the same menu from the keyboard.
  ChooseInNextMenu("&Redo");
  QTest::keyClick(&e2e.Window(), Qt::Key_F10, Qt::ShiftModifier);
  ASSERT_EQ(e2e.ShownCurve(), dragged);
  QTest::keyClick(&e2e.Window(), Qt::Key_Z, Qt::ControlModifier);
  ASSERT_EQ(e2e.ShownCurve(), read2);
  EXPECT_EQ(e2e.State().Curve("ram2"), dragged) << "undo writes nothing";

  e2e.Click("SDBut");
  ASSERT_TRUE(e2e.WaitForStatus("LINE 2 SENT")) << e2e.Text("lblstat");
  ASSERT_EQ(e2e.State().Curve("ram2"), read2);
  EXPECT_FALSE(e2e.Shown("Label34"));
}

TEST_P(Safekeeping, ClosingWithAnUnsentCurveAsksAndCancelKeepsTheWindow) {
  E2e e2e(GetParam());
  ASSERT_TRUE(e2e.EmulatorStarted());
  ASSERT_TRUE(e2e.WaitUntilFound()) << e2e.Caption();
  e2e.Drag("Lb8", -10);
  ASSERT_TRUE(e2e.Shown("Label34"));
  e2e.Window().OnClosed = nullptr;
  const auto ini_written = [&e2e] {
    return e2e::fs::exists(e2e.WorkDir() / "Advance.ini") ||
           e2e::fs::exists(e2e.WorkDir() / "Advance.INI");
  };

  e2e.AnswerNextMessageBox(QMessageBox::Cancel);
  e2e.Window().close();
  EXPECT_NE(e2e.LastMessage().find("Advance 2: edited and not sent"), std::string::npos)
      << e2e.LastMessage();
  EXPECT_TRUE(e2e.Window().isVisible());
  EXPECT_FALSE(ini_written());

  e2e.AnswerNextMessageBox(QMessageBox::Ok);
  e2e.Window().close();
  EXPECT_FALSE(e2e.Window().isVisible());
  EXPECT_TRUE(ini_written());
}

}  // namespace
