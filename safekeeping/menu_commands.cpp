#include "safekeeping/menu_commands.h"

#include "safekeeping/curve_copy.h"

namespace safekeeping {

namespace {

constexpr ui::KeyChord kCtrlZ{'Z', true, false};
constexpr ui::KeyChord kCtrlY{'Y', true, false};
constexpr ui::KeyChord kCtrlShiftZ{'Z', true, true};
constexpr ui::KeyChord kCtrlD{'D', true, false};

}  // namespace

void AddCommands(ui::CommandMenu& menu, EditHistory& history, ControllerCopy& copy,
                 const map::CurveModel& model, std::function<bool()> busy) {
  // A command that changes the curves acts only when `can` says it would change them.
  const auto when = [busy](std::function<bool()> can) {
    return [busy, can] { return !busy() && can(); };
  };

  menu.Add({"&Undo", {kCtrlZ}, when([&history] { return history.CanUndo(); }), {}, [&history] {
              history.Undo();
            }});
  menu.Add({"&Redo",
            {kCtrlY, kCtrlShiftZ},
            when([&history] { return history.CanRedo(); }),
            {},
            [&history] { history.Redo(); }});

  menu.AddSeparator();
  menu.Add({"Show controller's copy",
            {},
            [&copy] { return copy.AnyKnown(); },
            [&copy] { return copy.Shown(); },
            [&copy] { copy.ToggleShown(); }});
  menu.Add({"&Differences...",
            {kCtrlD},
            [&copy] { return copy.AnyKnown(); },
            {},
            [&copy] { copy.ShowDifferences(); }});
  menu.Add(
      {"Re&vert to controller's copy", {}, when([&copy] { return copy.CanRevert(); }), {}, [&copy] {
         copy.Revert();
       }});

  menu.AddSeparator();
  for (int from = 1; from <= 2; ++from) {
    const int to = 3 - from;
    menu.Add({"Copy Advance " + std::to_string(from) + " to Advance " + std::to_string(to),
              {},
              when([&model, from] { return CopiedCurves(model, from) != model.AdvCurves; }),
              {},
              [&history, &model, from] { history.ApplyCurves(CopiedCurves(model, from)); }});
  }
  menu.Add({"S&wap curves",
            {},
            when([&model] { return SwappedCurves(model) != model.AdvCurves; }),
            {},
            [&history, &model] { history.ApplyCurves(SwappedCurves(model)); }});
}

}  // namespace safekeeping
