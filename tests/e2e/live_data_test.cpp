// Guards live data against the emulator's running engine: the RPM read-out and both
// gauges show the frames the controller streams, the link polls stay quiet meanwhile,
// and they resume once the stream is stopped.
#include <gtest/gtest.h>

#include <set>

#include "live/option_state.h"
#include "tests/e2e/e2e_harness.h"

namespace {

using e2e::E2e;

class LiveData : public ::testing::TestWithParam<ui::Variant> {};

INSTANTIATE_TEST_SUITE_P(EndToEnd, LiveData,
                         ::testing::Values(ui::Variant::Palunor6, ui::Variant::Palunor),
                         [](const auto& info) {
                           return info.param == ui::Variant::Palunor6 ? "Palunor6" : "Palunor";
                         });

// What the window shows of one live frame.
struct Shown {
  std::string rpm;      // Label30
  std::string advance;  // Label28
  auto operator<=>(const Shown&) const = default;
};

// What a frame from the emulator's firmware 6.0 must show: Palunor6 takes its period
// byte in the finer unit of that firmware, Palunor as it is.
Shown ShownFor(ui::Variant variant, unsigned char period_byte, unsigned char advance_byte) {
  const int period = variant == ui::Variant::Palunor6 ? period_byte * 10 / 26 : period_byte;
  const int rpm = period == 0 ? 240 : 120000 / period / 10 * 10;
  const int value = advance_byte <= 128 ? advance_byte + 25 : 153 - advance_byte;
  return {std::to_string(rpm), std::to_string(value - 25)};
}

TEST_P(LiveData, ShowsTheEnginesFramesAndPollsTheLinkAgainOnceStopped) {
  const ui::Variant variant = GetParam();
  E2e e2e(variant);
  ASSERT_TRUE(e2e.EmulatorStarted());
  ASSERT_TRUE(e2e.WaitUntilFound()) << e2e.Caption();
  ASSERT_EQ(e2e.State().Item("live"), "off");

  e2e.Click("Button3");
  EXPECT_EQ(e2e.Text("Button3"), "Stop Data");
  EXPECT_FALSE(e2e.Enabled("RDBut"));
  ASSERT_TRUE(e2e.WaitForStatus("Receiving...")) << e2e.Text("lblstat");
  EXPECT_EQ(e2e.State().Item("live"), "on");

  // The engine sweeps up from idle: the read-out and the needle move frame by frame.
  std::set<Shown> seen;
  std::set<int> needle_angles;
  ASSERT_TRUE(e2e.WaitFor([&] {
    seen.insert({e2e.Text("Label30"), e2e.Text("Label28")});
    needle_angles.insert(e2e.Form().Live().NeedleAngle);
    return seen.size() >= 5 && needle_angles.size() >= 4;
  })) << seen.size()
      << " read-outs, " << needle_angles.size() << " needle angles";
  EXPECT_TRUE(e2e.Enabled("SDBut"));

  // Each read-out shown is one of the frames the emulator sent.
  const std::string frames = e2e::LoggedBytes(e2e.Controller().Log(), "->", "LON");
  std::set<Shown> sent;
  for (std::size_t at = 0; at + 1 < frames.size(); at += 2) {
    sent.insert(ShownFor(variant, static_cast<unsigned char>(frames[at]),
                         static_cast<unsigned char>(frames[at + 1])));
  }
  for (const Shown& shown : seen) {
    EXPECT_TRUE(sent.contains(shown)) << "RPM " << shown.rpm << ", advance " << shown.advance;
  }
  // The stream has the line to itself: no link poll since "LON".
  EXPECT_EQ(e2e::LoggedBytes(e2e.Controller().Log(), "<-", "LON"), "");

  e2e.Click("Button3");
  EXPECT_EQ(e2e.Text("Button3"), "Live Data");
  EXPECT_EQ(e2e.Text("lblstat"), "");
  EXPECT_TRUE(e2e.Enabled("RDBut"));
  ASSERT_TRUE(
      e2e.WaitForState([](const e2e::EmulatorState& s) { return s.Item("live") == "off"; }));
  ASSERT_TRUE(e2e::WaitUntil(
      [&] {
        return e2e::LoggedBytes(e2e.Controller().Log(), "<-", "LOF").find("VER") !=
               std::string::npos;
      },
      e2e::kSupervisionLimit));
}

}  // namespace
