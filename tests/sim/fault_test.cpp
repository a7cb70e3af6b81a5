// Guards the fault mode names the program and tests select faults with.
#include "sim/fault.h"

#include <gtest/gtest.h>

namespace {

TEST(FaultNames, ModesWithArgumentsReadTheirNumbers) {
  const auto split = sim::ParseFault("SplitReply=5,120");
  ASSERT_TRUE(split);
  EXPECT_EQ(split->mode, sim::FaultMode::SplitReply);
  EXPECT_EQ(split->byte, 5u);
  EXPECT_EQ(split->delay_ms, 120u);

  const auto late = sim::ParseFault("latereply=300");
  ASSERT_TRUE(late);
  EXPECT_EQ(late->mode, sim::FaultMode::LateReply);
  EXPECT_EQ(late->delay_ms, 300u);

  EXPECT_EQ(sim::ParseFault("DropByte=3")->byte, 3u);
  EXPECT_EQ(sim::ParseFault("CORRUPTBYTE=34")->mode, sim::FaultMode::CorruptByte);
  EXPECT_EQ(sim::ParseFault("Noise=42")->seed, 42u);
  EXPECT_EQ(sim::ParseFault("NoReply")->mode, sim::FaultMode::NoReply);
  EXPECT_EQ(sim::ParseFault("Unplug")->mode, sim::FaultMode::Unplug);
}

TEST(FaultNames, UnknownNamesAndBadArgumentsAreRefused) {
  EXPECT_FALSE(sim::ParseFault("Smoke"));
  EXPECT_FALSE(sim::ParseFault(""));
  EXPECT_FALSE(sim::ParseFault("LateReply"));
  EXPECT_FALSE(sim::ParseFault("LateReply=soon"));
  EXPECT_FALSE(sim::ParseFault("SplitReply=5"));
  EXPECT_FALSE(sim::ParseFault("SplitReply=0,10"));
  EXPECT_FALSE(sim::ParseFault("DropByte=-1"));
  EXPECT_FALSE(sim::ParseFault("NoReply=3"));
}

TEST(FaultNames, EveryModeNameReadsBackAsItsMode) {
  for (auto mode : {sim::FaultMode::None, sim::FaultMode::NoReply, sim::FaultMode::Unplug,
                    sim::FaultMode::Replug}) {
    EXPECT_EQ(sim::ParseFault(sim::FaultName(mode))->mode, mode);
  }
}

}  // namespace
