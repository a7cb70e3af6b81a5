// Guards the receive dispatcher: replies recognised whatever the chunking, in the
// fixed order of the steps, and curve replies stored only into the curve asked for.
#include "shell/form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/link_bench.h"

namespace {

using test::CurveReplyOf;
using test::LinkBench;
using test::Ramp;
using ui::Variant;

// A Read started with the first request on the wire.
void StartRead(LinkBench& bench) {
  bench.Identify();
  bench["RDBut"].Click();
  ASSERT_EQ(bench.TakeWritten(), "RD1");
}

TEST(ReceiveDispatcher, CurveOneReplyAsksForCurveTwo) {
  LinkBench bench(Variant::Palunor6);
  StartRead(bench);
  bench.Receive(CurveReplyOf(Ramp(10), 'N', 12, 9, 2));
  EXPECT_EQ(bench.model.Working(1), Ramp(10));
  EXPECT_EQ(bench.model.Device(1), Ramp(10));
  EXPECT_EQ(bench.TakeWritten(), "RD2");
  // Curve 1 is shown, and the one the editor edits, until the Read ends.
  EXPECT_EQ(bench.model.CurrentCurve, 1);
  // The option bytes of the first reply are not examined.
  EXPECT_FALSE(bench.options.Output5V);
  EXPECT_EQ(bench.options.VrefStep, 3);
  EXPECT_EQ(bench.options.BypassStep, 1);
  EXPECT_EQ(bench.RxBuffer(), "");
  EXPECT_FALSE(bench.Timer3.Enabled());
}

TEST(ReceiveDispatcher, CurveTwoReplyStoresTheCurveAndTheOptionsAndEndsTheRead) {
  LinkBench bench(Variant::Palunor6);
  StartRead(bench);
  bench.Receive(CurveReplyOf(Ramp(10)));
  bench.TakeWritten();
  bench.Receive(CurveReplyOf(Ramp(20), 'P', 5, 3, 4));
  EXPECT_EQ(bench.model.Working(2), Ramp(20));
  EXPECT_EQ(bench.model.Device(2), Ramp(20));
  EXPECT_TRUE(bench.options.InputPositive);
  EXPECT_TRUE(bench.options.Output5V);
  EXPECT_EQ(bench.options.VrefStep, 3);
  EXPECT_EQ(bench.options.BypassStep, 4);
  EXPECT_EQ(bench.RxBuffer(), "");
  EXPECT_EQ(bench["lblstat"].Caption(), "Lines Received!");
  EXPECT_EQ(bench["lblstat"].FontColor(), ui::kGreen);
  EXPECT_EQ(bench.model.CurrentCurve, 2);
  EXPECT_TRUE(bench.Timer3.Enabled());
  EXPECT_FALSE(bench.form.Recogniser().CurveAwaited());
}

// Every split of the two replies of a Read into two chunks completes the Read.
TEST(ReceiveDispatcher, EverySplitPointOfACurveReplyStillCompletesTheRead) {
  for (std::size_t split = 1; split < protocol::kCurveReplyLength; ++split) {
    for (int which = 1; which <= 2; ++which) {
      LinkBench bench(Variant::Palunor6);
      StartRead(bench);
      const std::string first = CurveReplyOf(Ramp(5));
      const std::string second = CurveReplyOf(Ramp(30), 'N', 12, 6, 'S');
      const std::string& cut = which == 1 ? first : second;
      if (which == 2) bench.Receive(first);
      bench.Receive(cut.substr(0, split));
      bench.Receive(cut.substr(split));
      if (which == 1) bench.Receive(second);
      EXPECT_EQ(bench.TakeWritten(), "RD2") << split << " in reply " << which;
      EXPECT_EQ(bench.model.Working(1), Ramp(5)) << split << " in reply " << which;
      EXPECT_EQ(bench.model.Working(2), Ramp(30)) << split << " in reply " << which;
      EXPECT_EQ(bench["lblstat"].Caption(), "Lines Received!") << split << " in reply " << which;
      EXPECT_EQ(bench.options.VrefStep, 6) << split;
      EXPECT_EQ(bench["lblTV"].Caption(), "OFF") << split;
    }
  }
}

// At 9600 baud the 34th byte of the first reply often comes with the next poll. The
// reply counts from its 33rd byte, so curve 2 is asked for at once, and the late byte
// in front of its reply is passed over.
TEST(ReceiveDispatcher, ALateLastByteJoinedToTheSecondReplyDoesNotHideIt) {
  LinkBench bench(Variant::Palunor6);
  StartRead(bench);
  const std::string first = CurveReplyOf(Ramp(1));
  const std::string second = CurveReplyOf(Ramp(40));
  bench.Receive(first.substr(0, 33));
  EXPECT_EQ(bench.model.Working(1), Ramp(1));
  EXPECT_EQ(bench.TakeWritten(), "RD2");
  bench.Receive(first.substr(33) + second.substr(0, 10));
  EXPECT_EQ(bench.TakeWritten(), "");
  bench.Receive(second.substr(10));
  EXPECT_EQ(bench.model.Working(2), Ramp(40));
  EXPECT_EQ(bench["lblstat"].Caption(), "Lines Received!");
  EXPECT_EQ(bench.RxBuffer(), "");
}

TEST(ReceiveDispatcher, ALateLastByteAloneDoesNotHideTheSecondReply) {
  LinkBench bench(Variant::Palunor6);
  StartRead(bench);
  const std::string first = CurveReplyOf(Ramp(1));
  bench.Receive(first.substr(0, 33));
  bench.Receive(first.substr(33));
  ASSERT_EQ(bench.TakeWritten(), "RD2");
  bench.Receive(CurveReplyOf(Ramp(40)));
  EXPECT_EQ(bench.model.Working(2), Ramp(40));
  EXPECT_EQ(bench["lblstat"].Caption(), "Lines Received!");
}

TEST(ReceiveDispatcher, AReplyJoinedToTheEndOfACurveReplyIsRecognisedToo) {
  LinkBench bench(Variant::Palunor6);
  StartRead(bench);
  bench.Receive(CurveReplyOf(Ramp(1)));
  bench["UpDown4"].SetEnabled(false);
  bench.Receive(CurveReplyOf(Ramp(2)) + "CHR");
  EXPECT_EQ(bench.model.Working(2), Ramp(2));
  EXPECT_TRUE(bench["UpDown4"].Enabled());
  // The option status is applied after the short reply, in the order of the steps.
  EXPECT_EQ(bench["lblstat"].Caption(), "Lines Received!");
}

TEST(ReceiveDispatcher, AShortReplySplitAfterItsPrefixIsRecognisedOnTheSecondChunk) {
  LinkBench bench(Variant::Palunor6);
  bench.Receive("CH");
  EXPECT_TRUE(bench.options.StatusText.empty());
  bench.Receive("12");
  EXPECT_EQ(bench["lblstat"].Caption(), "Output Volt. Changed!");
  EXPECT_EQ(bench["V5But"].Caption(), " 5 V out");
}

TEST(ReceiveDispatcher, LeftoverBytesHideAPlxReplyButNotAQzrReply) {
  LinkBench bench(Variant::Palunor6);
  bench.Receive("xy");
  bench.Receive(test::Version("PLX", 60));
  EXPECT_FALSE(bench.link.DeviceFound);
  EXPECT_EQ(bench.link.DeviceModel, "");
  bench.Receive("xy");
  bench.Receive(test::Version("QZR", 60));
  EXPECT_TRUE(bench.link.DeviceFound);
  EXPECT_EQ(bench.link.DeviceModel, "QZR");
}

TEST(ReceiveDispatcher, LeftoverBytesInFrontOfAShortReplyInOneChunkHideIt) {
  LinkBench bench(Variant::Palunor6);
  bench.Receive("zCHT");
  EXPECT_NE(bench["lblstat"].Caption(), "Time Changed!");
  // The reset prefix of the next reply clears the leftover.
  bench.Receive("CHT");
  EXPECT_EQ(bench["lblstat"].Caption(), "Time Changed!");
}

TEST(ReceiveDispatcher, AnOkWhileLiveDataRunsIsALiveFrameFirstAndThenASendAcknowledgement) {
  LinkBench bench(Variant::Palunor6);
  bench.Identify();
  bench["SDBut"].Click();
  bench.live.LiveDataExpected = true;
  std::vector<std::string> seen;
  bench.controls.Subscribe([&](ui::Control& control, ui::Property property) {
    if (control.Name() == "Label30" && property == ui::Property::Caption) {
      seen.push_back(control.Caption() + "|" + bench["lblstat"].Caption());
    }
  });
  bench.Receive("OK");
  // Speed byte 79 of firmware 6.0 is a period of 30: 4000 RPM, before the acknowledgement.
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], "4000|Receiving...");
  EXPECT_EQ(bench["Label31"].Caption(), "79  75");
  EXPECT_EQ(bench["lblstat"].Caption(), "LINE 2 SENT");
  EXPECT_EQ(bench["Label29"].Caption(), " 79 75");
}

