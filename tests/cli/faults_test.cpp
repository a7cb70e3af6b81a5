// palunorctl on a line that misbehaves: a clear error and the right exit status, and
// never a curve that is not the controller's, nor a send called done that is not.
#include <gtest/gtest.h>

#include "cli/commands.h"
#include "cli_bench.h"

namespace {

using cli::ExitStatus;
using clitest::CliBench;
using clitest::MapBytes;
using clitest::Rising;
using files_test::Read;
using files_test::Write;

TEST(Faults, NoControllerOrNoPortEndsWithStatusTwo) {
  CliBench silent;
  silent.device.SetFault({sim::FaultMode::NoReply});
  EXPECT_EQ(silent.Run({"info"}), ExitStatus::NoController);
  EXPECT_NE(silent.err.str().find("no controller answered on \\\\.\\COM2"), std::string::npos);

  CliBench elsewhere;
  EXPECT_EQ(elsewhere.Run({"read", "--port", "COM5"}), ExitStatus::NoController);
  EXPECT_NE(elsewhere.err.str().find("cannot open \\\\.\\COM5: no such port, or another"),
            std::string::npos);
  // Where the platform tells a missing device from one held by another program.
  elsewhere.port_present = [](const std::string&) { return false; };
  EXPECT_EQ(elsewhere.Run({"read", "--port", "COM5"}), ExitStatus::NoController);
  EXPECT_NE(elsewhere.err.str().find("no device is there; plug the adapter in"), std::string::npos);
  elsewhere.port_present = [](const std::string&) { return true; };
  EXPECT_EQ(elsewhere.Run({"read", "--port", "COM5"}), ExitStatus::NoController);
  EXPECT_NE(elsewhere.err.str().find("another program holds it; close the configurator"),
            std::string::npos);

  // A device the user may not open: the platform's remedy is what the user reads.
  elsewhere.open_failure = [](const std::string& port) {
    return port + ": Permission denied. Add your user to the 'dialout' group and log in again.";
  };
  EXPECT_EQ(elsewhere.Run({"read", "--port", "/dev/ttyUSB7"}), ExitStatus::NoController);
  EXPECT_EQ(elsewhere.err.str(),
            "palunorctl: /dev/ttyUSB7: Permission denied. Add your user to the 'dialout' group "
            "and log in again.\n");
}

TEST(Faults, AControllerLeftSendingLiveDataIsQuietenedAndFound) {
  CliBench bench;
  // A program killed with live data on left the stream running.
  {
    const std::unique_ptr<sim::EmulatedPort> killed = bench.device.MakePort();
    ASSERT_TRUE(killed->Open("\\\\.\\COM2"));
    std::uint32_t written = 0;
    ASSERT_TRUE(killed->WriteFile(reinterpret_cast<const std::uint8_t*>("LON"), 3, written));
    bench.clock.Advance(500);
    serial::CommStatus status;
    ASSERT_TRUE(killed->ClearCommError(status));
  }
  ASSERT_TRUE(bench.controller.LiveStreaming());
  EXPECT_EQ(bench.Run({"info"}), ExitStatus::Done) << bench.err.str();
  EXPECT_FALSE(bench.controller.LiveStreaming());
}

TEST(Faults, AReplyDroppedSplitOrDamagedIsAskedAgainNeverTaken) {
  for (const sim::Fault fault :
       {sim::Fault{sim::FaultMode::DropByte, 12}, sim::Fault{sim::FaultMode::CorruptByte, 20},
        sim::Fault{sim::FaultMode::SplitReply, 17, 300},
        sim::Fault{sim::FaultMode::LateReply, 1, 1500}}) {
    CliBench bench;
    // The fault strikes the first curve reply, after the version reply.
    bench.FaultAfter(1, fault);
    ASSERT_EQ(bench.Run({"read", "-o", bench.Scratch("a.IJJ")}), ExitStatus::Done)
        << sim::FaultName(fault.mode) << bench.err.str();
    EXPECT_EQ(Read(bench.Scratch("a.IJJ")),
              MapBytes(bench.controller.Ram(1), bench.controller.Ram(2)))
        << sim::FaultName(fault.mode);
  }
}

TEST(Faults, UnpluggedDuringASendItIsNotConfirmed) {
  CliBench bench;
  Write(bench.Scratch("day.IJJ"), MapBytes(Rising(4), Rising(4)));
  bench.FaultAfter(2, {sim::FaultMode::Unplug});
  EXPECT_EQ(bench.Run({"send", bench.Scratch("day.IJJ"), "--record"}), ExitStatus::NotConfirmed);
  EXPECT_EQ(bench.out.str(), "");
  EXPECT_NE(bench.err.str().find("could not be confirmed"), std::string::npos);
  EXPECT_EQ(bench.controller.Eeprom(1), Rising(0));
}

// Bytes lost, doubled and inverted on the way, chunks split and joined: whatever
// comes, a read that ends well wrote the controller's own curves, and a send that
// ends well left the controller holding the file.
TEST(Faults, OnALossyLineNoWrongCurveAndNoSendCalledDoneThatIsNot) {
  int done = 0;
  for (std::uint64_t seed = 1; seed <= 12; ++seed) {
    CliBench bench;
    bench.rng = integrity::Rng(seed);
    bench.faults.drop_per_mille = 8;
    bench.faults.double_per_mille = 8;
    bench.faults.invert_per_mille = 8;
    bench.faults.split_per_mille = 200;
    bench.faults.join_per_mille = 200;
    const std::string file = bench.Scratch("a.IJJ");
    const ExitStatus read = bench.Run({"read", "-o", file});
    if (read == ExitStatus::Done) {
      EXPECT_EQ(Read(file), MapBytes(bench.controller.Ram(1), bench.controller.Ram(2)));
      ++done;
    } else {
      EXPECT_EQ(read, ExitStatus::NoController);
    }
    const map::Curve sent = Rising(static_cast<int>(seed % 7));
    Write(bench.Scratch("b.IJJ"), MapBytes(sent, sent));
    const ExitStatus send = bench.Run({"send", bench.Scratch("b.IJJ")});
    if (send == ExitStatus::Done) {
      EXPECT_EQ(bench.controller.Ram(1), sent) << seed;
      EXPECT_EQ(bench.controller.Ram(2), sent) << seed;
      ++done;
    } else {
      EXPECT_TRUE(send == ExitStatus::NotConfirmed || send == ExitStatus::NoController);
    }
  }
  // The retries carry most runs through.
  EXPECT_GE(done, 18);
}

}  // namespace
