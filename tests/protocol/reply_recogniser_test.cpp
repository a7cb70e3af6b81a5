// Guards the reply recogniser: every reply found whatever the poll does to it (split
// anywhere, leftovers in front, joined to the next), in the order of the receive
// steps, and filed only under the request it answers.
#include "protocol/reply_recogniser.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "protocol/link_bench.h"

namespace {

using protocol::ReplyRecogniser;
using test::CurveReplyOf;
using test::Ramp;
using ui::Variant;

// A reply the controller sends, with the command that asks for it.
struct Exchange {
  std::string name;
  std::string command;
  std::string reply;
};

std::vector<Exchange> Exchanges(Variant variant) {
  std::vector<Exchange> all = {
      {"version QZR", "VER", test::Version("QZR", 60)},
      {"CHT", "TT\x04", "CHT"},
      {"CHS", "TTS", "CHS"},
      {"CHR", "PR\x03", "CHR"},
      {"CH12", "O12", "CH12"},
      {"CH05", "O05", "CH05"},
      {"CHPF", "IPF", "CHPF"},
      {"CHNF", "INF", "CHNF"},
      {"RECOK 1", "EW1", "RECOK"},
      {"OK 2", protocol::SendCurve(2, Ramp(4)), "OK"},
      {"curve 1", "RD1", CurveReplyOf(Ramp(7))},
  };
  if (variant == Variant::Palunor6) {
    all.push_back({"version PLX", "VER", test::Version("PLX", 52)});
  }
  return all;
}

// What the handler would act on, as names; traces are left out.
std::vector<std::string> Names(const std::vector<protocol::Reply>& replies) {
  std::vector<std::string> names;
  for (const protocol::Reply& reply : replies) {
    if (const auto* curve = std::get_if<protocol::CurveReplyFor>(&reply)) {
      names.push_back("curve " + std::to_string(curve->curve));
    } else if (const auto* damaged = std::get_if<protocol::DamagedCurveReply>(&reply)) {
      names.push_back("damaged " + std::to_string(damaged->curve));
    } else if (const auto* short_reply = std::get_if<protocol::ShortReply>(&reply)) {
      static const char* kNames[] = {"CHT", "CHS", "CHR", "CH12", "CH05", "CHPF", "CHNF"};
      names.push_back(kNames[static_cast<int>(*short_reply)]);
    } else if (const auto* recorded = std::get_if<protocol::Recorded>(&reply)) {
      names.push_back("RECOK " + std::to_string(recorded->curve));
    } else if (const auto* version = std::get_if<protocol::VersionReply>(&reply)) {
      names.push_back("version " + version->model);
    } else if (std::holds_alternative<protocol::ReadCompleted>(reply)) {
      names.push_back("read completed");
    } else if (std::holds_alternative<protocol::LiveFrame>(reply)) {
      names.push_back("live frame");
    } else if (const auto* sent = std::get_if<protocol::SendAcknowledged>(&reply)) {
      names.push_back("OK " + std::to_string(sent->send.curve));
    }
  }
  return names;
}

std::vector<std::string> FeedAll(ReplyRecogniser& recogniser,
                                 const std::vector<std::string>& chunks) {
  std::vector<std::string> names;
  for (const std::string& chunk : chunks) {
    for (std::string& name : Names(recogniser.Feed(chunk))) names.push_back(std::move(name));
  }
  return names;
}

class EveryVariant : public ::testing::TestWithParam<Variant> {};

TEST_P(EveryVariant, EveryReplySplitAnywhereIsRecognisedOnce) {
  for (const Exchange& exchange : Exchanges(GetParam())) {
    for (std::size_t split = 1; split < exchange.reply.size(); ++split) {
      ReplyRecogniser recogniser(GetParam());
      recogniser.Sent(exchange.command);
      const std::vector<std::string> names =
          FeedAll(recogniser, {exchange.reply.substr(0, split), exchange.reply.substr(split)});
      EXPECT_EQ(names, std::vector<std::string>{exchange.name}) << exchange.name << " " << split;
      EXPECT_FALSE(recogniser.Awaited()) << exchange.name << " " << split;
    }
  }
}

// A short reply stays in RxBuffer until the next reset; the next reply must still be
// found behind it, however the poll cuts it. A PLX version reply is the exception the
// controller's framing has: its first letters do not reset the buffer.
TEST_P(EveryVariant, EveryReplyBehindALeftoverReplyIsRecognisedWhereverItIsSplit) {
  for (const Exchange& exchange : Exchanges(GetParam())) {
    if (exchange.name == "version PLX") continue;
    for (std::size_t split = 0; split < exchange.reply.size(); ++split) {
      ReplyRecogniser recogniser(GetParam());
      recogniser.Sent("O12");
      ASSERT_EQ(Names(recogniser.Feed("CH12")), std::vector<std::string>{"CH12"});
      recogniser.Sent(exchange.command);
      std::vector<std::string> chunks = {exchange.reply};
      if (split > 0) chunks = {exchange.reply.substr(0, split), exchange.reply.substr(split)};
      EXPECT_EQ(FeedAll(recogniser, chunks), std::vector<std::string>{exchange.name})
          << exchange.name << " " << split;
    }
  }
}

TEST(ReplyRecogniser, APlxVersionReplyBehindALeftoverIsNotRecognised) {
  ReplyRecogniser recogniser(Variant::Palunor6);
  recogniser.Feed("CHT");
  recogniser.Sent("VER");
  EXPECT_TRUE(Names(recogniser.Feed(test::Version("PLX", 52))).empty());
}

// Two replies in one chunk: nothing is recognised that was not sent, no curve is
// filed under a curve not asked for (a curve command sent after another replaces it
// as the one awaited: the first one's reply then answers nothing), and the reply
// after them is found.
TEST_P(EveryVariant, JoinedRepliesNeverYieldAForeignReplyAndNeverStallTheNext) {
  const std::vector<Exchange> all = Exchanges(GetParam());
  for (const Exchange& first : all) {
    for (const Exchange& second : all) {
      ReplyRecogniser recogniser(GetParam());
      recogniser.Sent(first.command);
      recogniser.Sent(second.command);
      for (const std::string& name : FeedAll(recogniser, {first.reply + second.reply})) {
        EXPECT_TRUE(name == first.name || name == second.name || name == "curve 0")
            << name << " from " << first.name << " + " << second.name;
      }
      recogniser.Sent("RD1");
      EXPECT_EQ(FeedAll(recogniser, {CurveReplyOf(Ramp(2))}), std::vector<std::string>{"curve 1"})
          << first.name << " + " << second.name;
    }
  }
}

// A version reply or an option's confirmation joined to a curve reply is still taken;
// a curve command's answer cannot follow in the same chunk, since no second curve
// command is written before the first is answered.
TEST(ReplyRecogniser, ACurveReplyFollowedByAnyReplyInOneChunkYieldsBoth) {
  for (const Exchange& next : Exchanges(Variant::Palunor6)) {
    const auto kind = protocol::RequestOf(next.command)->kind;
    if (kind != protocol::RequestKind::Version && kind != protocol::RequestKind::Option) continue;
    ReplyRecogniser recogniser(Variant::Palunor6);
    recogniser.Sent(next.command);
    recogniser.Sent("RD1");
    EXPECT_EQ(FeedAll(recogniser, {CurveReplyOf(Ramp(3)) + next.reply}),
              (std::vector<std::string>{"curve 1", next.name}))
        << next.name;
  }
}

TEST(ReplyRecogniser, RepliesComeInTheOrderOfTheReceiveSteps) {
  ReplyRecogniser recogniser(Variant::Palunor6);
  recogniser.Sent("RD2");
  std::vector<protocol::Reply> replies = recogniser.Feed(CurveReplyOf(Ramp(9)));
  EXPECT_EQ(Names(replies), (std::vector<std::string>{"curve 2", "read completed"}));
  // The traces keep their places: the chunk first, the reply's bytes, its prefix,
  // the option status's voltage byte, and the chunk again at the end.
  std::vector<protocol::TraceLabel> labels;
  for (const protocol::Reply& reply : replies) {
    if (const auto* trace = std::get_if<protocol::Trace>(&reply)) labels.push_back(trace->label);
  }
  using L = protocol::TraceLabel;
  EXPECT_EQ(labels, (std::vector<L>{L::Label33, L::Label22, L::Label33, L::Label31, L::Label31,
                                    L::Label29}));
  recogniser.Sent(protocol::SendCurve(2, Ramp(1)));
  EXPECT_EQ(Names(recogniser.Feed("OK")), std::vector<std::string>{"OK 2"});
}

TEST(ReplyRecogniser, ACurveReplyLandsInTheCurveOfTheRequestItAnswers) {
  ReplyRecogniser recogniser(Variant::Palunor6);
  recogniser.Sent("RD1");
  EXPECT_EQ(FeedAll(recogniser, {CurveReplyOf(Ramp(1))}), std::vector<std::string>{"curve 1"});
  recogniser.Sent("RD2");
  EXPECT_EQ(FeedAll(recogniser, {CurveReplyOf(Ramp(3))}),
            (std::vector<std::string>{"curve 2", "read completed"}));
  EXPECT_EQ(FeedAll(recogniser, {CurveReplyOf(Ramp(4))}), std::vector<std::string>{"curve 0"});
}

TEST(ReplyRecogniser, AnOkThatNoSendWaitsForAcknowledgesNothing) {
  ReplyRecogniser recogniser(Variant::Palunor6);
  EXPECT_TRUE(FeedAll(recogniser, {"OK"}).empty());
  EXPECT_TRUE(FeedAll(recogniser, {"O", "K"}).empty());
  recogniser.Sent(protocol::SendPointCode(7));
  EXPECT_EQ(FeedAll(recogniser, {"O", "K"}), std::vector<std::string>{"OK 0"});
  EXPECT_TRUE(FeedAll(recogniser, {"OK"}).empty());
}

TEST(ReplyRecogniser, TheSendAcknowledgedCarriesThePointsSent) {
  ReplyRecogniser recogniser(Variant::Palunor);
  recogniser.Sent(protocol::SendCurve(1, Ramp(20)));
  const std::vector<protocol::Reply> replies = recogniser.Feed("OK");
  const auto* sent = std::get_if<protocol::SendAcknowledged>(&replies.back());
  ASSERT_NE(sent, nullptr);
  EXPECT_EQ(sent->send.curve, 1);
  EXPECT_TRUE(sent->send.whole_curve);
  EXPECT_EQ(sent->send.points, Ramp(20));
}

// The poll falls after "REC" about once in fifty recordings at 9600 baud.
TEST(ReplyRecogniser, RecokSplitAfterRecIsARecordingNotASendAcknowledgement) {
  ReplyRecogniser recogniser(Variant::Palunor6);
  recogniser.Sent(protocol::SendCurve(2, Ramp(1)));
  EXPECT_EQ(FeedAll(recogniser, {"OK"}), std::vector<std::string>{"OK 2"});
  recogniser.Sent("EW2");
  EXPECT_EQ(FeedAll(recogniser, {"REC", "OK"}), std::vector<std::string>{"RECOK 2"});
}

TEST(ReplyRecogniser, ACurveReplyOf33BytesStoresItsPointsAndWaitsForByte34) {
  ReplyRecogniser recogniser(Variant::Palunor6);
  recogniser.Sent("RD1");
  const std::string first = CurveReplyOf(Ramp(5));
  EXPECT_EQ(FeedAll(recogniser, {first.substr(0, 33)}), std::vector<std::string>{"curve 1"});
  recogniser.Sent("RD2");
  // The late byte comes joined to the second reply, which is recognised behind it.
  const std::string second = CurveReplyOf(Ramp(6), 'N', 12, 4, 'S');
  EXPECT_EQ(FeedAll(recogniser, {first.substr(33) + second.substr(0, 33)}),
            std::vector<std::string>{"curve 2"});
  // The option status needs byte 34 of the curve-2 reply.
  const std::vector<protocol::Reply> last = recogniser.Feed(second.substr(33));
  ASSERT_EQ(Names(last), std::vector<std::string>{"read completed"});
  for (const protocol::Reply& reply : last) {
    if (const auto* done = std::get_if<protocol::ReadCompleted>(&reply)) {
      ASSERT_TRUE(done->options.has_value());
      EXPECT_EQ(done->options->bypass, 'S');
      EXPECT_EQ(done->options->voltage, 12);
    }
  }
  EXPECT_EQ(recogniser.RxBuffer(), "");
}

TEST(ReplyRecogniser, ACurveReplyThatLostAByteLetsTheNextReplyThrough) {
  ReplyRecogniser recogniser(Variant::Palunor6);
  recogniser.Sent("RD1");
  const std::string first = CurveReplyOf(Ramp(5));
  EXPECT_EQ(FeedAll(recogniser, {first.substr(0, 20) + first.substr(21)}),
            std::vector<std::string>{"damaged 1"});
  recogniser.Expire();
  recogniser.Sent("RD1");
  EXPECT_EQ(FeedAll(recogniser, {CurveReplyOf(Ramp(6))}), std::vector<std::string>{"curve 1"});
}

TEST(ReplyRecogniser, StrayBytesAfterACurveReplyDoNotHideTheNextReply) {
  ReplyRecogniser recogniser(Variant::Palunor6);
  recogniser.Sent("RD1");
  EXPECT_EQ(FeedAll(recogniser, {CurveReplyOf(Ramp(5)) + "\r"}),
            std::vector<std::string>{"curve 1"});
  EXPECT_TRUE(FeedAll(recogniser, {"\n\x7f"}).empty());
  recogniser.Sent("RD2");
  EXPECT_EQ(FeedAll(recogniser, {"S", CurveReplyOf(Ramp(6)).substr(1)}),
            (std::vector<std::string>{"curve 2", "read completed"}));
}

// A curve reply that stops short would otherwise take the first bytes of whatever
// comes next for its own.
TEST(ReplyRecogniser, AnIncompleteCurveReplyIsDroppedWhenTheNextCommandGoesOut) {
  ReplyRecogniser recogniser(Variant::Palunor6);
  recogniser.Sent("RD1");
  EXPECT_TRUE(FeedAll(recogniser, {CurveReplyOf(Ramp(5)).substr(0, 20)}).empty());
  recogniser.Sent("VER");
  EXPECT_EQ(FeedAll(recogniser, {test::Version("PLX", 52)}),
            std::vector<std::string>{"version PLX"});
  // Or when the bound for the reply passes.
  recogniser.Sent("RD");
  EXPECT_TRUE(FeedAll(recogniser, {CurveReplyOf(Ramp(5)).substr(0, 20)}).empty());
  recogniser.Expire();
  EXPECT_EQ(FeedAll(recogniser, {test::Version("PLX", 52)}),
            std::vector<std::string>{"version PLX"});
}

TEST(ReplyRecogniser, TheOlderProgramKnowsNoPlxController) {
  ReplyRecogniser recogniser(Variant::Palunor);
  recogniser.Sent("VER");
  EXPECT_TRUE(FeedAll(recogniser, {test::Version("PLX", 52)}).empty());
}

TEST(ReplyRecogniser, LiveFramesAreTwoByteChunksWhileLiveDataIsExpected) {
  ReplyRecogniser recogniser(Variant::Palunor6);
  EXPECT_TRUE(Names(recogniser.Feed("\x30\x05", false)).empty());
  EXPECT_EQ(Names(recogniser.Feed("\x30\x05", true)), std::vector<std::string>{"live frame"});
  EXPECT_TRUE(Names(recogniser.Feed("\x30\x05\x06", true)).empty());
}

// One curve command waits at a time; version requests and option commands are taken
// whenever their replies come and never stand in its way.
TEST(ReplyRecogniser, OnlyTheLastCurveCommandWaitsForItsReply) {
  ReplyRecogniser recogniser(Variant::Palunor6);
  recogniser.Sent("EW1");
  recogniser.Sent("RD1");
  for (const char* other : {"VER", "O12", "TTS", "LON", "xyz"}) recogniser.Sent(other);
  ASSERT_TRUE(recogniser.Awaited());
  EXPECT_EQ(recogniser.Awaited()->kind, protocol::RequestKind::Curve);
  EXPECT_EQ(Names(recogniser.Feed("RECOK")), std::vector<std::string>{});
  recogniser.Expire();
  EXPECT_FALSE(recogniser.Awaited());
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, EveryVariant,
                         ::testing::Values(Variant::Palunor6, Variant::Palunor));

}  // namespace
