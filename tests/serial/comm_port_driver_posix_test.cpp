// Guards the POSIX backend on real pseudo-terminals reached through the per-user port
// map: line settings as the terminal holds them, exclusive open, bounded writes, and a
// device that hangs up and comes back behind the same link.
#include <asm/termbits.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "serial/comm_port_driver.h"
#include "serial/port_backend.h"
#include "testing/virtual_clock.h"

namespace serial {
namespace {

namespace fs = std::filesystem;

// A pseudo-terminal master and the slave's path; closing the master hangs the line up.
class Pty {
 public:
  Pty() {
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0) {
      m_slave = ptsname(m_master);
    }
  }
  ~Pty() { Close(); }
  Pty(const Pty&) = delete;
  Pty& operator=(const Pty&) = delete;

  bool Ok() const { return m_master >= 0 && !m_slave.empty(); }
  const std::string& SlavePath() const { return m_slave; }
  void Close() {
    if (m_master >= 0) ::close(m_master);
    m_master = -1;
  }
  void Send(const std::string& bytes) {
    ASSERT_EQ(::write(m_master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  std::string Received() {
    std::string out;
    char buf[4096];
    for (;;) {
      const ssize_t n = ::read(m_master, buf, sizeof buf);
      if (n <= 0) break;
      out.append(buf, static_cast<std::size_t>(n));
    }
    return out;
  }
  // The terminal's settings; on Linux the master reports the slave's.
  termios2 Settings() const {
    termios2 tio{};
    EXPECT_EQ(ioctl(m_master, TCGETS2, &tio), 0);
    return tio;
  }

 private:
  int m_master = -1;
  std::string m_slave;
};

class PosixPort : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/palunor-serial-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    m_config = tmpl;
    const char* old = std::getenv("XDG_CONFIG_HOME");
    if (old != nullptr) m_old_config = old;
    m_had_config = old != nullptr;
    setenv("XDG_CONFIG_HOME", m_config.c_str(), 1);
    fs::create_directories(m_config / "palunor" / "dosdevices");
    m_pty = std::make_unique<Pty>();
    ASSERT_TRUE(m_pty->Ok());
    LinkCom2(*m_pty);
    driver.OnReceiveData = [this](TCommPortDriver&, const std::uint8_t* data, std::uint32_t size) {
      events.emplace_back(data, data + size);
    };
  }

  void TearDown() override {
    if (m_had_config) {
      setenv("XDG_CONFIG_HOME", m_old_config.c_str(), 1);
    } else {
      unsetenv("XDG_CONFIG_HOME");
    }
    std::error_code ec;
    fs::remove_all(m_config, ec);
  }

  // Points com2 of the port map at the pty, replacing the link in one step.
  void LinkCom2(const Pty& pty) {
    const fs::path dir = m_config / "palunor" / "dosdevices";
    fs::create_symlink(pty.SlavePath(), dir / "com2.new");
    fs::rename(dir / "com2.new", dir / "com2");
  }

  // A new pty behind the same link, as an adapter plugged in again.
  void Replug() {
    auto next = std::make_unique<Pty>();
    ASSERT_TRUE(next->Ok());
    LinkCom2(*next);
    m_pty = std::move(next);
  }

  Pty& pty() { return *m_pty; }

  ui::VirtualClock clock;
  TCommPortDriver driver{clock, MakeSystemPort()};
  std::vector<std::string> events;

 private:
  fs::path m_config;
  std::string m_old_config;
  bool m_had_config = false;
  std::unique_ptr<Pty> m_pty;
};

// Windows names devices without regard to case; "Advance.ini" or a user may write so.
TEST_F(PosixPort, ComNamesInAnyCaseOpenThePortMapLink) {
  for (const char* name : {"\\\\.\\com2", "\\\\.\\Com2", "\\\\.\\cOM2"}) {
    TCommPortDriver any_case(clock, MakeSystemPort());
    any_case.SetPortName(name);
    EXPECT_TRUE(any_case.OpenPort()) << name;
  }
}

TEST_F(PosixPort, ComTwoOpensThePortMapLinkAsARawLine) {
  ASSERT_TRUE(driver.OpenPort());
  const termios2 tio = pty().Settings();
  EXPECT_EQ(tio.c_cflag & CBAUD, static_cast<tcflag_t>(B9600));
  EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
  EXPECT_NE(tio.c_cflag & CREAD, 0u);
  EXPECT_NE(tio.c_cflag & CLOCAL, 0u);
  EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
  EXPECT_EQ(tio.c_oflag & OPOST, 0u);
  EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP), 0u);
  EXPECT_EQ(tio.c_cc[VMIN], 0);
  EXPECT_EQ(tio.c_cc[VTIME], 0);
}

