// Guards the controller's side of the protocol byte for byte: every command's reply,
// the parsing of commands by their fixed lengths across split input and garbage, the
// RD/RD1 ambiguity of the two models, the EEPROM copy and the option state.
#include "sim/controller.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "protocol/catalogue.h"
#include "sim_harness.h"

namespace {

using simtest::Bytes;

std::string HearAll(sim::Controller& controller, std::string_view bytes) {
  std::string replies;
  for (char c : bytes) replies += controller.Hear(static_cast<std::uint8_t>(c));
  return replies;
}

std::string CurveBytes(const protocol::CurvePoints& points) {
  std::string bytes;
  for (std::uint8_t v : points) bytes += static_cast<char>(protocol::EncodePoint(v));
  return bytes;
}

protocol::CurvePoints Flat(std::uint8_t value) {
  protocol::CurvePoints points;
  points.fill(value);
  return points;
}

TEST(ControllerReplies, VersionRequestGetsModelVersionLimitsAndChannels) {
  sim::Controller qzr;
  EXPECT_EQ(HearAll(qzr, "VER"), Bytes({'Q', 'Z', 'R', 60, 25, 25, 'D'}));

  sim::Controller plx(sim::Model::PLX);
  plx.SetVersion(52);
  plx.SetLimits(30, 12);
  plx.SetChannels('S');
  EXPECT_EQ(HearAll(plx, "VER"), Bytes({'P', 'L', 'X', 52, 30, 12, 'S'}));
}

TEST(ControllerReplies, CurveReadGetsThirtyFourBytesWithPointsAndOptionStatus) {
  sim::Controller controller;
  controller.Ram(2) = Flat(25);
  controller.Ram(2)[0] = 0;    // -25 degrees
  controller.Ram(2)[25] = 50;  // +25 degrees
  controller.GetOptions() = sim::Options{true, true, true, 4, 3};

  const std::string reply = HearAll(controller, "RD2");
  ASSERT_EQ(reply.size(), 34u);
  std::string expected = "SD2" + std::string(1, char(153)) + std::string(24, '\0') +
                         std::string(1, char(25)) + Bytes({'A', 'P', 5, 3, 4});
  EXPECT_EQ(reply, expected);
  EXPECT_EQ(HearAll(controller, "RD1").substr(3, 26), CurveBytes(controller.Ram(1)));
}

TEST(ControllerReplies, OptionCommandsChangeTheStateAndAreConfirmed) {
  sim::Controller controller;
  EXPECT_EQ(HearAll(controller, "O12"), "CH12");
  EXPECT_FALSE(controller.GetOptions().output_5v);
  EXPECT_EQ(HearAll(controller, "O05"), "CH05");
  EXPECT_TRUE(controller.GetOptions().output_5v);
  EXPECT_EQ(HearAll(controller, "INF"), "CHNF");
  EXPECT_FALSE(controller.GetOptions().input_positive);
  EXPECT_EQ(HearAll(controller, "IPF"), "CHPF");
  EXPECT_TRUE(controller.GetOptions().input_positive);
  EXPECT_EQ(HearAll(controller, protocol::SetBypassTime(7)), "CHT");
  EXPECT_EQ(controller.GetOptions().bypass_step, 7);
  EXPECT_EQ(HearAll(controller, protocol::SetVref(0)), "CHR");
  EXPECT_EQ(controller.GetOptions().vref_step, 0);

  HearAll(controller, "O12INF");
  const std::string reply = HearAll(controller, "RD1");
  EXPECT_EQ(reply.substr(29), Bytes({'A', 'N', 12, 0, 7}));
}

TEST(ControllerReplies, BypassStepEightyThreeIsTimeOff) {
  sim::Controller controller;
  // "TTS" and "TT" with step byte 83 are the same bytes.
  EXPECT_EQ(protocol::SetBypassTime(83), protocol::BypassOff());
  EXPECT_EQ(HearAll(controller, "TTS"), "CHS");
  EXPECT_FALSE(controller.GetOptions().bypass_on);
  EXPECT_EQ(static_cast<std::uint8_t>(HearAll(controller, "RD1")[33]), 'S');

  EXPECT_EQ(HearAll(controller, protocol::SetBypassTime(2)), "CHT");
  EXPECT_TRUE(controller.GetOptions().bypass_on);
  EXPECT_EQ(static_cast<std::uint8_t>(HearAll(controller, "RD1")[33]), 2);
}

TEST(ControllerReplies, OptionStepsOutOfRangeAreIgnoredWithoutReply) {
  sim::Controller controller;
  const sim::Options before = controller.GetOptions();
  EXPECT_EQ(HearAll(controller, protocol::SetBypassTime(0)), "");
  EXPECT_EQ(HearAll(controller, protocol::SetBypassTime(21)), "");
  EXPECT_EQ(HearAll(controller, protocol::SetVref(16)), "");
  EXPECT_EQ(controller.GetOptions().bypass_step, before.bypass_step);
  EXPECT_EQ(controller.GetOptions().vref_step, before.vref_step);
  // Each was taken as one whole command: the next one is understood.
  EXPECT_EQ(HearAll(controller, "VER").size(), 7u);
}

TEST(ControllerCurves, SentCurveGoesToRamAndIsAccepted) {
  sim::Controller controller;
  const protocol::CurvePoints eeprom = controller.Eeprom(2);
  protocol::CurvePoints sent = Flat(25);
  sent[0] = 25;
  sent[1] = 26;
  sent[2] = 24;
  EXPECT_EQ(HearAll(controller, protocol::SendCurve(2, sent)), "OK");
  EXPECT_EQ(controller.Ram(2), sent);
  EXPECT_EQ(controller.Eeprom(2), eeprom);
  EXPECT_EQ(HearAll(controller, "RD2").substr(3, 26), CurveBytes(sent));
}

TEST(ControllerCurves, CurveWithAPointBeyondTwentyFiveDegreesIsRefused) {
  sim::Controller controller;
  const protocol::CurvePoints before = controller.Ram(1);
  std::string message = protocol::SendCurve(1, Flat(25));
  message[10] = char(26);  // decodes to 51: no point byte
  EXPECT_EQ(HearAll(controller, message), "");
  EXPECT_EQ(controller.Ram(1), before);
}

TEST(ControllerCurves, EepromWriteCopiesTheRamCurveAndAnswersRecok) {
  sim::Controller controller;
  const protocol::CurvePoints eeprom1 = controller.Eeprom(1);
  HearAll(controller, protocol::SendCurve(2, Flat(40)));
  EXPECT_NE(controller.Eeprom(2), Flat(40));
  EXPECT_EQ(HearAll(controller, "EW2"), "RECOK");
  EXPECT_EQ(controller.Eeprom(2), Flat(40));
  EXPECT_EQ(controller.Eeprom(1), eeprom1);
}

TEST(ControllerCurves, PlxAcceptsAPointCode) {
  sim::Controller controller(sim::Model::PLX);
  const protocol::CurvePoints before = controller.Ram(1);
  EXPECT_EQ(HearAll(controller, protocol::SendPointCode(23)), "OK");
  EXPECT_EQ(controller.PointCode(), 23);
  EXPECT_EQ(controller.Ram(1), before);
  // Three bytes were the whole command.
  EXPECT_EQ(HearAll(controller, "VER").size(), 7u);
}

TEST(ControllerParsing, QzrWaitsForTheCurveDigitAfterRd) {
  sim::Controller controller;
  EXPECT_EQ(HearAll(controller, "RD"), "");
  EXPECT_EQ(controller.PendingBytes(), 2u);
  EXPECT_EQ(HearAll(controller, "2"), controller.CurveReplyBytes(2));
}

TEST(ControllerParsing, PlxTakesRdAsWholeAndAnswersWithCurveOne) {
  sim::Controller controller(sim::Model::PLX);
  EXPECT_EQ(HearAll(controller, "RD"), controller.CurveReplyBytes(1));
  // A digit after it starts no command and is skipped.
  EXPECT_EQ(HearAll(controller, "2"), "");
  EXPECT_EQ(controller.PendingBytes(), 0u);
}

TEST(ControllerParsing, QzrSkipsRdWithoutADigitAndResynchronises) {
  sim::Controller controller;
  EXPECT_EQ(HearAll(controller, "RDVER"), controller.VersionReplyBytes());
  EXPECT_EQ(HearAll(controller, "RD3RD1"), controller.CurveReplyBytes(1));
}

TEST(ControllerParsing, GarbageBeforeAndInsideCommandsIsSkipped) {
  sim::Controller controller;
  const std::string garbage = Bytes({0, 255, 'x', 'V', 'E', 'V'});
  EXPECT_EQ(HearAll(controller, garbage + "ER" + Bytes({13, 10}) + "O1O12"),
            controller.VersionReplyBytes() + "CH12");
  EXPECT_EQ(HearAll(controller, "EW3EW1"), "RECOK");
}

TEST(ControllerParsing, CommandsArrivingByteByByteOrJoinedAreEachAnswered) {
  sim::Controller controller;
  std::string replies;
  for (char c : std::string("VERO12IPF")) replies += controller.Hear(static_cast<std::uint8_t>(c));
  EXPECT_EQ(replies, controller.VersionReplyBytes() + "CH12CHPF");
}

TEST(ControllerParsing, AForgottenPartialCommandDoesNotSwallowTheNext) {
  sim::Controller controller;
  HearAll(controller, "SD1" + std::string(10, '\0'));
  controller.ForgetPartialCommand();
  EXPECT_EQ(HearAll(controller, "VER"), controller.VersionReplyBytes());
}

TEST(ControllerLive, LonStartsAndLofStopsTheStream) {
  sim::Controller controller;
  EXPECT_EQ(HearAll(controller, "LON"), "");
  EXPECT_TRUE(controller.LiveStreaming());
  EXPECT_EQ(HearAll(controller, "LOF"), "");
  EXPECT_FALSE(controller.LiveStreaming());
}

TEST(ControllerLive, FramesCarryThePeriodAndTheActiveCurvesAdvance) {
  sim::Controller controller;
  controller.SetVersion(52);  // 8000 RPM axis, plain period byte
  controller.Ram(1) = Flat(30);
  controller.Ram(2) = Flat(10);
  // The engine idles at 800 RPM on the first frame: 120000 / 800 = 150.
  EXPECT_EQ(controller.NextLiveFrame(), Bytes({150, 5}));
  controller.SetActiveCurve(2);
  const std::string frame = controller.NextLiveFrame();
  const auto decoded = protocol::LiveFrame::Decode(frame);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->advance, 10);
  EXPECT_LT(decoded->period, 150);  // the engine speeds up
}

}  // namespace
