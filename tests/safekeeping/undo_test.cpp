// Guards undo and redo in the whole form against the emulator: each kind of change is
// one step (a drag from press to release too), copies keep the controller's limits,
// the history is bounded, nothing reaches the controller, and Send after Undo sends
// the undone curve.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "map/marker.h"
#include "safekeeping/undo_history.h"
#include "safekeeping_bench.h"

namespace {

using safekeeping_test::Bench;
using safekeeping_test::Line;

constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;

class Undo : public ::testing::TestWithParam<ui::Variant> {
 protected:
  Bench bench{GetParam()};
  map::CurveModel& m = bench.Model();
};

TEST_P(Undo, EachKindOfChangeIsOneStepUndoneAndRedoneInTurn) {
  using State = std::tuple<std::array<map::Curve, 2>, int, int>;
  std::vector<State> states;  // as each step begins, and at the end
  const auto note = [&] { states.emplace_back(m.AdvCurves, m.CurrentCurve, m.SelectedPoint); };
  const auto expect_shown = [&](std::size_t i) {
    EXPECT_EQ(State(m.AdvCurves, m.CurrentCurve, m.SelectedPoint), states[i]) << i;
    const map::Curve& shown = m.AdvCurves[static_cast<std::size_t>(m.CurrentCurve - 1)];
    for (int p = 1; p <= 26; ++p) {
      EXPECT_EQ(bench.form["Lb" + std::to_string(p)].Top(), map::MarkerTop(shown[p - 1])) << i;
    }
    // The marks follow the controller, which undo and redo never write to.
    const std::array controller_holds{bench.controller.Ram(1), bench.controller.Ram(2)};
    EXPECT_EQ(bench.Label34(), m.AdvCurves != controller_holds) << i;
  };
  // A map from a controller with wider limits: from -25 to +25 degrees.
  const map::Curve wide = Line(0, 2);
  map::Curve held = wide;
  for (auto& v : held) v = static_cast<std::uint8_t>(std::clamp<int>(v, 25 - 12, 25 + 20));

  note();
  bench.Read();
  note();
  bench.Key(kKeyUp);
  bench.Key(kKeyRight);  // the selection alone is no step
  note();
  bench.Key(kKeyUp);
  note();
  std::get<2>(states.back()) = 7;  // a drag's step begins with the press on its point
  bench.Drag(7, -24);
  note();
  bench.Open(bench.MapFile("user.IJJ", {Line(30, 0), wide}));
  note();
  bench.Choose("S&wap curves");
  EXPECT_EQ(m.AdvCurves, (std::array{held, Line(30, 0)}));
  note();
  bench.Choose("Copy Advance 2 to Advance 1");
  note();
  ASSERT_EQ(std::get<0>(states[1]), (std::array{bench.controller.Ram(1), bench.controller.Ram(2)}));
  ASSERT_EQ(std::get<0>(states.back()), (std::array{Line(30, 0), Line(30, 0)}));

  for (std::size_t i = states.size() - 1; i-- > 0;) {
    ASSERT_TRUE(bench.Enabled("&Undo")) << i;
    EXPECT_TRUE(i % 2 == 0 ? bench.Ctrl('Z') : (bench.Choose("&Undo"), true));
    expect_shown(i);
  }
  EXPECT_FALSE(bench.Enabled("&Undo"));
  for (std::size_t i = 1; i < states.size(); ++i) {
    EXPECT_TRUE(bench.Ctrl(i % 2 == 0 ? 'Y' : 'Z', i % 2 == 1));  // Ctrl+Shift+Z, Ctrl+Y
    expect_shown(i);
  }
  EXPECT_FALSE(bench.Enabled("&Redo"));
}

TEST_P(Undo, WritesNothingAndSendThenSendsTheUndoneCurve) {
  bench.Read();
  bench.Drag(4, -10);
  bench.Click("SDBut");
  const map::Curve sent = bench.controller.Ram(2);
  ASSERT_NE(sent, Line(40, -1));
  bench.written.clear();
  for (int key : {'Z', 'Y', 'Z'}) bench.Ctrl(key);
  EXPECT_EQ(bench.written.find("SD"), std::string::npos);
  EXPECT_EQ(bench.controller.Ram(2), sent);
  bench.Click("SDBut");
  EXPECT_EQ(bench.controller.Ram(2), Line(40, -1));
  EXPECT_FALSE(bench.Label34());
}

TEST_P(Undo, KeepsTheNewestStepsAndActsOnlyWhenNoCurveCommandWaits) {
  static_assert(safekeeping::UndoHistory::kDepth >= 200);
  for (std::size_t i = 0; i < safekeeping::UndoHistory::kDepth + 40; ++i) {
    bench.Key(i % 2 == 0 ? kKeyUp : kKeyDown);
  }
  bench.device.SetFault({sim::FaultMode::NoReply});
  bench.form["SDBut"].Click();
  EXPECT_FALSE(bench.Enabled("&Undo"));
  EXPECT_TRUE(bench.Ctrl('Z'));
  EXPECT_EQ(m.Working(2)[0], 25) << "nothing undone while Send waits";
  bench.clock.Advance(3000);
  std::size_t undone = 0;
  for (; bench.Enabled("&Undo"); ++undone) bench.Ctrl('Z');
  EXPECT_EQ(undone, safekeeping::UndoHistory::kDepth);
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, Undo,
                         ::testing::Values(ui::Variant::Palunor6, ui::Variant::Palunor));

}  // namespace