TEST_F(PosixPort, LineSettingsReachTheTerminal) {
  driver.SetBaudRateValue(14400);
  driver.SetDataBits(TDataBits::db7BITS);
  driver.SetParity(TParity::ptMARK);
  driver.SetStopBits(TStopBits::sb2BITS);
  driver.SetHwFlow(THwFlowControl::hfRTSCTS);
  driver.SetSwFlow(TSwFlowControl::sfXONXOFF);
  ASSERT_TRUE(driver.OpenPort());
  termios2 tio = pty().Settings();
  EXPECT_EQ(tio.c_cflag & CBAUD, static_cast<tcflag_t>(BOTHER));
  EXPECT_EQ(tio.c_ospeed, 14400u);
  // A pty keeps its character size at 8 and parity generation off whatever it is told,
  // so only the mark or space choice is left to see.
  EXPECT_EQ(tio.c_cflag & (PARODD | CMSPAR), static_cast<tcflag_t>(PARODD | CMSPAR));
  EXPECT_NE(tio.c_cflag & CSTOPB, 0u);
  EXPECT_NE(tio.c_cflag & CRTSCTS, 0u);
  EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), static_cast<tcflag_t>(IXON | IXOFF));
  EXPECT_EQ(tio.c_cc[VSTART], 17);
  EXPECT_EQ(tio.c_cc[VSTOP], 19);

  driver.SetBaudRate(TBaudRate::br115200);
  driver.SetParity(TParity::ptSPACE);
  driver.SetDataBits(TDataBits::db5BITS);
  driver.SetStopBits(TStopBits::sb1HALFBITS);  // five data bits: two stop bits on the wire
  tio = pty().Settings();
  EXPECT_EQ(tio.c_cflag & CBAUD, static_cast<tcflag_t>(B115200));
  EXPECT_EQ(tio.c_cflag & (PARODD | CMSPAR), static_cast<tcflag_t>(CMSPAR));
  EXPECT_NE(tio.c_cflag & CSTOPB, 0u);
}

TEST_F(PosixPort, StopBitsTheDataBitsCannotHaveAreRefusedAsOnWindows) {
  driver.SetStopBits(TStopBits::sb1HALFBITS);  // only with 5 data bits
  EXPECT_FALSE(driver.OpenPort());
  EXPECT_FALSE(driver.IsOpen());
  driver.SetDataBits(TDataBits::db5BITS);
  driver.SetStopBits(TStopBits::sb2BITS);  // never with 5 data bits
  EXPECT_FALSE(driver.OpenPort());
  EXPECT_FALSE(driver.IsOpen());
  driver.SetStopBits(TStopBits::sb1BITS);
  EXPECT_TRUE(driver.OpenPort());
  driver.SetStopBits(TStopBits::sb2BITS);  // refused on an open port too, which stays open
  EXPECT_TRUE(driver.IsOpen());
  termios2 tio = pty().Settings();
  EXPECT_EQ(tio.c_cflag & CSTOPB, 0u) << "the line keeps its one stop bit";
}

TEST_F(PosixPort, BytesCrossTheLineBothWaysAndAStraddlingReplyArrivesInTwoEvents) {
  ASSERT_TRUE(driver.OpenPort());
  EXPECT_TRUE(driver.WriteText("RD1"));
  EXPECT_EQ(pty().Received(), "RD1");
  EXPECT_TRUE(driver.ReadModemLines().Empty());  // a pty has no modem lines
  pty().Send("V");
  clock.Advance(50);
  pty().Send("ER");
  clock.Advance(50);
  clock.Advance(50);
  EXPECT_EQ(events, (std::vector<std::string>{"V", "ER"}));
}

TEST_F(PosixPort, ASecondOpenOfTheSamePortFails) {
  ASSERT_TRUE(driver.OpenPort());
  TCommPortDriver second(clock, MakeSystemPort());
  EXPECT_FALSE(second.OpenPort());
  second.SetPortName(pty().SlavePath());
  EXPECT_FALSE(second.OpenPort());
  driver.ClosePort();
  EXPECT_TRUE(second.OpenPort());
}

TEST_F(PosixPort, AStalledWriteReturnsShortAfterTheOutputTimeout) {
  ASSERT_TRUE(driver.OpenPort());
  // Each refused write waits out the 10 ms write time-out; the clock moves likewise.
  clock.SetTickQueryStep(10);
  driver.SetOutputTimeout(100);
  const std::vector<std::uint8_t> block(1 << 20, 'x');
  const std::uint64_t start = clock.Now();
  const std::uint32_t written = driver.WriteBytes(block.data(), block.size());
  EXPECT_GT(written, 0u);
  EXPECT_LT(written, block.size());
  EXPECT_GT(clock.Now() - start, 100u);
  // Every write that still took bytes moves the clock on too, and how many do depends
  // on how the kernel fills the terminal's buffer; the wait ends soon after the last.
  EXPECT_LT(clock.Now() - start, 1000u);
  EXPECT_TRUE(driver.IsOpen());
}

TEST_F(PosixPort, AHungUpLineFailsShortAndThePortCanBeOpenedAgain) {
  ASSERT_TRUE(driver.OpenPort());
  clock.SetTickQueryStep(1);
  pty().Close();
  clock.Advance(200);
  EXPECT_TRUE(driver.IsOpen());
  EXPECT_TRUE(events.empty());
  const std::uint64_t start = clock.Now();
  EXPECT_FALSE(driver.WriteText("VER"));
  EXPECT_LT(clock.Now() - start, 10u);
  driver.ClosePort();
  EXPECT_FALSE(driver.OpenPort());
  Replug();
  ASSERT_TRUE(driver.OpenPort());
  EXPECT_TRUE(driver.WriteText("VER"));
  EXPECT_EQ(pty().Received(), "VER");
}

TEST_F(PosixPort, APortWhoseDeviceCameBackIsReacquiredAtTheNextPoll) {
  driver.SetBaudRateValue(57600);
  ASSERT_TRUE(driver.OpenPort());
  pty().Close();
  clock.Advance(100);
  Replug();
  clock.Advance(50);
  EXPECT_TRUE(driver.IsOpen());
  EXPECT_EQ(pty().Settings().c_cflag & CBAUD, static_cast<tcflag_t>(B57600));
  pty().Send("VER");
  clock.Advance(50);
  EXPECT_EQ(events, (std::vector<std::string>{"VER"}));
  EXPECT_TRUE(driver.WriteText("RD2"));
  EXPECT_EQ(pty().Received(), "RD2");
}

}  // namespace
}  // namespace serial
