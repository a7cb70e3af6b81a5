// Guards the backups in the Qt program: a Read leaves a backup in the user's data
// folder, and the backups list reached from the chart's context menu opens it.
#include <gtest/gtest.h>

#include <QMenu>
#include <QTableWidget>

#include "map/map_file.h"
#include "tests/e2e/e2e_harness.h"

namespace {

using e2e::E2e;
using e2e::fs::path;

class BackupsEndToEnd : public ::testing::TestWithParam<ui::Variant> {};

INSTANTIATE_TEST_SUITE_P(EndToEnd, BackupsEndToEnd,
                         ::testing::Values(ui::Variant::Palunor6, ui::Variant::Palunor),
                         [](const auto& info) {
                           return info.param == ui::Variant::Palunor6 ? "Palunor6" : "Palunor";
                         });

// Every 20 ms until it has acted: the menu open chooses `caption`, the backups list
// open opens its first row. What is never answered is closed by the test's end.
void AnswerMenuThenTable(const QString& caption, QWidget& owner) {
  auto* watch = new QTimer(&owner);
  QObject::connect(watch, &QTimer::timeout, [watch, caption] {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      for (QAction* action : menu->actions()) {
        if (action->text() == caption) menu->setActiveAction(action);
      }
      QTest::keyClick(menu, Qt::Key_Return);
      return;
    }
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    auto* table = modal->findChild<QTableWidget*>();
    if (table == nullptr || table->rowCount() == 0) return;
    table->selectRow(0);
    for (QPushButton* button : modal->findChildren<QPushButton*>()) {
      if (button->text() == "Open") button->click();
    }
    watch->stop();
    watch->deleteLater();
  });
  watch->start(20);
}

TEST_P(BackupsEndToEnd, AReadIsBackedUpAndTheListOpensTheBackup) {
  E2e e2e(GetParam());
  ASSERT_TRUE(e2e.EmulatorStarted());
  ASSERT_TRUE(e2e.WaitUntilFound()) << e2e.Caption();
  e2e.Click("RDBut");
  ASSERT_TRUE(e2e.WaitForStatus("Lines Received!")) << e2e.Text("lblstat");
  // What the controller holds, by its own account.
  std::array<map::Curve, 2> held{};
  for (std::size_t c = 0; c < 2; ++c) {
    const std::vector<int> ram = e2e.State().Curve(c == 0 ? "ram1" : "ram2");
    std::copy(ram.begin(), ram.end(), held[c].begin());
  }

  const path folder = e2e.WorkDir() / "data" / "palunor" / "backups";
  const auto backup = e2e::fs::directory_iterator(folder)->path();
  EXPECT_TRUE(backup.filename().string().ends_with(" QZR 6.0 read.IJJ")) << backup.filename();
  std::ifstream in(backup, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), map::MapFileText(held));

  // The user changes both curves, then takes the backup back.
  e2e.Model().AdvCurves[0].fill(30);
  e2e.Model().AdvCurves[1].fill(20);
  AnswerMenuThenTable("&Backups...", e2e.Window());
  QWidget& chart = e2e.Widget("Image1");
  QTest::mouseClick(&chart, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
  ASSERT_TRUE(e2e.WaitFor([&] { return e2e.Model().AdvCurves == held; }));
  EXPECT_EQ(e2e.ShownCurve(), E2e::Values(held[1]));
}

}  // namespace
