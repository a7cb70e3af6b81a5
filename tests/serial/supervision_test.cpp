// Guards the link supervision on the virtual clock: when each program polls a present
// controller, when it declares a silent one lost, and what "Find QZR" and ConnectP do.
#include "serial/supervision.h"

#include <gtest/gtest.h>

#include "protocol/link_bench.h"

namespace {

using test::LinkBench;
using ui::Variant;

constexpr const char* kLost = "VYN Advance Controller Program (No QZR Present!)";
constexpr const char* kStart = "VYN Advance Controller Program  (No QZR Found!)";

TEST(LinkSupervision, Palunor6PollsAPresentQzrEveryTwoAndAHalfSeconds) {
  LinkBench bench(Variant::Palunor6);
  bench.Receive(test::Version("QZR", 60));
  bench.clock.Advance(2000);
  EXPECT_EQ(bench.TakeWritten(), "");
  bench.clock.Advance(500);
  EXPECT_EQ(bench.TakeWritten(), "VER");
  EXPECT_FALSE(bench.link.DeviceFound);
  EXPECT_EQ(bench["Label33"].Caption(), "$");
  // The answer re-identifies it, and the next poll is the fifth tick after it.
  bench.clock.Advance(100);
  bench.Receive(test::Version("QZR", 60));
  bench.clock.Advance(2300);
  EXPECT_EQ(bench.TakeWritten(), "");
  bench.clock.Advance(100);
  EXPECT_EQ(bench.TakeWritten(), "VER");
}

TEST(LinkSupervision, PalunorPollsAPresentControllerEveryFiveSecondsWithoutTheTrace) {
  LinkBench bench(Variant::Palunor);
  bench.Receive(test::Version("QZR", 60));
  const std::string trace = bench["Label33"].Caption();
  bench.clock.Advance(4500);
  EXPECT_EQ(bench.TakeWritten(), "");
  bench.clock.Advance(500);
  EXPECT_EQ(bench.TakeWritten(), "VER");
  EXPECT_FALSE(bench.link.DeviceFound);
  EXPECT_EQ(bench["Label33"].Caption(), trace);
}

TEST(LinkSupervision, Palunor6DeclaresASilentQzrLostFiveSecondsAfterTheUnansweredPoll) {
  LinkBench bench(Variant::Palunor6);
  bench.Receive(test::Version("QZR", 60));
  bench.clock.Advance(2500);
  ASSERT_EQ(bench.TakeWritten(), "VER");
  bench.clock.Advance(4500);
  EXPECT_NE(bench.caption, kLost);
  EXPECT_TRUE(bench["RDBut"].Enabled());
  bench.clock.Advance(500);
  EXPECT_EQ(bench.caption, kLost);
  EXPECT_EQ(bench.TakeWritten(), "VER");
  for (const char* name : {"RDBut", "SDBut", "Button3", "Button6", "btnAdvSet"}) {
    EXPECT_FALSE(bench[name].Enabled()) << name;
  }
  EXPECT_EQ(bench["lblstat"].Caption(), "Device Disconnected!");
  EXPECT_EQ(bench["lblstat"].FontColor(), ui::kGreen);
}

TEST(LinkSupervision, PalunorDeclaresASilentControllerLostTwoAndAHalfSecondsAfterThePoll) {
  LinkBench bench(Variant::Palunor);
  bench.Receive(test::Version("QZR", 60));
  bench.clock.Advance(5000);
  ASSERT_EQ(bench.TakeWritten(), "VER");
  bench.clock.Advance(2000);
  EXPECT_NE(bench.caption, kLost);
  bench.clock.Advance(500);
  EXPECT_EQ(bench.caption, kLost);
  EXPECT_EQ(bench.TakeWritten(), "VER");
}

TEST(LinkSupervision, LosingTheControllerClosesTheOptionsPanel) {
  LinkBench bench(Variant::Palunor6);
  bench.Identify();
  bench["btnAdvSet"].Click();
  ASSERT_TRUE(bench["Panel2"].Visible());
  bench.clock.Advance(10000);
  EXPECT_EQ(bench.caption, kLost);
  EXPECT_FALSE(bench["Panel2"].Visible());
  EXPECT_EQ(bench["btnAdvSet"].Caption(), "&Advanced>>");
}

class WhileAbsent : public ::testing::TestWithParam<std::pair<Variant, std::uint32_t>> {};

TEST_P(WhileAbsent, TheLossCheckRepeatsAtItsPeriod) {
  const auto [variant, period] = GetParam();
  LinkBench bench(variant);
  bench.clock.Advance(period - 500);
  EXPECT_EQ(bench.caption, kStart);
  EXPECT_EQ(bench.TakeWritten(), "");
  for (int round = 0; round < 3; ++round) {
    bench.clock.Advance(500);
    EXPECT_EQ(bench.caption, kLost);
    EXPECT_EQ(bench.TakeWritten(), "VER") << round;
    bench.form.SetCaption("");  // so the next declaration shows as a change
    bench.clock.Advance(period - 500);
    EXPECT_EQ(bench.TakeWritten(), "");
  }
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, WhileAbsent,
                         ::testing::Values(std::pair{Variant::Palunor6, 5000u},
                                           std::pair{Variant::Palunor, 2500u}));

TEST(LinkSupervision, ALockoutTickSwallowsTheLossCheckUntilTheLockoutEnds) {
  LinkBench bench(Variant::Palunor6);
  bench.clock.Advance(4700);
  bench["VerBut"].Click();
  ASSERT_EQ(bench.TakeWritten(), "VER");
  bench.clock.Advance(300);  // tick 10 falls inside the lockout: nothing at all
  EXPECT_EQ(bench.caption, kStart);
  EXPECT_EQ(bench.TakeWritten(), "");
  EXPECT_EQ(bench.link.LinkTicks, 10);
  bench.clock.Advance(500);  // the first tick after the lockout
  EXPECT_EQ(bench.caption, kLost);
  EXPECT_EQ(bench.TakeWritten(), "VER");
  EXPECT_EQ(bench.link.LinkTicks, 0);
}

TEST(LinkSupervision, NothingIsPolledOrShownWhileThePortIsClosed) {
  for (Variant variant : {Variant::Palunor6, Variant::Palunor}) {
    LinkBench bench(variant);
    bench.Identify();
    bench.CPDrv.ClosePort();
    bench.clock.Advance(30000);
    EXPECT_EQ(bench.TakeWritten(), "");
    EXPECT_NE(bench.caption, kLost);
    EXPECT_FALSE(bench.CPDrv.IsOpen());
    EXPECT_TRUE(bench.dialogs.History().empty());
    EXPECT_GT(bench.link.LinkTicks, 50);
  }
}

TEST(LinkSupervision, APlxControllerIsNeverPolledNorDeclaredLost) {
  LinkBench bench(Variant::Palunor6);
  bench.Identify("PLX", 60);
  bench.clock.Advance(60000);
  EXPECT_EQ(bench.TakeWritten(), "");
  EXPECT_TRUE(bench.link.DeviceFound);
  EXPECT_NE(bench.caption, kLost);
}

TEST(LinkSupervision, WithTimer3StoppedNeitherPollsNorLossChecksHappen) {
  LinkBench bench(Variant::Palunor6);
  bench.Identify();
  bench.Timer3.SetEnabled(false);
  bench.clock.Advance(30000);
  EXPECT_EQ(bench.TakeWritten(), "");
  EXPECT_TRUE(bench.link.DeviceFound);
}

TEST(FindController, AClosedPortThatCannotBeOpenedIsReportedAndNothingIsSent) {
  LinkBench bench(Variant::Palunor6);
  bench.CPDrv.ClosePort();
  bench.wire->available = false;
  bench["VerBut"].Click();
  ASSERT_EQ(bench.dialogs.History().size(), 1u);
  const auto& box = bench.dialogs.History().front();
  EXPECT_EQ(box.kind, "MessageBox");
  EXPECT_EQ(box.title, "COM Port Error");
  EXPECT_EQ(box.text, "Could not connect to serial port.\r\nPlease, check settings and try again.");
  EXPECT_EQ(box.icon, ui::DialogIcon::Error);
  EXPECT_EQ(box.buttons, ui::DialogButtons::Ok);
  EXPECT_EQ(bench.TakeWritten(), "");
  EXPECT_TRUE(bench.Timer1.Enabled());
}

TEST(FindController, AClosedPortIsOpenedSilentlyAndAskedForItsIdentity) {
  LinkBench bench(Variant::Palunor);
  bench.CPDrv.ClosePort();
  bench["VerBut"].Click();
  EXPECT_TRUE(bench.CPDrv.IsOpen());
  EXPECT_TRUE(bench.dialogs.History().empty());
  EXPECT_EQ(bench.TakeWritten(), "VER");
}

TEST(FindController, AClickDuringTheLockoutSendsNothingAndLeavesTheCount) {
  LinkBench bench(Variant::Palunor6);
  bench["VerBut"].Click();
  bench.TakeWritten();
  bench.clock.Advance(300);
  bench["VerBut"].Click();
  EXPECT_EQ(bench.TakeWritten(), "");
  EXPECT_EQ(bench.BusyTicks(), 3);
}

TEST(FindController, EveryFailedConnectShowsTheErrorAgain) {
  LinkBench bench(Variant::Palunor6);
  bench.CPDrv.ClosePort();
  bench.wire->available = false;
  // Find QZR connects first when the port is closed.
  for (int click = 0; click < 2; ++click) {
    bench["VerBut"].Click();
    bench.clock.Advance(700);
  }
  EXPECT_EQ(bench.dialogs.History().size(), 2u);
  bench.wire->available = true;
  bench["VerBut"].Click();
  EXPECT_EQ(bench.dialogs.History().size(), 2u);
  EXPECT_TRUE(bench.CPDrv.IsOpen());
}

}  // namespace

namespace {

// The window keeps its port by name, so a number chosen later is a name like any other.
TEST(FindController, TheWindowStoresItsPortAsTheNameCom2) {
  LinkBench bench(Variant::Palunor6);
  EXPECT_EQ(bench.CPDrv.Port(), serial::TPortNumber::pnCustom);
  EXPECT_EQ(bench.CPDrv.PortName(), "\\\\.\\COM2");
}

}  // namespace
