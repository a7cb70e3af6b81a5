// Guards the emulated port as the driver sees it: replies paced at the line's baud
// rate on the virtual clock, exclusive open of the names on the bench, unplug and
// replug, and the live stream as it arrives.
#include "sim/emulated_port.h"

#include <gtest/gtest.h>

#include "protocol/catalogue.h"
#include "sim_harness.h"

namespace {

using simtest::Bench;
using simtest::kCom2;

TEST(EmulatedPortPacing, CurveReplyTakesItsWireTimeAtNineThousandSixHundredBaud) {
  Bench bench;
  bench.Send("RD1");
  // The command's last byte reaches the controller after 3 x 1.0417 ms; each reply
  // byte is readable once its ten bits have arrived.
  bench.clock.Advance(4);
  EXPECT_EQ(bench.Waiting(), 0u);
  bench.clock.Advance(1);  // 5 ms: byte 1 arrived at 4.17 ms
  EXPECT_EQ(bench.Waiting(), 1u);
  bench.clock.Advance(33);  // 38 ms: byte 33 at 37.50 ms, byte 34 due at 38.54 ms
  EXPECT_EQ(bench.Waiting(), 33u);
  bench.clock.Advance(1);
  EXPECT_EQ(bench.Waiting(), 34u);
  EXPECT_EQ(bench.ReadAll(), bench.controller.CurveReplyBytes(1));
}

TEST(EmulatedPortPacing, TheDcbsBaudRateSetsTheByteTime) {
  Bench bench(sim::Model::QZR, 19200);
  bench.Send("RD1");
  bench.clock.Advance(19);  // 37 bytes at 0.52 ms end at 19.27 ms
  EXPECT_EQ(bench.Waiting(), 33u);
  bench.clock.Advance(1);
  EXPECT_EQ(bench.Waiting(), 34u);

  // Seven data bits, parity and two stop bits make eleven bits a byte.
  serial::DeviceControlBlock dcb = simtest::LineSettings(1100);
  dcb.ByteSize = 7;
  dcb.Parity = 2;
  dcb.StopBits = 2;
  ASSERT_TRUE(bench.port->SetCommState(dcb));
  EXPECT_EQ(bench.device.GetLine().ByteTime(), 10'000'000u);
}

TEST(EmulatedPortPacing, ReplyStraddlingAPollArrivesInTwoParts) {
  Bench bench;
  bench.clock.Advance(45);
  bench.Send("VER");
  bench.clock.Advance(5);  // the driver's poll at 50 ms
  const std::string first = bench.ReadAll();
  bench.clock.Advance(50);
  const std::string second = bench.ReadAll();
  EXPECT_EQ(first.size(), 1u);
  EXPECT_EQ(first + second, bench.controller.VersionReplyBytes());
}

TEST(EmulatedPortPacing, WrittenBytesCountAsQueuedUntilTheyAreOut) {
  Bench bench;
  bench.Send(protocol::SendCurve(1, bench.controller.Ram(1)));
  serial::CommStatus status;
  ASSERT_TRUE(bench.port->ClearCommError(status));
  EXPECT_EQ(status.out_queue, 29u);
  bench.clock.Advance(20);
  ASSERT_TRUE(bench.port->ClearCommError(status));
  EXPECT_EQ(status.out_queue, 10u);
  bench.clock.Advance(20);
  ASSERT_TRUE(bench.port->ClearCommError(status));
  EXPECT_EQ(status.out_queue, 0u);
  EXPECT_EQ(bench.After(10), "OK");
}

TEST(EmulatedPortPacing, PurgeDropsWhatHasArrived) {
  Bench bench;
  bench.Send("VER");
  bench.clock.Advance(20);
  ASSERT_TRUE(bench.port->PurgeComm(serial::kPurgeRxAbort | serial::kPurgeRxClear |
                                    serial::kPurgeTxAbort | serial::kPurgeTxClear));
  EXPECT_EQ(bench.Waiting(), 0u);
  // A command purged before it was on the wire never reaches the controller.
  bench.Send("O12");
  ASSERT_TRUE(bench.port->PurgeComm(serial::kPurgeTxAbort | serial::kPurgeTxClear));
  EXPECT_EQ(bench.After(50), "");
  EXPECT_TRUE(bench.controller.GetOptions().output_5v);
}

TEST(EmulatedPortPacing, ACommandLeftUnfinishedIsForgottenAfterAPause) {
  Bench bench;
  bench.Send("SD1");
  bench.clock.Advance(300);
  bench.Send("VER");
  EXPECT_EQ(bench.After(20), bench.controller.VersionReplyBytes());
}

TEST(EmulatedPortPacing, InputBeyondTheQueueSizeIsLostAndReportedAsOverrun) {
  Bench bench;
  ASSERT_TRUE(bench.port->SetupComm(128, 2048));
  for (int i = 0; i < 5; ++i) bench.Send("RD1");
  bench.clock.Advance(300);
  serial::CommStatus status;
  ASSERT_TRUE(bench.port->ClearCommError(status));
  EXPECT_EQ(status.in_queue, 128u);
  EXPECT_EQ(status.errors, sim::kCeRxOver);
  ASSERT_TRUE(bench.port->ClearCommError(status));
  EXPECT_EQ(status.errors, 0u);
}

TEST(EmulatedPortLive, FramesFollowEveryHundredMillisecondsUntilLof) {
  Bench bench;
  bench.Send("LON");
  std::string stream = bench.After(1010);
  // Ten frames: the first 100 ms after the command reached the controller (3.1 ms).
  ASSERT_EQ(stream.size(), 20u);
  for (std::size_t i = 0; i < stream.size(); i += 2) {
    const auto frame = protocol::LiveFrame::Decode(stream.substr(i, 2));
    ASSERT_TRUE(frame);
    EXPECT_GT(frame->period, 0);
    EXPECT_LE(frame->advance, 50);
  }
  bench.Send("LOF");
  bench.After(10);
  EXPECT_EQ(bench.After(1000), "");
}

TEST(EmulatedPortLive, AReplyDueWithAFrameGoesOutWholeBeforeIt) {
  Bench bench;
  bench.Send("LON");
  EXPECT_EQ(bench.After(100), "");
  // "VER" is heard at 103.1 ms, just when the first frame falls due.
  bench.Send("VER");
  const std::string arrived = bench.After(20);
  ASSERT_EQ(arrived.size(), 9u);
  EXPECT_EQ(arrived.substr(0, 7), bench.controller.VersionReplyBytes());
  EXPECT_TRUE(protocol::LiveFrame::Decode(arrived.substr(7)));
}

TEST(EmulatedPortOpen, ANameIsHeldByOnePortAtATime) {
  Bench bench;
  auto second = bench.device.MakePort();
  EXPECT_FALSE(second->Open(kCom2));
  bench.port->Close();
  EXPECT_TRUE(second->Open(kCom2));
  EXPECT_FALSE(bench.port->Open(kCom2));
}

TEST(EmulatedPortOpen, OnlyNamesOnTheBenchExist) {
  ui::VirtualClock clock;
  sim::Controller controller;
  sim::EmulatedDevice device(clock, controller, "\\\\.\\COM1", {"\\\\.\\COM3"});
  auto port = device.MakePort();
  EXPECT_FALSE(port->Open(kCom2));
  EXPECT_FALSE(port->IsOpen());
  // A port with nothing on it takes writes and never answers.
  ASSERT_TRUE(port->Open("\\\\.\\COM3"));
  std::uint32_t written = 0;
  ASSERT_TRUE(port->WriteFile(reinterpret_cast<const std::uint8_t*>("VER"), 3, written));
  EXPECT_EQ(written, 3u);
  clock.Advance(100);
  serial::CommStatus status;
  ASSERT_TRUE(port->ClearCommError(status));
  EXPECT_EQ(status.in_queue, 0u);
  std::uint32_t lines = 1;
  ASSERT_TRUE(port->GetCommModemStatus(lines));
  EXPECT_EQ(lines, 0u);
}

TEST(EmulatedPortOpen, PortsFromTheFactoryShareOneController) {
  Bench bench;
  auto make_port = bench.device.PortFactory();
  bench.Send(protocol::SendCurve(2, bench.controller.Ram(1)));
  EXPECT_EQ(bench.After(50), "OK");
  bench.port->Close();

  auto other = make_port();
  ASSERT_TRUE(other->Open(kCom2));
  std::uint32_t written = 0;
  ASSERT_TRUE(other->WriteFile(reinterpret_cast<const std::uint8_t*>("RD2"), 3, written));
  bench.clock.Advance(50);
  std::uint8_t buffer[64];
  std::uint32_t read = 0;
  ASSERT_TRUE(other->ReadFile(buffer, sizeof buffer, read));
  ASSERT_EQ(read, 34u);
  const auto reply =
      protocol::CurveReply::Decode(std::string_view(reinterpret_cast<const char*>(buffer), read));
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->points, bench.controller.Ram(1));
}

TEST(EmulatedPortOpen, UnplugFailsEveryCallAndOpenUntilReplug) {
  Bench bench;
  bench.Send("RD1");
  bench.clock.Advance(10);
  bench.device.SetFault({sim::FaultMode::Unplug});

  serial::CommStatus status;
  std::uint32_t count = 0;
  std::uint8_t byte = 'V';
  EXPECT_FALSE(bench.port->ClearCommError(status));
  EXPECT_FALSE(bench.port->ReadFile(&byte, 1, count));
  EXPECT_FALSE(bench.port->WriteFile(&byte, 1, count));
  EXPECT_FALSE(bench.port->GetCommModemStatus(count));
  EXPECT_FALSE(bench.port->SetCommState(simtest::LineSettings(9600)));
  bench.port->Close();
  EXPECT_FALSE(bench.port->Open(kCom2));

  bench.device.SetFault({sim::FaultMode::Replug});
  ASSERT_TRUE(bench.port->Open(kCom2));
  // The reply that was on its way when the cable came out is lost.
  EXPECT_EQ(bench.After(100), "");
  bench.Send("VER");
  EXPECT_EQ(bench.After(20), bench.controller.VersionReplyBytes());
}

}  // namespace
