// Guards the wire format: every command's bytes, the point and version byte
// encodings, and the decoding of curve, version and live replies, short or odd.
#include "protocol/catalogue.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int v : values) bytes += static_cast<char>(v);
  return bytes;
}

TEST(Commands, FixedCommandsAreTheirLettersAndNothingElse) {
  EXPECT_EQ(protocol::VersionRequest(), "VER");
  EXPECT_EQ(protocol::ReadCurve(1), "RD1");
  EXPECT_EQ(protocol::ReadCurve(2), "RD2");
  EXPECT_EQ(protocol::ReadPlx(), "RD");
  EXPECT_EQ(protocol::RecordEeprom(1), "EW1");
  EXPECT_EQ(protocol::RecordEeprom(2), "EW2");
  EXPECT_EQ(protocol::LiveOn(), "LON");
  EXPECT_EQ(protocol::LiveOff(), "LOF");
  EXPECT_EQ(protocol::Output12V(), "O12");
  EXPECT_EQ(protocol::Output5V(), "O05");
  EXPECT_EQ(protocol::InputNegative(), "INF");
  EXPECT_EQ(protocol::InputPositive(), "IPF");
  EXPECT_EQ(protocol::BypassOff(), "TTS");
}

TEST(Commands, ByteParametersAreRawLowBytes) {
  EXPECT_EQ(protocol::SetBypassTime(20), "TT\x14"s);
  EXPECT_EQ(protocol::SetBypassTime(1), "TT\x01"s);
  EXPECT_EQ(protocol::SetBypassTime(300), "TT" + Bytes({44}));
  EXPECT_EQ(protocol::SetVref(0), "PR\0"s);
  EXPECT_EQ(protocol::SetVref(0).size(), 3u);
  EXPECT_EQ(protocol::SetVref(15), "PR\x0f"s);
  EXPECT_EQ(protocol::SendPointCode(39), "SD'");
  EXPECT_EQ(protocol::SendPointCode(6), "SD\x06"s);
}

TEST(Commands, SendingAFlatCurveTwoWritesTwentySixZeroBytes) {
  protocol::CurvePoints flat;
  flat.fill(25);
  const std::string message = protocol::SendCurve(2, flat);
  EXPECT_EQ(message, "SD2" + std::string(26, '\0'));
  EXPECT_EQ(message.size(), 29u);
}

TEST(Commands, SendCurveEncodesEachPointInOrder) {
  protocol::CurvePoints points;
  points.fill(25);
  points[0] = 0;
  points[1] = 50;
  points[2] = 24;
  points[25] = 26;
  const std::string message = protocol::SendCurve(1, points);
  ASSERT_EQ(message.size(), 29u);
  EXPECT_EQ(message.substr(0, 3), "SD1");
  EXPECT_EQ(static_cast<std::uint8_t>(message[3]), 153);
  EXPECT_EQ(static_cast<std::uint8_t>(message[4]), 25);
  EXPECT_EQ(static_cast<std::uint8_t>(message[5]), 129);
  EXPECT_EQ(static_cast<std::uint8_t>(message[28]), 1);
}

TEST(PointByte, EncodesSignAndMagnitudeDegrees) {
  EXPECT_EQ(protocol::EncodePoint(50), 25);
  EXPECT_EQ(protocol::EncodePoint(26), 1);
  EXPECT_EQ(protocol::EncodePoint(25), 0);
  EXPECT_EQ(protocol::EncodePoint(24), 129);
  EXPECT_EQ(protocol::EncodePoint(0), 153);
}

TEST(PointByte, DecodesEveryByteWithoutRejecting) {
  EXPECT_EQ(protocol::DecodePoint(0), 25);
  EXPECT_EQ(protocol::DecodePoint(25), 50);
  EXPECT_EQ(protocol::DecodePoint(26), 51);
  EXPECT_EQ(protocol::DecodePoint(128), 153);
  EXPECT_EQ(protocol::DecodePoint(129), 24);
  EXPECT_EQ(protocol::DecodePoint(153), 0);
  EXPECT_EQ(protocol::DecodePoint(154), 255);
  EXPECT_EQ(protocol::DecodePoint(200), 209);
  EXPECT_EQ(protocol::DecodePoint(255), 154);
}

