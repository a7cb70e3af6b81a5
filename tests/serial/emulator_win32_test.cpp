// Guards the Win32 backend under wine against the controller emulator: the
// controller-sim program runs on the Linux side and scripts/windows-tests.sh maps
// COM3 to its pseudo-terminal and sets PALUNOR_EMULATOR_COM3.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "serial/comm_port_driver.h"
#include "serial/port_backend.h"
#include "testing/virtual_clock.h"

namespace serial {
namespace {

class Win32PortToEmulator : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv("PALUNOR_EMULATOR_COM3") == nullptr) {
      GTEST_SKIP() << "COM3 is not mapped to controller-sim (run scripts/windows-tests.sh)";
    }
    driver.SetPort(TPortNumber::pnCOM3);
    driver.OnReceiveData = [this](TCommPortDriver&, const std::uint8_t* data, std::uint32_t size) {
      received.append(data, data + size);
    };
  }

  // The emulator is another process paced at 9600 baud: real time passes while the
  // driver is polled.
  std::string Ask(const std::string& command, std::size_t size) {
    received.clear();
    EXPECT_TRUE(driver.WriteText(command));
    for (int i = 0; i < 500 && received.size() < size; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      clock.Advance(driver.PollingDelay());
    }
    return received;
  }

  ui::VirtualClock clock;
  TCommPortDriver driver{clock, MakeSystemPort()};
  std::string received;
};

TEST_F(Win32PortToEmulator, TheControllerIdentifiesItselfAndSendsBothCurves) {
  ASSERT_TRUE(driver.OpenPort());
  EXPECT_EQ(Ask("VER", 7), std::string("QZR\x3c\x19\x19"
                                       "D",
                                       7));
  for (const char* request : {"RD1", "RD2"}) {
    const std::string reply = Ask(request, 34);
    ASSERT_EQ(reply.size(), 34u) << request;
    EXPECT_EQ(reply.substr(0, 2), "SD");
    EXPECT_EQ(reply[29], 'A');  // the option status follows the 26 points
  }
  EXPECT_EQ(Ask("O12", 4), "CH12");
}

}  // namespace
}  // namespace serial
