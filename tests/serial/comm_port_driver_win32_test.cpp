// Guards the Win32 backend under wine against a pseudo-terminal held on the Linux side
// by tests/serial/com_peer.py, which answers "PING" with "PONG" once it has checked the
// line settings. scripts/windows-tests.sh maps COM2 and sets PALUNOR_COM_PEER.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "serial/comm_port_driver.h"
#include "serial/port_backend.h"
#include "testing/virtual_clock.h"

namespace serial {
namespace {

class Win32Port : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv("PALUNOR_COM_PEER") == nullptr) {
      GTEST_SKIP() << "COM2 is not mapped to a peer (run scripts/windows-tests.sh)";
    }
    driver.OnReceiveData = [this](TCommPortDriver&, const std::uint8_t* data, std::uint32_t size) {
      received.append(data, data + size);
    };
  }

  // The peer is another process: give it real time to answer, polling meanwhile.
  void AwaitReceived(std::size_t size) {
    for (int i = 0; i < 500 && received.size() < size; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      clock.Advance(driver.PollingDelay());
    }
  }

  ui::VirtualClock clock;
  TCommPortDriver driver{clock, MakeSystemPort()};
  std::string received;
};

TEST_F(Win32Port, ComTwoOpensWithTheSettingsAndTalksToThePeer) {
  driver.SetBaudRate(TBaudRate::br19200);
  ASSERT_TRUE(driver.OpenPort());
  EXPECT_TRUE(driver.ApplySettings());
  EXPECT_TRUE(driver.PurgeBuffers(true, true));
  EXPECT_EQ(driver.OutputFreeSpace(), driver.OutBufSize());
  // Wine's serial emulation reports no modem lines; that reads as none on.
  EXPECT_TRUE(driver.ReadModemLines().Empty());
  ASSERT_TRUE(driver.WriteText("PING"));
  AwaitReceived(4);
  EXPECT_EQ(received, "PONG");
}

TEST_F(Win32Port, ASecondOpenOfTheSamePortFails) {
  ASSERT_TRUE(driver.OpenPort());
  TCommPortDriver second(clock, MakeSystemPort());
  EXPECT_FALSE(second.OpenPort());
  driver.ClosePort();
  EXPECT_TRUE(second.OpenPort());
}

TEST_F(Win32Port, AnUnmappedPortDoesNotOpen) {
  driver.SetPort(TPortNumber::pnCOM16);
  EXPECT_FALSE(driver.OpenPort());
  EXPECT_FALSE(driver.IsOpen());
}

}  // namespace
}  // namespace serial