TEST(PointByte, EveryEditableValueSurvivesTheWire) {
  for (int v = 0; v <= 50; ++v) {
    const auto value = static_cast<std::uint8_t>(v);
    EXPECT_EQ(protocol::DecodePoint(protocol::EncodePoint(value)), value) << v;
  }
}

TEST(VersionText, ShowsTenthsAsWholeDotFraction) {
  EXPECT_EQ(protocol::VersionText(60), "6.0");
  EXPECT_EQ(protocol::VersionText(7), "0.7");
  EXPECT_EQ(protocol::VersionText(5), "0.5");
  EXPECT_EQ(protocol::VersionText(123), "12.3");
  EXPECT_EQ(protocol::VersionText(255), "25.5");
}

std::string CurveReplyBytes(std::string_view tail) {
  std::string bytes = "SD" + Bytes({7});
  for (int i = 0; i < 26; ++i) bytes += static_cast<char>(i);  // 25..50
  bytes += tail;
  return bytes;
}

TEST(CurveReply, DecodesPointsAndOptionStatus) {
  const auto reply = protocol::CurveReply::Decode(CurveReplyBytes("AP" + Bytes({12, 9, 'S'})));
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ(reply->byte3, 7);
  EXPECT_EQ(reply->points[0], 25);
  EXPECT_EQ(reply->points[25], 50);
  ASSERT_TRUE(reply->options.has_value());
  EXPECT_EQ(reply->options->polarity, 'P');
  EXPECT_EQ(reply->options->voltage, 12);
  EXPECT_EQ(reply->options->vref, 9);
  EXPECT_EQ(reply->options->bypass, 'S');
}

TEST(CurveReply, DecodesRetardAndWrappedPointBytes) {
  std::string bytes = CurveReplyBytes("AN" + Bytes({5, 0, 20}));
  bytes[3] = static_cast<char>(153);
  bytes[4] = static_cast<char>(129);
  bytes[5] = static_cast<char>(255);
  const auto reply = protocol::CurveReply::Decode(bytes);
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ(reply->points[0], 0);
  EXPECT_EQ(reply->points[1], 24);
  EXPECT_EQ(reply->points[2], 154);
}

TEST(CurveReply, WithoutTheAMarkCarriesNoOptions) {
  const auto reply = protocol::CurveReply::Decode(CurveReplyBytes("BP" + Bytes({12, 9, 4})));
  ASSERT_TRUE(reply.has_value());
  EXPECT_FALSE(reply->options.has_value());
}

TEST(CurveReply, ShortOrForeignInputIsNotAReply) {
  const std::string whole = CurveReplyBytes("AP" + Bytes({12, 9, 4}));
  EXPECT_FALSE(protocol::CurveReply::Decode(whole.substr(0, 33)).has_value());
  EXPECT_FALSE(protocol::CurveReply::Decode("").has_value());
  EXPECT_FALSE(protocol::CurveReply::Decode("S").has_value());
  std::string foreign = whole;
  foreign[1] = 'X';
  EXPECT_FALSE(protocol::CurveReply::Decode(foreign).has_value());
}

TEST(CurveReply, AReplyJoinedWithTheNextIsReadFromItsOwn34Bytes) {
  const auto reply = protocol::CurveReply::Decode(CurveReplyBytes("AP" + Bytes({5, 3, 2})) + "QZR");
  ASSERT_TRUE(reply.has_value());
  ASSERT_TRUE(reply->options.has_value());
  EXPECT_EQ(reply->options->bypass, 2);
}

