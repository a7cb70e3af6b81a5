// Guards the point table in the Qt front end of both programs: points typed into the
// table and set with its buttons are what the controller holds after Send.
#include <gtest/gtest.h>

#include "tests/e2e/e2e_harness.h"

namespace {

using e2e::E2e;

class PointTableDialog : public ::testing::TestWithParam<ui::Variant> {};

INSTANTIATE_TEST_SUITE_P(EndToEnd, PointTableDialog,
                         ::testing::Values(ui::Variant::Palunor6, ui::Variant::Palunor),
                         [](const auto& info) {
                           return info.param == ui::Variant::Palunor6 ? "Palunor6" : "Palunor";
                         });

// Types `text` into a cell as a user does: F2 opens the cell's editor, Return closes it.
void Type(QTableWidget& table, int row, int column, const char* text) {
  table.setCurrentCell(row, column);
  QTest::keyClick(&table, Qt::Key_F2);
  QWidget* editor = QApplication::focusWidget();
  QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(editor, text);
  QTest::keyClick(editor, Qt::Key_Return);
}

TEST_P(PointTableDialog, PointsTypedAndSetInTheTableAreWhatSendTakesToTheController) {
  E2e e2e(GetParam());
  ASSERT_TRUE(e2e.EmulatorStarted());
  ASSERT_TRUE(e2e.WaitUntilFound()) << e2e.Caption();
  e2e.Click("RDBut");
  ASSERT_TRUE(e2e.WaitForStatus("Lines Received!")) << e2e.Text("lblstat");
  std::vector<int> expected = e2e.State().Curve("ram2");

  e2e.AnswerNextMenu("&Edit points...");
  e2e.AnswerNextTable(
      [](QTableWidget& table, const std::function<void(const char*)>& click) {
        Type(table, 13, 3, "+12");  // point 14 of Advance 2
        table.clearSelection();
        table.setRangeSelected(QTableWidgetSelectionRange(19, 0, 21, 3), true);
        auto* degrees =
            table.parentWidget()->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
        degrees->setText("-4");
        click("Set Advance 2");
      },
      "OK");
  QWidget& chart = e2e.Widget("Image1");
  QTest::mouseClick(&chart, Qt::RightButton, Qt::NoModifier, QPoint(40, 40));
  expected[13] = 37;
  expected[19] = expected[20] = expected[21] = 21;
  ASSERT_EQ(e2e.ShownCurve(), expected);

  e2e.Click("SDBut");
  ASSERT_TRUE(e2e.WaitForStatus("LINE 2 SENT")) << e2e.Text("lblstat");
  EXPECT_EQ(e2e.State().Curve("ram2"), expected);
}

}  // namespace
