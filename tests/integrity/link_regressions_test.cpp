// Each case here once let a wrong curve reach the controller or the screen claim what
// the controller does not hold: lost and duplicated replies, damaged replies, stale
// acknowledgements, a curve switch during a Read, the timers of the link. Whole form,
// virtual clock, the controller's replies fed by hand.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "map/map_file.h"
#include "map/marker.h"
#include "protocol/catalogue.h"
#include "protocol/command_channel.h"
#include "protocol/link_bench.h"

namespace {

using test::CurveReplyOf;
using test::Flat;
using test::LinkBench;
using test::Ramp;
using ui::Variant;

constexpr std::uint32_t kPastBound = protocol::CommandChannel::kBoundMs + 200;

class Link : public ::testing::TestWithParam<Variant> {
 protected:
  void SetUp() override { bench.Identify("QZR", 60); }

  // The chart shows curve c: every marker at its point's top, the switch offering the
  // other curve, and the editor acting on c.
  void ExpectShown(int c) {
    EXPECT_EQ(bench.model.CurrentCurve, c);
    EXPECT_EQ(bench["Button2"].Caption(), c == 1 ? "Advance &2" : "Advance &1");
    for (int p = 1; p <= 26; ++p) {
      const int top = bench["Lb" + std::to_string(p)].Top();
      EXPECT_EQ(map::ValueOfTop(top), bench.model.Working(c)[static_cast<std::size_t>(p - 1)])
          << "point " << p;
    }
  }

