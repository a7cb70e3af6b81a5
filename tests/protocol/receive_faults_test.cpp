// Guards what the screen says the controller holds against a line that misbehaves:
// late replies, lost and stray bytes, replies split by the poll, answers nobody asked
// for, and commands that get no answer at all. Whole form, virtual clock.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "protocol/command_channel.h"
#include "protocol/link_bench.h"

namespace {

using test::CurveReplyOf;
using test::LinkBench;
using test::Ramp;
using ui::Variant;

constexpr const char* kLost = "VYN Advance Controller Program (No QZR Present!)";

class BothPrograms : public ::testing::TestWithParam<Variant> {
 protected:
  void SetUp() override { bench.Identify(); }
  LinkBench bench{GetParam()};
};

// The first Read's reply is slow to come, and the user clicks Read again after the
// lockout: the second Read is refused while the first waits, so each reply is filed
// under the one request it answers.
TEST_P(BothPrograms, ALateReplyAndASecondReadNeverSwapTheCurves) {
  bench["RDBut"].Click();
  bench.clock.Advance(700);
  bench["RDBut"].Click();
  EXPECT_EQ(bench.TakeWritten(), "RD1");
  bench.Receive(CurveReplyOf(Ramp(1)));
  EXPECT_EQ(bench.TakeWritten(), "RD2");
  bench.Receive(CurveReplyOf(Ramp(30), 'N', 12, 5, 'S'));
  EXPECT_EQ(bench.model.Working(1), Ramp(1));
  EXPECT_EQ(bench.model.Working(2), Ramp(30));
  EXPECT_EQ(bench.model.Device(1), Ramp(1));
  EXPECT_EQ(bench.model.Device(2), Ramp(30));
  EXPECT_EQ(bench.model.CurrentCurve, 2);
  EXPECT_EQ(bench["lblstat"].Caption(), "Lines Received!");
}

TEST_P(BothPrograms, AReplyThatComesAfterTheBoundChangesNoCurve) {
  bench["RDBut"].Click();
  bench.clock.Advance(protocol::CommandChannel::kBoundMs + 100);
  bench.Receive(CurveReplyOf(Ramp(1)));
  EXPECT_EQ(bench.model.Working(1), test::Flat());
  EXPECT_EQ(bench.TakeWritten(), "RD1");
}

// A lost byte would shift every later point by one and make the "A" of byte 30 a
// point of +65 degrees: the reply stores nothing and the Read ends as unanswered.
TEST_P(BothPrograms, ACurveReplyThatLostAByteStoresNothingAndEndsTheRead) {
  bench["RDBut"].Click();
  const std::string first = CurveReplyOf(Ramp(3));
  bench.Receive(first.substr(0, 12) + first.substr(13));
  EXPECT_EQ(bench.TakeWritten(), "RD1");
  EXPECT_EQ(bench.model.AdvCurves,
            (std::array<protocol::CurvePoints, 2>{test::Flat(), test::Flat()}));
  EXPECT_EQ(bench.model.DeviceCurves, bench.model.AdvCurves);
  EXPECT_EQ(bench["lblstat"].Caption(), "Reply Damaged!");
  EXPECT_EQ(bench["lblstat"].FontColor(), ui::kRed);
  EXPECT_TRUE(bench.Timer3.Enabled());
  // The next Read goes out as soon as the lockout allows.
  bench.clock.Advance(700);
  bench["RDBut"].Click();
  EXPECT_EQ(bench.TakeWritten(), "RD1");
}

TEST_P(BothPrograms, AStrayByteAfterACurveReplyDoesNotStallTheRead) {
  bench["RDBut"].Click();
  bench.Receive(CurveReplyOf(Ramp(3)) + "\r");
  bench.Receive("\r");
  bench.Receive(CurveReplyOf(Ramp(9)));
  EXPECT_EQ(bench.model.Working(1), Ramp(3));
  EXPECT_EQ(bench.model.Working(2), Ramp(9));
  EXPECT_EQ(bench["lblstat"].Caption(), "Lines Received!");
}

TEST(ReceiveFaults, AStalledCurveReplyDoesNotSwallowTheNextVersionReply) {
  LinkBench bench(Variant::Palunor6);
  bench.Identify("PLX", 52);
  bench["RDBut"].Click();
  EXPECT_EQ(bench.TakeWritten(), "RD");
  bench.Receive(CurveReplyOf(Ramp(3)).substr(0, 20));
  bench.clock.Advance(protocol::CommandChannel::kBoundMs + 100);
  bench["VerBut"].Click();
  EXPECT_EQ(bench.TakeWritten(), "VER");
  bench.Receive(test::Version("PLX", 52));
  EXPECT_EQ(bench["lblstat"].Caption(), "Ready!");
  EXPECT_EQ(bench.model.Working(1), test::Flat());
}

// At 9600 baud the poll falls after "REC" about once in fifty recordings.
TEST_P(BothPrograms, RecokSplitAfterRecSaysTheCurveWasSaved) {
  bench["SDBut"].Click();
  bench.Receive("OK");
  EXPECT_TRUE(bench["Label35"].Visible());
  bench.clock.Advance(700);
  bench["Button6"].Click();
  EXPECT_EQ(bench.TakeWritten().substr(29), "EW2");
  bench.Receive("REC");
  bench.Receive("OK");
  EXPECT_EQ(bench["lblstat"].Caption(), "LINE 2 SAVED");
  EXPECT_TRUE(bench.model.CurvesStored);
  EXPECT_FALSE(bench["Label35"].Visible());
}

TEST_P(BothPrograms, AnOkThatNoSendAskedForDoesNotClaimTheControllerHoldsTheCurve) {
  bench["SpeedButton1"].Click();  // Up: point 1 of curve 2 one degree more
  ASSERT_TRUE(bench["Label34"].Visible());
  for (const char* chunk : {"OK", "O", "K"}) bench.Receive(chunk);
  EXPECT_EQ(bench.model.Device(2), test::Flat());
  EXPECT_TRUE(bench["Label34"].Visible());
  EXPECT_NE(bench["lblstat"].Caption(), "LINE 2 SENT");
}

TEST_P(BothPrograms, AReadWithoutAnswerLeavesTheEditorOnTheCurveShown) {
  bench["RDBut"].Click();
  ASSERT_EQ(bench.model.CurrentCurve, 2);
  bench.clock.Advance(protocol::CommandChannel::kBoundMs + 100);
  EXPECT_EQ(bench.model.CurrentCurve, 2);
  EXPECT_TRUE(bench.Timer3.Enabled());
  EXPECT_EQ(bench["lblstat"].Caption(), "");
  bench["SpeedButton1"].Click();
  EXPECT_EQ(bench.model.Working(1), test::Flat());
  EXPECT_EQ(bench.model.Working(2)[0], 26);
}

TEST_P(BothPrograms, AReadAnsweredByHalfShowsAndEditsTheCurveShownBefore) {
  bench["RDBut"].Click();
  bench.Receive(CurveReplyOf(Ramp(1)));
  EXPECT_EQ(bench["Lb1"].Top(), 111 - 2 * 1);  // curve 1 shown while curve 2 is asked for
  bench.clock.Advance(protocol::CommandChannel::kBoundMs + 100);
  EXPECT_EQ(bench.model.CurrentCurve, 2);
  EXPECT_EQ(bench["Lb1"].Top(), 111 - 2 * 25);
  bench["SpeedButton1"].Click();
  EXPECT_EQ(bench.model.Working(1), Ramp(1));
  EXPECT_EQ(bench.model.Working(2)[0], 26);
}

// The cable is pulled between the last poll and a click: the supervision must go on
// and tell the user.
TEST_P(BothPrograms, ACommandThatGetsNoReplyHandsTheLinkBackToTheSupervision) {
  for (const char* button : {"SDBut", "Button6", "RDBut"}) {
    LinkBench lost(GetParam());
    lost.Identify();
    lost[button].Click();
    ASSERT_FALSE(lost.Timer3.Enabled()) << button;
    lost.clock.Advance(15000);
    EXPECT_TRUE(lost.Timer3.Enabled()) << button;
    EXPECT_EQ(lost.caption, kLost) << button;
    EXPECT_EQ(lost["lblstat"].Caption(), "Device Disconnected!") << button;
  }
}

TEST_P(BothPrograms, AControllerThatAnswersKeepsEveryTextAsBefore) {
  bench["SDBut"].Click();
  bench.clock.Advance(40);
  bench.Receive("OK");
  bench.clock.Advance(protocol::CommandChannel::kBoundMs + 100);
  EXPECT_EQ(bench["lblstat"].Caption(), "LINE 2 SENT");
  EXPECT_TRUE(bench.Timer3.Enabled());
}

INSTANTIATE_TEST_SUITE_P(Programs, BothPrograms,
                         ::testing::Values(Variant::Palunor6, Variant::Palunor));

}  // namespace
