// Guards recording and plotting against the emulator's running engine in the Qt front
// end: the CSV's rows are the frames the emulator sent, in order, the plot window opens
// beside the main window, and nothing more goes to the controller than without them.
#include <gtest/gtest.h>

#include <QMenu>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/e2e/e2e_harness.h"

namespace {

using e2e::E2e;

class LiveDataLog : public ::testing::TestWithParam<ui::Variant> {};

INSTANTIATE_TEST_SUITE_P(EndToEnd, LiveDataLog,
                         ::testing::Values(ui::Variant::Palunor6, ui::Variant::Palunor),
                         [](const auto& info) {
                           return info.param == ui::Variant::Palunor6 ? "Palunor6" : "Palunor";
                         });

// Right-clicks the chart and chooses `caption` from the context menu as it shows.
void ChooseFromMenu(E2e& e2e, const QString& caption) {
  auto* watch = new QTimer(&e2e.Window());
  QObject::connect(watch, &QTimer::timeout, [watch, caption] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    for (QAction* action : menu->actions()) {
      if (action->text() == caption) menu->setActiveAction(action);
    }
    watch->stop();
    watch->deleteLater();
    QTest::keyClick(menu, Qt::Key_Return);
  });
  watch->start(20);
  QWidget& chart = e2e.Widget("Image1");
  QTest::mouseClick(&chart, Qt::RightButton, Qt::NoModifier, QPoint(500, 110));
}

// The period and advance bytes of the rows of a log, as the emulator's log writes them.
std::string RowBytes(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::string bytes;
  bool rows = false;
  for (std::string line; std::getline(in, line);) {
    if (rows) {
      std::istringstream row(line);
      std::string f[6];
      for (std::string& field : f) std::getline(row, field, ',');
      bytes += static_cast<char>(std::stoi(f[4]));
      bytes += static_cast<char>(std::stoi(f[5]));
    }
    rows = rows || line.starts_with("time_ms,");
  }
  return bytes;
}

TEST_P(LiveDataLog, RecordsAndPlotsTheFramesTheEmulatorSentAndSendsNothing) {
  E2e e2e(GetParam());
  ASSERT_TRUE(e2e.EmulatorStarted());
  ASSERT_TRUE(e2e.WaitUntilFound()) << e2e.Caption();
  e2e.Click("Button3");
  ASSERT_TRUE(e2e.WaitForStatus("Receiving...")) << e2e.Text("lblstat");

  const std::filesystem::path file = e2e.WorkDir() / "run.csv";
  e2e.AnswerNextFileDialog(file);
  ChooseFromMenu(e2e, "Re&cord live data...");
  ChooseFromMenu(e2e, "&Plot...");
  QWidget* plot = nullptr;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->windowTitle() == "Plot: live data" && top->isVisible()) plot = top;
  }
  ASSERT_NE(plot, nullptr);
  EXPECT_GE(plot->geometry().left(), e2e.Window().geometry().right()) << "beside the window";
  // Three seconds of frames reach the file, a second at a time.
  EXPECT_TRUE(
      e2e::WaitUntil([&] { return RowBytes(file).size() >= 2 * 30u; }, e2e::kSupervisionLimit));
  ChooseFromMenu(e2e, "&Stop recording");

  // The rows are the frames the emulator sent, one after the other.
  const std::string rows = RowBytes(file);
  const std::string sent = e2e::LoggedBytes(e2e.Controller().Log(), "->", "LON");
  EXPECT_NE(sent.find(rows), std::string::npos) << e2e::Hex(rows);
  // The stream has the line to itself: nothing was heard since "LON".
  EXPECT_EQ(e2e::LoggedBytes(e2e.Controller().Log(), "<-", "LON"), "");
  plot->close();
  e2e.Click("Button3");
}

}  // namespace