  LinkBench bench{GetParam()};
};

// Read, the answer to "RD2" is lost, Read again: the second Read is refused until the
// first is over, and the next one files each answer under its own curve. The mirror:
// the first answer lost.
TEST_P(Link, ALostReplyNeverShiftsTheFilingOfLaterOnes) {
  bench["RDBut"].Click();
  bench.Receive(CurveReplyOf(Ramp(1)));
  EXPECT_EQ(bench.TakeWritten(), "RD1RD2");
  bench.clock.Advance(1000);
  bench["RDBut"].Click();
  EXPECT_EQ(bench.TakeWritten(), "");
  bench.clock.Advance(kPastBound);
  bench["RDBut"].Click();
  EXPECT_EQ(bench.TakeWritten(), "RD1");
  bench.Receive(CurveReplyOf(Ramp(1)));
  EXPECT_EQ(bench.TakeWritten(), "RD2");
  bench.Receive(CurveReplyOf(Ramp(30)));
  EXPECT_EQ(bench.model.Working(2), Ramp(30));
  EXPECT_EQ(bench.model.Device(2), Ramp(30));
  EXPECT_EQ(bench["lblstat"].Caption(), "Lines Received!");

  LinkBench mirror(GetParam());
  mirror.Identify("QZR", 60);
  mirror["RDBut"].Click();
  mirror.clock.Advance(kPastBound);
  mirror["RDBut"].Click();
  EXPECT_EQ(mirror.TakeWritten(), "RD1RD1");
  mirror.Receive(CurveReplyOf(Ramp(1)));
  mirror.Receive(CurveReplyOf(Ramp(30)));
  EXPECT_EQ(mirror.model.Working(1), Ramp(1));
  EXPECT_EQ(mirror.model.Working(2), Ramp(30));
}

// A duplicate or late answer in the same chunk as the awaited one arrived before "RD2"
// was written: it answers nothing, and the real answer to "RD2" is taken.
TEST_P(Link, ASecondCurveReplyInTheSameChunkAnswersNothing) {
  bench["RDBut"].Click();
  bench.Receive(CurveReplyOf(Ramp(1)) + CurveReplyOf(Ramp(1)));
  EXPECT_EQ(bench.TakeWritten(), "RD1RD2");
  EXPECT_EQ(bench.model.Working(2), Flat());
  EXPECT_NE(bench["lblstat"].Caption(), "Lines Received!");
  bench.Receive(CurveReplyOf(Ramp(30)));
  EXPECT_EQ(bench.model.Working(2), Ramp(30));
  EXPECT_EQ(bench["lblstat"].Caption(), "Lines Received!");
}

// The late answer to an abandoned Read has arrived, not yet polled, when the next Read
// is written: it answers nothing, and each later answer lands under its own curve.
TEST_P(Link, ALateAnswerToAnAbandonedReadAnswersNothing) {
  bench["RDBut"].Click();
  bench.clock.Advance(kPastBound);
  bench.wire->waiting = CurveReplyOf(Ramp(40));
  bench["RDBut"].Click();
  EXPECT_EQ(bench.TakeWritten(), "RD1RD1");
  bench.clock.Advance(60);
  EXPECT_EQ(bench.TakeWritten(), "");
  EXPECT_EQ(bench.model.Working(1), Flat());
  bench.Receive(CurveReplyOf(Ramp(1)));
  bench.Receive(CurveReplyOf(Ramp(30)));
  EXPECT_EQ(bench.model.Working(1), Ramp(1));
  EXPECT_EQ(bench.model.Working(2), Ramp(30));
}

// Every byte lost, inserted or inverted anywhere in the points or the "A" of a curve
// reply: nothing is stored, the status line says so in red, no "RD2" goes out.
TEST_P(Link, ADamagedCurveReplyIsNeverStored) {
  const std::string reply = CurveReplyOf(Ramp(3));
  for (std::size_t at = 2; at < 30; ++at) {
    for (int damage = 0; damage < 3; ++damage) {
      LinkBench b(GetParam());
      b.Identify("QZR", 60);
      b["RDBut"].Click();
      std::string bytes = reply;
      if (damage == 0) bytes.erase(at, 1);
      if (damage == 1) bytes.insert(at, 1, static_cast<char>(at));
      if (damage == 2) bytes[at] = static_cast<char>(~bytes[at]);
      b.Receive(bytes);
      const bool harmless = damage == 2 && at == 2;  // byte 3 carries nothing
      if (harmless) continue;
      EXPECT_EQ(b.model.AdvCurves[0], Flat()) << at << " " << damage;
      EXPECT_EQ(b.model.DeviceCurves[0], Flat()) << at << " " << damage;
      EXPECT_EQ(b.TakeWritten(), "RD1") << at << " " << damage;
      EXPECT_EQ(b["lblstat"].FontColor(), ui::kRed) << at << " " << damage;
      EXPECT_TRUE(b.Timer3.Enabled()) << at << " " << damage;
    }
  }
}

// A curve switch, or a map opened, while a Read waits: when its bound passes the curve
// shown before the Read is shown again, and the editor acts on it.
TEST_P(Link, AnAbandonedReadShowsTheCurveItActsOn) {
  bench.model.Working(1) = Ramp(5);
  bench["RDBut"].Click();
  bench["Button2"].Click();
  ExpectShown(1);
  bench.clock.Advance(kPastBound);
  ExpectShown(2);

  const std::filesystem::path map = std::filesystem::temp_directory_path() / "integrity-open.IJJ";
  std::ofstream(map, std::ios::binary) << map::MapFileText({Ramp(7), Ramp(9)});
  bench.clock.Advance(700);
  bench["RDBut"].Click();
  bench.Receive(CurveReplyOf(Ramp(1)));
  bench.dialogs.AnswerFile(map.string());
  bench["OpenBut"].Click();
  bench.clock.Advance(kPastBound);
  ExpectShown(2);
  EXPECT_EQ(bench.model.Working(2), Ramp(9));
  std::filesystem::remove(map);
}

// Between the curve-1 reply and the end of the Read nothing may be sent: a Send then
// would write a curve never read over the controller's.
TEST_P(Link, NoCommandGoesOutWhileAReadWaits) {
  bench["RDBut"].Click();
  bench.Receive(CurveReplyOf(Ramp(1)));
  bench.TakeWritten();
  bench.clock.Advance(700);
  for (const char* button : {"SDBut", "Button6", "RDBut", "VerBut", "V5But", "btnPN"}) {
    bench[button].Click();
  }
  bench.clock.Advance(600);
  EXPECT_EQ(bench.TakeWritten(), "");
  ExpectShown(1);
  bench.Receive(CurveReplyOf(Ramp(30)));
  EXPECT_EQ(bench["lblstat"].Caption(), "Lines Received!");
  ExpectShown(2);
}

// A Send that got no answer, then a Send of the other curve: the "OK" answers the one
// written last, and an "OK" or "RECOK" nobody waits for changes nothing.
TEST_P(Link, AnAcknowledgementAnswersOnlyTheCommandThatWaits) {
  bench.model.Working(2) = Ramp(12);
  bench["SDBut"].Click();
  bench.clock.Advance(kPastBound);
  bench["Button2"].Click();
  bench.model.Working(1) = Ramp(10);
  bench["SDBut"].Click();
  bench.Receive("OK");
  EXPECT_EQ(bench["lblstat"].Caption(), "LINE 1 SENT");
  EXPECT_EQ(bench.model.Device(1), Ramp(10));
  // Whether curve 2 went in is not known: its mark stays.
  EXPECT_TRUE(bench["Label34"].Visible());
  EXPECT_TRUE(bench["Label35"].Visible());

  bench.clock.Advance(700);
  bench.Receive("RECOK");
  bench.Receive("OK");
  EXPECT_EQ(bench["lblstat"].Caption(), "LINE 1 SENT");
  EXPECT_EQ(bench.model.Device(2), Flat());
  EXPECT_TRUE(bench["Label35"].Visible());
}

// "REC" | "OK" counts once, and Label35 goes only when every curve sent has been
// recorded.
TEST_P(Link, TheEepromMarkWaitsForEveryCurveSent) {
  for (int c : {1, 2}) {
    if (bench.model.CurrentCurve != c) bench["Button2"].Click();
    bench.model.Working(c) = Ramp(10 + c);
    bench["SDBut"].Click();
    bench.Receive("OK");
    bench.clock.Advance(700);
  }
  EXPECT_TRUE(bench["Label35"].Visible());
  bench["Button6"].Click();  // curve 2 is shown
  bench.Receive("REC");
  bench.Receive("OK");
  EXPECT_EQ(bench["lblstat"].Caption(), "LINE 2 SAVED");
  EXPECT_TRUE(bench["Label35"].Visible());
  bench.clock.Advance(700);
  bench["Button2"].Click();
  bench["Button6"].Click();
  bench.Receive("RECOK");
  EXPECT_EQ(bench["lblstat"].Caption(), "LINE 1 SAVED");
  EXPECT_FALSE(bench["Label35"].Visible());
}

// A map file may hold values no controller takes; Send never writes them.
TEST_P(Link, SendRefusesPointsBeyondTheControllersLimits) {
  // The controller reported +20 and -18 degrees; point 1 goes no lower than -15.
  bench.model.Working(2)[3] = 25 + 21;
  bench.model.Working(2)[0] = 25 - 16;
  bench["SDBut"].Click();
  EXPECT_EQ(bench.TakeWritten(), "");
  ASSERT_FALSE(bench.dialogs.History().empty());
  EXPECT_NE(bench.dialogs.History().back().text.find("points 1 and 4"), std::string::npos);
  EXPECT_FALSE(bench.Timer1.Enabled());
  bench.model.Working(2)[3] = 25 + 20;
  bench.model.Working(2)[0] = 25 - 15;
  bench["SDBut"].Click();
  EXPECT_EQ(bench.TakeWritten().substr(0, 3), "SD2");
}

// A press with no hover before it (a touch screen): the arrows then act on the
// pressed point's own value.
TEST_P(Link, APressOnAMarkerTakesThePressedPointsValue) {
  bench.model.Working(2)[4] = 40;
  bench.model.Working(2)[8] = 10;
  bench["Lb5"].MouseMove(3, 3);
  bench["Lb9"].MouseDown(ui::MouseButton::Left, 3, 3);
  bench["Lb9"].MouseUp(ui::MouseButton::Left, 3, 3);
  bench["SpeedButton1"].Click();
  EXPECT_EQ(bench.model.Working(2)[8], 11);
  EXPECT_EQ(bench.model.Working(2)[4], 40);
}

// Edits in curve 2, and a Read that only gets curve 1: the mark stays over them.
TEST_P(Link, AReadAbandonedHalfWayKeepsTheMarkOverUnsentEdits) {
  bench["SpeedButton1"].Click();
  ASSERT_TRUE(bench["Label34"].Visible());
  bench.clock.Advance(700);
  bench["RDBut"].Click();
  bench.Receive(CurveReplyOf(Flat()));
  EXPECT_TRUE(bench["Label34"].Visible());
  bench.clock.Advance(kPastBound);
  EXPECT_TRUE(bench["Label34"].Visible());
  EXPECT_EQ(bench.model.Working(2)[0], 26);
}

// While live data runs the supervision rests: no reply starts it, nothing declares
// the controller lost, and a version reply leaves the locked commands locked.
TEST_P(Link, LiveDataKeepsTheSupervisionAtRest) {
  bench["Button3"].Click();
  bench.Receive("\x30\x05");
  bench.clock.Advance(700);
  bench["SDBut"].Click();
  bench.Receive("OK");
  EXPECT_FALSE(bench.Timer3.Enabled());
  bench.clock.Advance(700);
  bench["Button6"].Click();
  bench.Receive("RECOK");
  EXPECT_FALSE(bench.Timer3.Enabled());
  bench.link.DeviceFound = false;
  bench.Receive(test::Version("QZR", 60));
  EXPECT_FALSE(bench.Timer3.Enabled());
  EXPECT_FALSE(bench["RDBut"].Enabled());
  EXPECT_FALSE(bench["btnAdvSet"].Enabled());
  bench.clock.Advance(20000);
  EXPECT_TRUE(bench["Button3"].Enabled());
  EXPECT_EQ(bench.caption.find("No QZR Present"), std::string::npos);
}

// The 12 V warning open for seconds: no poll goes out meanwhile, and the bound starts
// when "O12" is written. After Cancel the supervision goes on.
TEST_P(Link, TheTwelveVoltWarningHoldsTheLinkQuiet) {
  bench["btnAdvSet"].Click();
  bench.options.Output5V = true;
  bench.dialogs.Answer(ui::DialogResult::Ok, [&] {
    for (int i = 0; i < 30; ++i) {
      bench.clock.Advance(100);
      EXPECT_FALSE(bench.Timer3.Enabled());
    }
  });
  bench["V5But"].Click();
  EXPECT_EQ(bench.TakeWritten(), "O12");
  bench.clock.Advance(protocol::CommandChannel::kBoundMs - 100);
  EXPECT_FALSE(bench.Timer3.Enabled());
  bench.Receive("CH12");
  EXPECT_TRUE(bench.Timer3.Enabled());

  bench.clock.Advance(700);
  bench.options.Output5V = true;
  bench.dialogs.Answer(ui::DialogResult::Cancel);
  bench.TakeWritten();
  bench["V5But"].Click();
  EXPECT_EQ(bench.TakeWritten(), "");
  EXPECT_TRUE(bench.Timer3.Enabled());
}

// The bound restarts with "RD2" and stops with the reply; it never starts Timer3 inside
// the settings dialog.
TEST_P(Link, TheBoundKeepsItsWord) {
  bench["RDBut"].Click();
  bench.clock.Advance(1900);
  bench.Receive(CurveReplyOf(Ramp(1)));
  bench.clock.Advance(1900);
  bench.Receive(CurveReplyOf(Ramp(30)));
  EXPECT_EQ(bench["lblstat"].Caption(), "Lines Received!");
  EXPECT_EQ(bench.model.Working(2), Ramp(30));

  bench.clock.Advance(700);
  bench["SDBut"].Click();
  bench.Receive("OK");
  bench.dialogs.Answer(ui::DialogResult::Ok);  // close the connection and continue
  bench.dialogs.CancelSettings([&] {
    for (int i = 0; i < 40; ++i) {
      bench.clock.Advance(100);
      EXPECT_FALSE(bench.Timer3.Enabled());
    }
  });
  bench["Button5"].Click();
  EXPECT_TRUE(bench.Timer3.Enabled());
}

// "LOF" lost on the line: the controller streams on. A Read still finds its replies
// behind the frames, and the stream is stopped again.
TEST_P(Link, AStreamThatWasNeverStoppedIsStoppedAgainAndDoesNotHideReplies) {
  bench["RDBut"].Click();
  bench.Receive("\x30\x05" + CurveReplyOf(Ramp(10)));
  EXPECT_EQ(bench.TakeWritten(), "RD1RD2");
  bench.Receive("\x30\x06");
  bench.Receive("\x31\x05" + CurveReplyOf(Ramp(12)));
  EXPECT_EQ(bench.model.Working(2), Ramp(12));
  EXPECT_EQ(bench["lblstat"].Caption(), "Lines Received!");
  for (int frame = 0; frame < 12; ++frame) {
    bench.clock.Advance(100);
    bench.Receive("\x32\x05");
  }
  EXPECT_EQ(bench.TakeWritten(), "LOF");
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, Link, ::testing::Values(Variant::Palunor6, Variant::Palunor),
                         [](const auto& info) { return ui::ProgramName(info.param); });

}  // namespace