// The poll falls between the two bytes of "OK" in ordinary use at 9600 baud; the send
// must still be acknowledged, or the supervision timer stays stopped.
TEST(ReceiveDispatcher, AnOkSplitOverTwoChunksStillAcknowledgesTheSend) {
  LinkBench bench(Variant::Palunor6);
  bench.Identify();
  bench["SDBut"].Click();
  ASSERT_FALSE(bench.Timer3.Enabled());
  bench.Receive("O");
  EXPECT_EQ(bench["lblstat"].Caption(), "");
  bench.Receive("K");
  EXPECT_EQ(bench["lblstat"].Caption(), "LINE 2 SENT");
  EXPECT_TRUE(bench.Timer3.Enabled());

  // A lone "K" after anything else, and "OK" ending a longer chunk, are no answer.
  LinkBench other(Variant::Palunor);
  other.Identify();
  other["SDBut"].Click();
  other.Receive("xO");
  other.Receive("K");
  other.Receive("O");
  other.Receive("xK");
  EXPECT_EQ(other["lblstat"].Caption(), "");
}

// Recognised short replies stay in RxBuffer; a reply whose first byte arrives alone
// must still be found behind them, or a poll answer is lost and the controller is
// declared gone.
TEST(ReceiveDispatcher, AShortReplySplitAfterItsFirstByteIsFoundBehindAnEarlierReply) {
  LinkBench bench(Variant::Palunor6);
  bench.Identify();
  bench.Receive("CHT");
  EXPECT_EQ(bench["lblstat"].Caption(), "Time Changed!");
  bench.Receive("C");
  bench.Receive("HS");
  EXPECT_EQ(bench["lblTV"].Caption(), "OFF");
  bench.Receive("C");
  bench.Receive("H12");
  EXPECT_EQ(bench["lblOutV"].Caption(), "12 V");
  // "CHS" unchecked the time box, which sent "TTS": past its lockout, REC EEPR.
  bench.clock.Advance(700);
  bench["Button6"].Click();
  bench.Receive("R");
  bench.Receive("ECOK");
  EXPECT_EQ(bench["lblstat"].Caption(), "LINE 2 SAVED");
  bench.Receive("C");
  bench.Receive("H");
  bench.Receive("R");
  EXPECT_EQ(bench["lblstat"].Caption(), "Vref Changed!");

  // A presence poll answered in two chunks, the first holding only "Q".
  bench.link.DeviceFound = false;
  const std::string version = test::Version("QZR", 60);
  bench.Receive(version.substr(0, 1));
  bench.Receive(version.substr(1));
  EXPECT_TRUE(bench.link.DeviceFound);
  EXPECT_EQ(bench["lblstat"].Caption(), "Ready!");
}

