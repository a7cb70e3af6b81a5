// Guards the question before closing: asked exactly while the controller does not
// hold a curve as shown, naming each curve and its state; Cancel changes nothing;
// never asked with the preference off.
#include <gtest/gtest.h>

#include "safekeeping_bench.h"

namespace {

class CloseWarning : public ::testing::TestWithParam<ui::Variant> {
 protected:
  // Whether FormCloseQuery, answered `answer`, lets the window close, and the curve
  // lines of its box ("" when nothing was asked).
  std::pair<bool, std::string> Query(ui::DialogResult answer = ui::DialogResult::Cancel) {
    bench.dialogs.ClearHistory();
    bench.dialogs.Answer(answer);
    const bool closes = bench.form.FormCloseQuery();
    bench.dialogs.ForgetAnswers();
    if (bench.dialogs.History().empty()) return {closes, ""};
    // "Close" and "Cancel", never an "OK" that leaves it unsaid what is done.
    EXPECT_EQ(bench.dialogs.History().at(0).buttons, ui::DialogButtons::CloseCancel);
    const std::string text = bench.dialogs.History().at(0).text;
    const std::size_t from = text.find("\r\n") + 2;
    return {closes, text.substr(from, text.find("\r\n\r\n") - from)};
  }
  using Asked = std::pair<bool, std::string>;

  safekeeping_test::Bench bench{GetParam()};
};

TEST_P(CloseWarning, NamesEachCurveInEveryCombinationOfTheMarks) {
  bench.Read();
  EXPECT_EQ(Query(), Asked(true, ""));
  bench.Drag(5, -10);
  EXPECT_EQ(Query(), Asked(false, "Advance 2: edited and not sent"));
  bench.Click("SDBut");
  ASSERT_EQ(bench.controller.Ram(2), bench.Model().Working(2));
  EXPECT_EQ(Query(), Asked(false, "Advance 2: sent and not recorded in EEPROM"));
  bench.Click("Button2");  // Advance 1 shown
  bench.Drag(9, 8);
  EXPECT_EQ(
      Query(),
      Asked(false, "Advance 1: edited and not sent\r\nAdvance 2: sent and not recorded in EEPROM"));
  bench.Click("Button2");
  bench.Click("Button6");
  ASSERT_EQ(bench.controller.Eeprom(2), bench.Model().Working(2));
  EXPECT_EQ(Query(), Asked(false, "Advance 1: edited and not sent"));
  // Cancel left the window as it was: the edit can still be undone.
  bench.Ctrl('Z');
  EXPECT_EQ(Query(), Asked(true, ""));
  EXPECT_FALSE(std::filesystem::exists(bench.dir / "Advance.ini"));
}

TEST_P(CloseWarning, ACurveTheControllerMayHaveTakenCountsAsNotSent) {
  bench.Read();
  bench.Drag(5, -10);
  bench.device.SetFault({sim::FaultMode::NoReply});
  bench.Click("SDBut");
  bench.clock.Advance(3000);
  bench.Ctrl('Z');  // the screen as the controller held it before the Send
  EXPECT_EQ(Query(), Asked(false, "Advance 2: edited and not sent"));
  EXPECT_TRUE(Query(ui::DialogResult::Ok).first);
  bench.form.Preferences().ask_before_closing = false;
  EXPECT_EQ(Query(), Asked(true, ""));
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, CloseWarning,
                         ::testing::Values(ui::Variant::Palunor6, ui::Variant::Palunor));

}  // namespace
