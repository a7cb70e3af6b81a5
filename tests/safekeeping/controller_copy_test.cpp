// Guards the controller's copy beside the working curves: the differences table
// against the controller and a map file, revert, the dim line on the chart (and the
// chart as before without it), and the confirmation before Send and REC EEPR.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <vector>

#include "map/axis.h"
#include "safekeeping_bench.h"

namespace {

using safekeeping_test::Line;
using Rows = std::vector<std::vector<std::string>>;

class ControllerCopy : public ::testing::TestWithParam<ui::Variant> {
 protected:
  // Point 4 of Advance 2 two degrees up, point 1 of Advance 1 one degree up.
  void EditBothCurves() {
    for (int key : {39, 39, 39, 38, 38}) bench.Key(key);
    bench.Click("Button2");  // the selection stays on point 4
    for (int key : {37, 37, 37, 38}) bench.Key(key);
  }
  int Rpm(int point) { return map::PointRpm(GetParam(), bench.Model().DeviceVersion, point); }
  std::vector<std::string> Row(int curve, int point, int other, int screen) {
    return {"Advance " + std::to_string(curve), std::to_string(point), std::to_string(Rpm(point)),
            std::to_string(other - 25), std::to_string(screen - 25)};
  }
  // The table as Ctrl+D opened it; `script` works it.
  ui::TableState Differences(ui::ScriptedDialogs::TableScript script = {}) {
    bench.dialogs.ClearHistory();
    if (script) bench.dialogs.AnswerTable(std::move(script));
    EXPECT_TRUE(bench.Ctrl('D'));
    const auto& shown = bench.dialogs.History();
    return shown.empty() ? ui::TableState{} : shown[0].table.value_or(ui::TableState{});
  }