TEST(ReceiveDispatcher, ALoneByteThatStartsNoReplyLeavesTheBufferAlone) {
  LinkBench bench(Variant::Palunor6);
  bench.Receive("CHT");
  bench.Receive("C");
  bench.Receive("xS");
  EXPECT_EQ(bench.RxBuffer(), "CHTCxS");
  bench.Receive("x");
  bench.Receive("HS");
  EXPECT_EQ(bench.RxBuffer(), "CHTCxSxHS");
}

TEST(ReceiveDispatcher, AnOkSplitWhileLiveDataRunsIsNoAcknowledgement) {
  LinkBench bench(Variant::Palunor6);
  bench.Identify();
  bench.live.LiveDataExpected = true;
  bench.Receive("O");
  bench.Receive("K");
  EXPECT_EQ(bench["lblstat"].Caption(), "Ready!");
}

TEST(ReceiveDispatcher, TwoByteChunksAreLiveFramesOnlyWhileLiveDataIsExpected) {
  LinkBench bench(Variant::Palunor6);
  bench.Receive("\x30\x05");
  EXPECT_EQ(bench["Label31"].Caption(), "");
  bench.live.LiveDataExpected = true;
  bench.Receive("\x30\x05");
  EXPECT_EQ(bench["Label31"].Caption(), "48  5");
  EXPECT_EQ(bench["Label30"].Caption(), "6660");  // period 48 x 10 div 26 = 18
  bench.Receive("\x40\x05\x06");
  EXPECT_EQ(bench["Label30"].Caption(), "6660");
}