TEST(CurveReply, EncodedReplyDecodesToItself) {
  protocol::CurveReply reply;
  reply.byte3 = 1;
  for (std::size_t i = 0; i < 26; ++i) reply.points[i] = static_cast<std::uint8_t>(2 * i);
  reply.options = protocol::OptionStatus{'N', 5, 15, 20};
  const std::string bytes = reply.Encode();
  ASSERT_EQ(bytes.size(), protocol::kCurveReplyLength);
  const auto back = protocol::CurveReply::Decode(bytes);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->points, reply.points);
  ASSERT_TRUE(back->options.has_value());
  EXPECT_EQ(back->options->polarity, 'N');
  EXPECT_EQ(back->options->bypass, 20);

  reply.options.reset();
  const std::string bare = reply.Encode();
  ASSERT_EQ(bare.size(), protocol::kCurveReplyLength);
  EXPECT_FALSE(protocol::CurveReply::Decode(bare)->options.has_value());
}

TEST(VersionReply, DecodesBothModelCodes) {
  const auto qzr = protocol::VersionReply::Decode("QZR" + Bytes({60, 25, 20, 'D'}));
  ASSERT_TRUE(qzr.has_value());
  EXPECT_EQ(qzr->model, "QZR");
  EXPECT_EQ(qzr->version, 60);
  EXPECT_EQ(qzr->max_advance, 25);
  EXPECT_EQ(qzr->max_retard, 20);
  EXPECT_EQ(qzr->channels, 'D');

  const auto plx = protocol::VersionReply::Decode("PLX" + Bytes({52, 30, 0, 0}));
  ASSERT_TRUE(plx.has_value());
  EXPECT_EQ(plx->model, "PLX");
  EXPECT_EQ(plx->version, 52);
  EXPECT_EQ(plx->max_retard, 0);
}

TEST(VersionReply, OnlySevenBytesWithAKnownModelCount) {
  EXPECT_FALSE(protocol::VersionReply::Decode("QZR" + Bytes({60, 25, 20})).has_value());
  EXPECT_FALSE(protocol::VersionReply::Decode("QZR" + Bytes({60, 25, 20, 'S', 0})).has_value());
  EXPECT_FALSE(protocol::VersionReply::Decode("QZX" + Bytes({60, 25, 20, 'S'})).has_value());
  EXPECT_FALSE(protocol::VersionReply::Decode("").has_value());
}

TEST(VersionReply, EncodedReplyDecodesToItself) {
  const protocol::VersionReply reply{"PLX", 61, 20, 18, 'S'};
  const auto back = protocol::VersionReply::Decode(reply.Encode());
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->model, "PLX");
  EXPECT_EQ(back->version, 61);
  EXPECT_EQ(back->max_advance, 20);
  EXPECT_EQ(back->max_retard, 18);
  EXPECT_EQ(back->channels, 'S');
}

TEST(LiveFrame, DecodesPeriodAndAdvancePointByte) {
  const auto frame = protocol::LiveFrame::Decode(Bytes({120, 153}));
  ASSERT_TRUE(frame.has_value());
  EXPECT_EQ(frame->period, 120);
  EXPECT_EQ(frame->advance, 0);
}

TEST(LiveFrame, AnOkAcknowledgementReadsAsAnImplausibleAdvance) {
  const auto frame = protocol::LiveFrame::Decode("OK");
  ASSERT_TRUE(frame.has_value());
  EXPECT_EQ(frame->period, 'O');
  EXPECT_EQ(frame->advance, 100);
}

TEST(LiveFrame, OnlyTwoBytesMakeAFrame) {
  EXPECT_FALSE(protocol::LiveFrame::Decode("").has_value());
  EXPECT_FALSE(protocol::LiveFrame::Decode("x").has_value());
  EXPECT_FALSE(protocol::LiveFrame::Decode("xyz").has_value());
  const protocol::LiveFrame frame{76, 12};
  const auto back = protocol::LiveFrame::Decode(frame.Encode());
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->period, 76);
  EXPECT_EQ(back->advance, 12);
}

}  // namespace
