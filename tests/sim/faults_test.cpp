// Guards each fault mode as the program's port sees it on the virtual clock: silent,
// late, split, shortened and corrupted replies, seeded noise, and unplugging.
#include <gtest/gtest.h>

#include "protocol/catalogue.h"
#include "sim/fault.h"
#include "sim/line.h"
#include "sim_harness.h"

namespace {

using simtest::Bench;

sim::Fault Make(sim::FaultMode mode, std::size_t byte = 1, std::uint32_t delay_ms = 0,
                std::uint32_t seed = 1) {
  return sim::Fault{mode, byte, delay_ms, seed};
}

TEST(FaultModes, NoReplyCarriesCommandsOutButSendsNothing) {
  Bench bench;
  bench.device.SetFault(Make(sim::FaultMode::NoReply));
  bench.Send("O12LON");
  EXPECT_EQ(bench.After(1000), "");
  EXPECT_FALSE(bench.controller.GetOptions().output_5v);
  bench.device.SetFault(Make(sim::FaultMode::None));
  bench.Send("LOFVER");
  EXPECT_EQ(bench.After(30), bench.controller.VersionReplyBytes());
}

TEST(FaultModes, LateReplyDelaysEveryReply) {
  Bench bench;
  bench.device.SetFault(Make(sim::FaultMode::LateReply, 1, 200));
  for (int round = 0; round < 2; ++round) {
    bench.Send("VER");
    EXPECT_EQ(bench.After(200), "") << round;  // heard at 3.1 ms, due from 203.1 ms
    EXPECT_EQ(bench.After(20), bench.controller.VersionReplyBytes()) << round;
  }
}

TEST(FaultModes, SplitReplyPausesTheNextReplyOnceAfterByteK) {
  Bench bench;
  bench.device.SetFault(Make(sim::FaultMode::SplitReply, 33, 100));
  bench.Send("RD1");
  const std::string first = bench.After(60);
  const std::string rest = bench.After(100);
  EXPECT_EQ(first.size(), 33u);
  EXPECT_EQ(first + rest, bench.controller.CurveReplyBytes(1));
  // Only the next reply was split.
  bench.Send("RD2");
  EXPECT_EQ(bench.After(60), bench.controller.CurveReplyBytes(2));
  EXPECT_EQ(bench.device.GetLine().CurrentFault().mode, sim::FaultMode::None);
}

TEST(FaultModes, DropByteLosesByteKOfTheNextReply) {
  Bench bench;
  bench.device.SetFault(Make(sim::FaultMode::DropByte, 2));
  bench.Send("VER");
  std::string expected = bench.controller.VersionReplyBytes();
  expected.erase(1, 1);
  EXPECT_EQ(bench.After(30), expected);
  bench.Send("VER");
  EXPECT_EQ(bench.After(30), bench.controller.VersionReplyBytes());
}

TEST(FaultModes, CorruptByteFlipsByteKOfTheNextReply) {
  Bench bench;
  bench.device.SetFault(Make(sim::FaultMode::CorruptByte, 4));
  bench.Send("VER");
  std::string expected = bench.controller.VersionReplyBytes();
  expected[3] = static_cast<char>(~expected[3]);
  const std::string got = bench.After(30);
  EXPECT_EQ(got, expected);
  EXPECT_EQ(static_cast<std::uint8_t>(got[3]), 255 - 60);
}

TEST(FaultModes, KBeyondTheReplyChangesNothing) {
  Bench bench;
  bench.device.SetFault(Make(sim::FaultMode::DropByte, 8));
  bench.Send("VER");
  EXPECT_EQ(bench.After(30), bench.controller.VersionReplyBytes());
}

std::string NoiseFor(std::uint32_t seed, std::uint32_t ms) {
  Bench bench;
  bench.device.SetFault(Make(sim::FaultMode::Noise, 1, 0, seed));
  return bench.After(ms);
}

TEST(FaultModes, NoiseIsRandomBytesThatTheSeedRepeats) {
  const std::string noise = NoiseFor(7, 3000);
  EXPECT_GE(noise.size(), 8u);
  EXPECT_EQ(NoiseFor(7, 3000), noise);
  EXPECT_NE(NoiseFor(8, 3000), noise);
}

TEST(FaultModes, NoiseComesBetweenRepliesNotInsideThem) {
  Bench bench;
  bench.device.SetFault(Make(sim::FaultMode::Noise, 1, 0, 3));
  const std::string reply = bench.controller.CurveReplyBytes(1);
  std::string stream;
  // Ask again and again for two seconds; every reply must come through whole.
  for (int i = 0; i < 40; ++i) {
    bench.Send("RD1");
    stream += bench.After(50);
  }
  std::size_t whole = 0;
  for (std::size_t at = stream.find(reply); at != std::string::npos;
       at = stream.find(reply, at + reply.size())) {
    ++whole;
  }
  EXPECT_EQ(whole, 40u);
  EXPECT_GT(stream.size(), 40 * reply.size());
}

TEST(FaultModes, UnpluggedControllerHearsNothingUntilReplugged) {
  sim::Controller controller;
  sim::Line line(controller);
  line.SetFault(Make(sim::FaultMode::Unplug), 0);
  line.HostSend("O12", 0);
  line.Update(100 * sim::kNsPerMs);
  EXPECT_TRUE(controller.GetOptions().output_5v);
  EXPECT_EQ(line.Readable(), 0u);

  line.SetFault(Make(sim::FaultMode::Replug), 100 * sim::kNsPerMs);
  line.HostSend("O12", 100 * sim::kNsPerMs);
  line.Update(200 * sim::kNsPerMs);
  EXPECT_FALSE(controller.GetOptions().output_5v);
  EXPECT_EQ(line.Take(16), "CH12");
}

}  // namespace