TEST(ReceiveDispatcher, ChunksAreTracedByteForByte) {
  LinkBench bench(Variant::Palunor6);
  bench.Receive(std::string("O\0\xff", 3));
  EXPECT_EQ(bench["Label33"].Caption(), "$790255");
  EXPECT_EQ(bench["Label29"].Caption(), " 79 0 255");
}

TEST(ReceiveDispatcher, AFirstVersionReplyIdentifiesTheControllerAndItsLimits) {
  LinkBench bench(Variant::Palunor6);
  bench.Receive(test::Version("QZR", 60, 21, 19, 'S'));
  EXPECT_EQ(bench.caption, "VYN Advance Controller Program (QZR Version 6.0, Single Channel)");
  EXPECT_EQ(bench.model.MaxAdvance, 21);
  EXPECT_EQ(bench.model.MaxRetard, 19);
  EXPECT_EQ(bench.model.FirstPointRetard, 15);
  EXPECT_EQ(bench.model.DeviceVersion, 60);
  for (const char* name : {"RDBut", "SDBut", "Button3", "Button6", "btnAdvSet"}) {
    EXPECT_TRUE(bench[name].Enabled()) << name;
  }
  EXPECT_EQ(bench["lblstat"].Caption(), "Ready!");
  EXPECT_FALSE(bench["imgStatus"].Visible());
  EXPECT_TRUE(bench["pnStatus"].Visible());
  EXPECT_TRUE(bench.Timer3.Enabled());
}

TEST(ReceiveDispatcher, ARetardLimitBelowFifteenAlsoLimitsPointOneInPalunor6Only) {
  LinkBench newer(Variant::Palunor6);
  newer.Receive(test::Version("QZR", 7, 20, 9, 'D'));
  EXPECT_EQ(newer.model.FirstPointRetard, 9);
  EXPECT_EQ(newer.caption, "VYN Advance Controller Program (QZR Version 0.7, Dual Channel)");
  LinkBench older(Variant::Palunor);
  older.Receive(test::Version("QZR", 7, 20, 9, 'D'));
  EXPECT_EQ(older.model.FirstPointRetard, 15);
  EXPECT_EQ(older.model.MaxRetard, 9);
  EXPECT_EQ(older.link.DeviceModel, "");
}

TEST(ReceiveDispatcher, APlxVersionReplyIsKnownOnlyToPalunor6) {
  LinkBench newer(Variant::Palunor6);
  newer.Receive(test::Version("PLX", 52, 20, 20, 'x'));
  EXPECT_EQ(newer.caption, "VYN Advance Controller Program (PLX Version 5.2)");
  EXPECT_EQ(newer.link.DeviceModel, "PLX");
  LinkBench older(Variant::Palunor);
  older.Receive(test::Version("PLX", 52, 20, 20, 'x'));
  EXPECT_FALSE(older.link.DeviceFound);
  EXPECT_EQ(older.caption, "VYN Advance Controller Program  (No QZR Found!)");
}

TEST(ReceiveDispatcher, AVersionReplyToAKnownControllerOnlyRefreshesTheLink) {
  LinkBench bench(Variant::Palunor6);
  bench.Receive(test::Version("PLX", 60, 20, 18, 'D'));
  bench["RDBut"].SetEnabled(false);
  bench.caption = "unchanged";
  bench.link.LinkTicks = 3;
  bench.Timer3.SetEnabled(false);
  bench.Receive(test::Version("QZR", 45, 10, 10, 'S'));
  EXPECT_EQ(bench.link.DeviceModel, "QZR");
  EXPECT_EQ(bench.link.LinkTicks, 0);
  EXPECT_EQ(bench.caption, "unchanged");
  EXPECT_EQ(bench.model.MaxAdvance, 20);
  EXPECT_EQ(bench.model.DeviceVersion, 60);
  EXPECT_EQ(bench.model.FirstPointRetard, 15);
  EXPECT_FALSE(bench["RDBut"].Enabled());
  EXPECT_TRUE(bench.Timer3.Enabled());
}