  safekeeping_test::Bench bench{GetParam()};
};

TEST_P(ControllerCopy, DifferencesAgainstTheControllerAndAMapFileAndRevert) {
  EXPECT_FALSE(bench.Enabled("&Differences..."));
  EXPECT_FALSE(bench.Enabled("Re&vert to controller's copy"));
  bench.Read();
  EXPECT_TRUE(Differences().rows.empty());
  EditBothCurves();
  const sim::Controller& c = bench.controller;
  const Rows expected{Row(1, 1, c.Ram(1)[0], c.Ram(1)[0] + 1),
                      Row(2, 4, c.Ram(2)[3], c.Ram(2)[3] + 2)};
  const ui::TableState table = Differences();
  EXPECT_EQ(table.columns[3], "Controller");
  EXPECT_EQ(table.rows, expected);

  // A map holding Advance 1 flat and Advance 2 as the screen does; a file that is none.
  bench.MapFile("mine.IJJ", {Line(25, 0), bench.Model().Working(2)});
  std::ofstream(bench.dir / "notes.IJJ") << "SD1 hello\r\n";
  for (const char* name : {"notes.IJJ", "mine.IJJ"}) bench.dialogs.AnswerFile(name);
  bench.dialogs.AnswerFile(std::nullopt);
  std::vector<ui::TableState> seen;
  Differences([&](const ui::TableRequest& r, ui::TableState& s) {
    for (int action : {0, 0, 1}) {
      r.act(static_cast<std::size_t>(action), s);
      seen.push_back(s);
    }
    return false;
  });
  ASSERT_EQ(seen.size(), 3U);
  EXPECT_EQ(seen[0].rows, expected);
  EXPECT_EQ(seen[0].note,
            "\"notes.IJJ\" is not a map file: a map file holds two lines of 26 points.");
  Rows against_file;
  for (int p = 1; p <= 26; ++p) {
    if (c.Ram(1)[p - 1] + (p == 1) != 25)
      against_file.push_back(Row(1, p, 25, c.Ram(1)[p - 1] + (p == 1)));
  }
  EXPECT_EQ(seen[1].columns[3], "File");
  EXPECT_EQ(seen[1].rows, against_file);
  EXPECT_EQ(seen[2], seen[1]) << "no backup chosen: the table stays";
  const auto& opened = bench.dialogs.History();
  EXPECT_EQ(opened.at(1).request.initial_dir, bench.dir.string());
  EXPECT_EQ(opened.at(3).request.initial_dir, bench.form.Preferences().backup_folder);

  // Revert: Advance 1 shown, back to the controller's copy as one step.
  const map::Curve edited1 = bench.Model().Working(1);
  bench.Choose("Re&vert to controller's copy");
  EXPECT_EQ(bench.Model().Working(1), c.Ram(1));
  EXPECT_FALSE(bench.Enabled("Re&vert to controller's copy"));
  bench.Ctrl('Z');
  EXPECT_EQ(bench.Model().Working(1), edited1);
  EXPECT_EQ(Differences().rows, expected);
}

TEST_P(ControllerCopy, TheDimLineIsDrawnOnlyWhileShownAndTheChartIsOtherwiseAsBefore) {
  bench.Read();
  bench.Drag(6, -16);
  auto& chart = static_cast<ui::RecordingCanvas&>(*bench.form["Image1"].GetCanvas());
  const auto drawn = [&chart](const std::function<void()>& draw) {
    chart.Clear();
    draw();
    std::vector<std::tuple<ui::DrawKind, std::vector<ui::Point>, ui::Pen>> all;
    // A fill is drawn with the brush: the pen left from the drawing before does not count.
    for (const ui::DrawOp& op : chart.Ops()) {
      all.emplace_back(op.kind, op.points, op.kind == ui::DrawKind::FillRect ? ui::Pen{} : op.pen);
    }
    return all;
  };
  bench.Click("Button2");
  const auto plain = drawn([&] { bench.Click("Button2"); });  // as the curve switch draws it
  auto shown = drawn([&] { bench.Choose("Show controller's copy"); });
  ASSERT_EQ(shown.size(), plain.size() + 1);
  const auto dim = shown[shown.size() - 2];
  EXPECT_EQ(std::get<2>(dim).color, ui::kGray);
  // Along the controller's copy, under the working curve.
  EXPECT_EQ(std::get<1>(dim), std::get<1>(plain[plain.size() - 2]));
  EXPECT_NE(std::get<1>(dim), std::get<1>(plain.back()));
  shown.erase(shown.end() - 2);
  EXPECT_EQ(shown, plain);
  EXPECT_EQ(drawn([&] { bench.Choose("Show controller's copy"); }), plain);
}

TEST_P(ControllerCopy, ConfirmedWritesListTheDifferencesAndCancelWritesNothing) {
  bench.Read();
  bench.form.Preferences().confirm_writes = true;
  bench.Key(38);
  const int before = bench.controller.Ram(2)[0];
  bench.dialogs.ClearHistory();
  bench.written.clear();
  bench.dialogs.Answer(ui::DialogResult::Cancel);
  bench.Click("SDBut");
  EXPECT_EQ(bench.dialogs.History().at(0).text,
            "Send Advance 2 to the controller?\r\nPoints where the screen differs from the "
            "controller:\r\nPoint 1 (" +
                std::to_string(Rpm(1)) + " RPM): controller " + std::to_string(before - 25) +
                ", screen " + std::to_string(before - 24));
  bench.dialogs.Answer(ui::DialogResult::Cancel);
  bench.Click("Button6");
  EXPECT_EQ(bench.written.find("SD"), std::string::npos);
  EXPECT_EQ(bench.written.find("EW"), std::string::npos);
  bench.Click("SDBut");  // OK
  bench.Click("Button6");
  EXPECT_EQ(bench.controller.Eeprom(2), bench.Model().Working(2));
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, ControllerCopy,
                         ::testing::Values(ui::Variant::Palunor6, ui::Variant::Palunor));

}  // namespace
