// Guards the serial driver against an in-memory device: the property rules, what
// OpenPort writes to the device, the poll that delivers received bytes, the bounded
// writes with their stall time-out, and a device that vanishes and comes back.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "serial/comm_port_driver.h"
#include "testing/memory_port.h"
#include "testing/virtual_clock.h"

namespace serial {
namespace {

struct Bench {
  ui::VirtualClock clock;
  std::shared_ptr<MemoryDevice> device = std::make_shared<MemoryDevice>();
  TCommPortDriver driver{clock, std::make_unique<MemoryPort>(device)};
  std::vector<std::string> events;
  std::vector<const std::uint8_t*> event_data;

  Bench() {
    driver.OnReceiveData = [this](TCommPortDriver& sender, const std::uint8_t* data,
                                  std::uint32_t size) {
      EXPECT_EQ(&sender, &driver);
      events.emplace_back(data, data + size);
      event_data.push_back(data);
    };
  }
};

TEST(CommPortDriverProperties, StartWithTheLineDefaults) {
  Bench b;
  EXPECT_EQ(b.driver.Port(), TPortNumber::pnCOM2);
  EXPECT_EQ(b.driver.PortName(), "\\\\.\\COM2");
  EXPECT_EQ(b.driver.BaudRate(), TBaudRate::br9600);
  EXPECT_EQ(b.driver.BaudRateValue(), 9600u);
  EXPECT_EQ(b.driver.DataBits(), TDataBits::db8BITS);
  EXPECT_EQ(b.driver.StopBits(), TStopBits::sb1BITS);
  EXPECT_EQ(b.driver.Parity(), TParity::ptNONE);
  EXPECT_EQ(b.driver.HwFlow(), THwFlowControl::hfNONERTSON);
  EXPECT_EQ(b.driver.SwFlow(), TSwFlowControl::sfNONE);
  EXPECT_EQ(b.driver.InBufSize(), 2048u);
  EXPECT_EQ(b.driver.OutBufSize(), 2048u);
  EXPECT_EQ(b.driver.PollingDelay(), 50u);
  EXPECT_TRUE(b.driver.EnableDTROnOpen());
  EXPECT_EQ(b.driver.OutputTimeout(), 500u);
  EXPECT_FALSE(b.driver.CheckLineStatus());
  EXPECT_FALSE(b.driver.IsOpen());
}

TEST(CommPortDriverProperties, PortNumberNamesTheDeviceAndACustomNameClearsIt) {
  Bench b;
  b.driver.SetPort(TPortNumber::pnCOM12);
  EXPECT_EQ(b.driver.PortName(), "\\\\.\\COM12");
  b.driver.SetPort(TPortNumber::pnCOM1);
  EXPECT_EQ(b.driver.PortName(), "\\\\.\\COM1");
  b.driver.SetPort(TPortNumber::pnCustom);
  EXPECT_EQ(b.driver.PortName(), "\\\\.\\COM1");
  b.driver.SetPort(TPortNumber::pnCOM16);
  b.driver.SetPortName("/dev/ttyUSB0");
  EXPECT_EQ(b.driver.Port(), TPortNumber::pnCustom);
  EXPECT_EQ(b.driver.PortName(), "/dev/ttyUSB0");
}

TEST(CommPortDriverProperties, PortAndBufferSizesCannotChangeWhileOpen) {
  Bench b;
  ASSERT_TRUE(b.driver.OpenPort());
  b.driver.SetPort(TPortNumber::pnCOM12);
  b.driver.SetPortName("/dev/ttyUSB0");
  b.driver.SetInBufSize(4096);
  b.driver.SetOutBufSize(4096);
  EXPECT_EQ(b.driver.Port(), TPortNumber::pnCOM2);
  EXPECT_EQ(b.driver.PortName(), "\\\\.\\COM2");
  EXPECT_EQ(b.driver.InBufSize(), 2048u);
  EXPECT_EQ(b.driver.OutBufSize(), 2048u);
}

TEST(CommPortDriverProperties, BaudRateAndItsValueFollowEachOther) {
  Bench b;
  b.driver.SetBaudRateValue(921600);
  EXPECT_EQ(b.driver.BaudRate(), TBaudRate::brCustom);
  EXPECT_EQ(b.driver.BaudRateValue(), 921600u);
  b.driver.SetBaudRate(TBaudRate::brCustom);
  EXPECT_EQ(b.driver.BaudRateValue(), 921600u);
  b.driver.SetBaudRate(TBaudRate::br256000);
  EXPECT_EQ(b.driver.BaudRateValue(), 256000u);
  b.driver.SetBaudRate(TBaudRate::br110);
  EXPECT_EQ(b.driver.BaudRateValue(), 110u);
}

TEST(CommPortDriverProperties, BufferSizesAreClampedAndSetTheFlowLimits) {
  Bench b;
  b.driver.SetInBufSize(100);
  EXPECT_EQ(b.driver.InBufSize(), 128u);
  b.driver.SetInBufSize(10000);
  EXPECT_EQ(b.driver.InBufSize(), 8192u);
  b.driver.SetOutBufSize(1);
  EXPECT_EQ(b.driver.OutBufSize(), 128u);
  b.driver.SetOutBufSize(70000);
  EXPECT_EQ(b.driver.OutBufSize(), 8192u);
  ASSERT_TRUE(b.driver.OpenPort());
  EXPECT_EQ(b.device->last_dcb->XonLim, 2048u);
  EXPECT_EQ(b.device->last_dcb->XoffLim, 2048u);
  EXPECT_EQ(b.device->in_queue_size, 8192u);
  EXPECT_EQ(b.device->out_queue_size, 8192u);
}

TEST(CommPortDriverProperties, PollingDelayHasAFloorAndRestartsARunningPoll) {
  Bench b;
  b.driver.SetPollingDelay(2);
  EXPECT_EQ(b.driver.PollingDelay(), 5u);
  b.driver.SetPollingDelay(100);
  ASSERT_TRUE(b.driver.OpenPort());
  b.clock.Advance(80);
  b.driver.SetPollingDelay(30);  // the new period counts from now
  b.device->Feed("A");
  b.clock.Advance(29);
  EXPECT_TRUE(b.events.empty());
  b.clock.Advance(1);
  EXPECT_EQ(b.events, (std::vector<std::string>{"A"}));
}

TEST(CommPortDriverOpen, WritesTheDefaultLineSettingsFieldByField) {
  Bench b;
  ASSERT_TRUE(b.driver.OpenPort());
  EXPECT_TRUE(b.driver.IsOpen());
  EXPECT_EQ(b.device->opened_names, (std::vector<std::string>{"\\\\.\\COM2"}));
  DeviceControlBlock want;
  want.DCBlength = 28;
  want.BaudRate = 9600;
  want.fBinary = 1;
  want.fDtrControl = 1;
  want.fRtsControl = 1;
  want.XonLim = 512;
  want.XoffLim = 512;
  want.ByteSize = 8;
  want.XonChar = 17;
  want.XoffChar = 19;
  EXPECT_EQ(*b.device->last_dcb, want);
  EXPECT_EQ(b.device->purges, (std::vector<std::uint32_t>{0xF}));
  EXPECT_EQ(b.device->in_queue_size, 2048u);
  EXPECT_EQ(b.device->out_queue_size, 2048u);
  EXPECT_EQ(*b.device->last_timeouts, (CommTimeouts{1, 0, 1, 0, 10}));
  EXPECT_EQ(b.clock.ScheduledCount(), 1u);
}

TEST(CommPortDriverOpen, EachLineSettingReachesItsField) {
  Bench b;
  b.driver.SetDataBits(TDataBits::db5BITS);
  b.driver.SetParity(TParity::ptSPACE);
  b.driver.SetStopBits(TStopBits::sb1HALFBITS);
  b.driver.SetHwFlow(THwFlowControl::hfRTSCTS);
  b.driver.SetSwFlow(TSwFlowControl::sfXONXOFF);
  b.driver.SetEnableDTROnOpen(false);
  b.driver.SetBaudRateValue(14400);
  ASSERT_TRUE(b.driver.OpenPort());
  const DeviceControlBlock& dcb = *b.device->last_dcb;
  EXPECT_EQ(dcb.BaudRate, 14400u);
  EXPECT_EQ(dcb.ByteSize, 5u);
  EXPECT_EQ(dcb.Parity, 4u);
  EXPECT_EQ(dcb.fParity, 0u);
  EXPECT_EQ(dcb.StopBits, 1u);
  EXPECT_EQ(dcb.fOutxCtsFlow, 1u);
  EXPECT_EQ(dcb.fRtsControl, 2u);
  EXPECT_EQ(dcb.fOutX, 1u);
  EXPECT_EQ(dcb.fInX, 1u);
  EXPECT_EQ(dcb.fDtrControl, 0u);

  // Written while open, each change goes to the device at once.
  b.driver.SetHwFlow(THwFlowControl::hfNONE);
  EXPECT_EQ(b.device->last_dcb->fRtsControl, 0u);
  EXPECT_EQ(b.device->last_dcb->fOutxCtsFlow, 0u);
  b.driver.SetSwFlow(TSwFlowControl::sfNONE);
  EXPECT_EQ(b.device->last_dcb->fOutX, 0u);
  b.driver.SetDataBits(TDataBits::db7BITS);
  EXPECT_EQ(b.device->last_dcb->ByteSize, 7u);
  b.driver.SetParity(TParity::ptMARK);
  EXPECT_EQ(b.device->last_dcb->Parity, 3u);
  b.driver.SetStopBits(TStopBits::sb2BITS);
  EXPECT_EQ(b.device->last_dcb->StopBits, 2u);
  b.driver.SetBaudRate(TBaudRate::br115200);
  EXPECT_EQ(b.device->last_dcb->BaudRate, 115200u);
  EXPECT_EQ(b.device->set_comm_state_calls, 7u);
}

TEST(CommPortDriverOpen, OpeningAnOpenPortReappliesNothing) {
  Bench b;
  ASSERT_TRUE(b.driver.OpenPort());
  ASSERT_TRUE(b.driver.OpenPort());
  EXPECT_EQ(b.device->opened_names.size(), 1u);
  EXPECT_EQ(b.device->set_comm_state_calls, 1u);
  EXPECT_EQ(b.device->purges.size(), 1u);
}

TEST(CommPortDriverOpen, AMissingOrRefusingDeviceLeavesThePortClosed) {
  Bench b;
  b.device->fail_open = true;
  EXPECT_FALSE(b.driver.OpenPort());
  EXPECT_FALSE(b.driver.IsOpen());
  EXPECT_EQ(b.clock.ScheduledCount(), 0u);

  b.device->fail_open = false;
  b.device->fail_set_comm_state = true;
  EXPECT_FALSE(b.driver.OpenPort());
  EXPECT_FALSE(b.driver.IsOpen());
  EXPECT_FALSE(b.device->held);
  EXPECT_EQ(b.clock.ScheduledCount(), 0u);
  EXPECT_FALSE(b.driver.ApplySettings());
}

TEST(CommPortDriverOpen, ASettingRefusedWhileOpenKeepsThePortAndTheValue) {
  Bench b;
  ASSERT_TRUE(b.driver.OpenPort());
  b.device->fail_set_comm_state = true;
  b.driver.SetDataBits(TDataBits::db6BITS);
  EXPECT_TRUE(b.driver.IsOpen());
  EXPECT_EQ(b.driver.DataBits(), TDataBits::db6BITS);
  EXPECT_FALSE(b.driver.ApplySettings());
}

TEST(CommPortDriverOpen, ClosingAndDestructionReleaseTheDeviceAndStopThePoll) {
  ui::VirtualClock clock;
  auto device = std::make_shared<MemoryDevice>();
  {
    TCommPortDriver driver(clock, std::make_unique<MemoryPort>(device));
    ASSERT_TRUE(driver.OpenPort());
    driver.ClosePort();
    EXPECT_FALSE(driver.IsOpen());
    EXPECT_FALSE(device->held);
    EXPECT_EQ(clock.ScheduledCount(), 0u);
    driver.ClosePort();
    ASSERT_TRUE(driver.OpenPort());
    EXPECT_TRUE(device->held);
  }
  EXPECT_FALSE(device->held);
  EXPECT_EQ(clock.ScheduledCount(), 0u);
}

TEST(CommPortDriverControl, PurgeSetsTheAbortAndClearFlagsOfEachQueue) {
  Bench b;
  EXPECT_FALSE(b.driver.PurgeBuffers(true, true));
  ASSERT_TRUE(b.driver.OpenPort());
  b.device->purges.clear();
  b.device->Feed("stale");
  EXPECT_TRUE(b.driver.PurgeBuffers(true, false));
  EXPECT_TRUE(b.driver.PurgeBuffers(false, true));
  EXPECT_EQ(b.device->purges, (std::vector<std::uint32_t>{0xA, 0x5}));
  b.clock.Advance(50);
  EXPECT_TRUE(b.events.empty());
}

TEST(CommPortDriverControl, ModemLinesAndFreeSpaceComeFromTheDevice) {
  Bench b;
  EXPECT_EQ(b.driver.OutputFreeSpace(), 65535u);
  EXPECT_TRUE(b.driver.ReadModemLines().Empty());
  b.device->modem_bits = kMsDsrOn | kMsRlsdOn;
  ASSERT_TRUE(b.driver.OpenPort());
  EXPECT_EQ(b.driver.ReadModemLines(), (TModemLines{false, true, false, true}));
  b.device->modem_bits = kMsCtsOn | kMsRingOn;
  EXPECT_EQ(b.driver.ReadModemLines(), (TModemLines{true, false, true, false}));
  b.device->fail_modem_status = true;
  EXPECT_TRUE(b.driver.ReadModemLines().Empty());
  EXPECT_EQ(b.driver.OutputFreeSpace(), 2048u);
  b.device->queue_full = true;
  EXPECT_EQ(b.driver.OutputFreeSpace(), 0u);
}

TEST(CommPortDriverReceive, AReplyStraddlingAPollArrivesAsTwoEvents) {
  Bench b;
  ASSERT_TRUE(b.driver.OpenPort());
  b.device->Feed("V");
  b.clock.Advance(49);
  EXPECT_TRUE(b.events.empty());
  b.clock.Advance(1);
  b.device->Feed("ER");
  b.clock.Advance(50);
  EXPECT_EQ(b.events, (std::vector<std::string>{"V", "ER"}));
  b.clock.Advance(500);
  EXPECT_EQ(b.events.size(), 2u);
}

TEST(CommPortDriverReceive, APollNeverReadsMoreThanTheInputBufferInOneBufferItKeeps) {
  Bench b;
  b.driver.SetInBufSize(128);
  ASSERT_TRUE(b.driver.OpenPort());
  b.device->Feed(std::string(300, 'x'));
  b.clock.Advance(150);
  ASSERT_EQ(b.events.size(), 3u);
  EXPECT_EQ(b.events[0].size(), 128u);
  EXPECT_EQ(b.events[1].size(), 128u);
  EXPECT_EQ(b.events[2].size(), 44u);
  for (std::uint32_t request : b.device->read_requests) EXPECT_LE(request, 128u);
  EXPECT_EQ(b.event_data[0], b.event_data[1]);
  EXPECT_EQ(b.event_data[1], b.event_data[2]);
}

TEST(CommPortDriverReceive, NothingIsDeliveredWhileClosedOrWithoutAHandler) {
  Bench b;
  b.device->Feed("VER");
  b.clock.Advance(200);
  EXPECT_TRUE(b.events.empty());
  ASSERT_TRUE(b.driver.OpenPort());  // opening purges what was waiting
  b.driver.OnReceiveData = nullptr;
  b.device->Feed("VER");
  b.clock.Advance(50);
  EXPECT_TRUE(b.device->input.empty());
}

TEST(CommPortDriverWrite, WriteTextSendsTheBytesAsTheyAre) {
  Bench b;
  EXPECT_FALSE(b.driver.WriteText("RD1"));
  ASSERT_TRUE(b.driver.OpenPort());
  EXPECT_TRUE(b.driver.WriteText(""));
  EXPECT_TRUE(b.device->written.empty());
  EXPECT_TRUE(b.driver.WriteText(std::string("RD1\0x", 5)));
  EXPECT_EQ(b.device->WrittenText(), std::string("RD1\0x", 5));
}

TEST(CommPortDriverWrite, LineStatusCheckRefusesWhileNoModemLineIsOn) {
  Bench b;
  b.driver.SetCheckLineStatus(true);
  ASSERT_TRUE(b.driver.OpenPort());
  EXPECT_FALSE(b.driver.WriteText("VER"));
  b.device->fail_modem_status = true;
  b.device->modem_bits = kMsCtsOn;
  EXPECT_FALSE(b.driver.WriteText("VER"));
  EXPECT_TRUE(b.device->written.empty());
  b.device->fail_modem_status = false;
  EXPECT_TRUE(b.driver.WriteText("VER"));
  EXPECT_EQ(b.device->WrittenText(), "VER");
}

TEST(CommPortDriverWrite, AStalledWriteGivesUpAfterTheOutputTimeout) {
  Bench b;
  ASSERT_TRUE(b.driver.OpenPort());
  b.clock.SetTickQueryStep(1);
  b.device->write_room = 2;
  const std::uint64_t start = b.clock.Now();
  const std::uint8_t data[5] = {'W', 'R', 'I', 'T', 'E'};
  EXPECT_EQ(b.driver.WriteBytes(data, 5), 2u);
  const std::uint64_t waited = b.clock.Now() - start;
  EXPECT_GT(waited, 500u);
  EXPECT_LT(waited, 510u);
  EXPECT_EQ(b.device->WrittenText(), "WR");

  b.device->Stall();
  const std::uint64_t again = b.clock.Now();
  EXPECT_EQ(b.driver.WriteBytesWithin(data, 5, 40), 0u);
  EXPECT_GT(b.clock.Now() - again, 40u);
  EXPECT_LT(b.clock.Now() - again, 50u);
  EXPECT_FALSE(b.driver.WriteText("VER"));
  EXPECT_EQ(b.device->WrittenText(), "WR");
}

TEST(CommPortDriverVanish, AVanishedDeviceFailsShortWithoutBlocking) {
  Bench b;
  ASSERT_TRUE(b.driver.OpenPort());
  b.clock.SetTickQueryStep(1);
  b.device->Vanish();
  b.clock.Advance(200);
  EXPECT_TRUE(b.driver.IsOpen());
  const std::uint64_t start = b.clock.Now();
  EXPECT_FALSE(b.driver.WriteText("VER"));
  EXPECT_LT(b.clock.Now() - start, 10u);
  EXPECT_FALSE(b.driver.PurgeBuffers(true, true));
  EXPECT_TRUE(b.driver.ReadModemLines().Empty());
  EXPECT_TRUE(b.events.empty());
  b.driver.ClosePort();
  EXPECT_FALSE(b.driver.IsOpen());
  EXPECT_FALSE(b.driver.OpenPort());
  b.device->Return();
  EXPECT_TRUE(b.driver.OpenPort());
}

TEST(CommPortDriverVanish, AWriteToADeviceThatJustVanishedDoesNotWaitOutTheStall) {
  Bench b;
  ASSERT_TRUE(b.driver.OpenPort());
  b.clock.SetTickQueryStep(1);
  b.device->Vanish();
  const std::uint64_t start = b.clock.Now();
  EXPECT_FALSE(b.driver.WriteText("VER"));
  EXPECT_LT(b.clock.Now() - start, 10u);
}

TEST(CommPortDriverVanish, TheDriverReacquiresADeviceThatComesBack) {
  Bench b;
  b.driver.SetBaudRateValue(57600);
  ASSERT_TRUE(b.driver.OpenPort());
  b.device->Vanish();
  b.clock.Advance(100);
  EXPECT_EQ(b.device->opened_names.size(), 1u);
  b.device->Return();
  b.device->Feed("VER");
  b.clock.Advance(50);
  EXPECT_TRUE(b.driver.IsOpen());
  EXPECT_EQ(b.device->opened_names.size(), 2u);
  EXPECT_EQ(b.device->opened_names[1], "\\\\.\\COM2");
  EXPECT_EQ(b.device->last_dcb->BaudRate, 57600u);
  EXPECT_EQ(*b.device->last_timeouts, (CommTimeouts{1, 0, 1, 0, 10}));
  // The bytes that were waiting when it came back go the way of the purge.
  EXPECT_TRUE(b.events.empty());
  b.device->Feed("VER");
  b.clock.Advance(50);
  EXPECT_EQ(b.events, (std::vector<std::string>{"VER"}));
  EXPECT_TRUE(b.driver.WriteText("RD1"));
  EXPECT_EQ(b.device->WrittenText(), "RD1");
}

TEST(CommPortDriverVanish, ReacquiringTriesOncePerPoll) {
  Bench b;
  ASSERT_TRUE(b.driver.OpenPort());
  b.device->Vanish();
  b.clock.Advance(50);  // this poll finds the device gone
  b.device->fail_open = true;
  b.device->Return();
  const std::uint32_t attempts_before = b.device->open_attempts;
  b.clock.Advance(500);
  EXPECT_EQ(b.device->open_attempts, attempts_before + 10);
  b.device->fail_open = false;
  b.clock.Advance(50);
  EXPECT_EQ(b.device->opened_names.size(), 2u);
  EXPECT_TRUE(b.driver.IsOpen());
}

}  // namespace
}  // namespace serial