TEST(ReceiveDispatcher, ACurveReplyNobodyAskedForChangesNoCurve) {
  LinkBench bench(Variant::Palunor6);
  bench.Identify();
  bench.Receive(std::string(33, 'x'));  // the overflow rule drops what is in front
  bench.Receive(CurveReplyOf(Ramp(3), 'P', 5, 9, 2));
  for (int c = 1; c <= 2; ++c) {
    EXPECT_EQ(bench.model.Working(c), test::Flat()) << c;
    EXPECT_EQ(bench.model.Device(c), test::Flat()) << c;
  }
  EXPECT_EQ(bench.TakeWritten(), "");
  EXPECT_EQ(bench.options.VrefStep, 3);
  EXPECT_EQ(bench.model.CurrentCurve, 2);
  EXPECT_EQ(bench.RxBuffer(), "");
}

TEST(ReceiveDispatcher, SwitchingTheShownCurveDuringAReadDoesNotMisplaceTheSecondReply) {
  LinkBench bench(Variant::Palunor6);
  StartRead(bench);
  bench.Receive(CurveReplyOf(Ramp(1)));
  bench.model.CurrentCurve = 1;  // the user shows curve 1 while curve 2 is on its way
  bench.Receive(CurveReplyOf(Ramp(44)));
  EXPECT_EQ(bench.model.Working(1), Ramp(1));
  EXPECT_EQ(bench.model.Working(2), Ramp(44));
  EXPECT_EQ(bench["lblstat"].Caption(), "Lines Received!");
}

TEST(ReceiveDispatcher, OptionBytesInLiveDataAreNotTakenForTheOptionStatus) {
  LinkBench bench(Variant::Palunor6);
  bench.Identify();
  bench.live.LiveDataExpected = true;
  // Seventeen frames fill 34 bytes with "A" at byte 30 and 12 V at byte 32.
  for (int i = 0; i < 17; ++i) bench.Receive(i == 14 ? std::string("\x30\x41") : "\x0c\x0c");
  EXPECT_FALSE(bench.options.InputPositive);
  EXPECT_EQ(bench.options.VrefStep, 3);
  EXPECT_NE(bench["lblstat"].Caption(), "Lines Received!");
}

TEST(ReceiveDispatcher, ABufferThatBeginsWithSdStaysBoundedAndLetsLaterRepliesThrough) {
  LinkBench bench(Variant::Palunor6);
  bench.Identify();
  bench.Receive("SD");
  for (int i = 0; i < 200; ++i) {
    bench.Receive("\x01\x02\x03\x04\x05\x06\x07");
    EXPECT_LT(bench.RxBuffer().size(), protocol::kCurveReplyLength + 7);
  }
  EXPECT_EQ(bench.model.Working(2), test::Flat());
  bench["Button6"].Click();
  bench.Receive("RECOK");
  EXPECT_EQ(bench["lblstat"].Caption(), "LINE 2 SAVED");
  bench.clock.Advance(700);
  bench["RDBut"].Click();
  bench.Receive("SD");
  bench.Receive(CurveReplyOf(Ramp(8)).substr(2));
  EXPECT_EQ(bench.model.Working(1), Ramp(8));
}

TEST(ReceiveDispatcher, AReplyOfOtherBytesTooLongForAnyRecordIsDropped) {
  LinkBench bench(Variant::Palunor6);
  bench.Receive(std::string(33, 'x'));
  EXPECT_EQ(bench.RxBuffer().size(), 33u);
  bench.Receive("CHT");
  EXPECT_EQ(bench["lblstat"].Caption(), "Time Changed!");
  bench.Receive(std::string(40, 'x'));
  bench.Receive("x");
  EXPECT_EQ(bench.RxBuffer(), "x");
}

TEST(ReceiveDispatcher, AnEmptyChunkIsIgnored) {
  LinkBench bench(Variant::Palunor6);
  const std::string trace = bench["Label33"].Caption();
  bench.form.CPDrvReceiveData(bench.CPDrv, nullptr, 0);
  EXPECT_EQ(bench["Label33"].Caption(), trace);
}

}  // namespace
