// The built palunorctl against the controller-sim program on a pseudo-terminal: a
// workshop's day (read, send with record, diff), an option, live data and a pulled
// cable, judged by the emulator's state file and the files on disk.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "cli_bench.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using files_test::Read;
using files_test::Write;

constexpr auto kStartLimit = std::chrono::seconds(10);

fs::path BuildDir() {
  // The test program lives in <build>/tests, the programs in <build>.
  return fs::read_symlink("/proc/self/exe").parent_path().parent_path();
}

class PalunorctlProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() / ("palunorctl-" + std::to_string(std::random_device{}()));
    fs::create_directories(m_dir / "palunor" / "dosdevices");
    ASSERT_TRUE(fs::exists(BuildDir() / "controller-sim")) << "build controller-sim first";
    ASSERT_TRUE(fs::exists(BuildDir() / "palunorctl")) << "build palunorctl first";
    const std::string sim = (BuildDir() / "controller-sim").string();
    const std::string env = "XDG_CONFIG_HOME=" + m_dir.string();
    const std::string state = (m_dir / "state").string();
    m_pid = fork();
    ASSERT_GE(m_pid, 0);
    if (m_pid == 0) {
      putenv(const_cast<char*>(env.c_str()));
      execl(sim.c_str(), sim.c_str(), "--port", "COM2", "--limits", "20,18", "--state",
            state.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    const auto limit = Clock::now() + kStartLimit;
    std::error_code error;
    while (Clock::now() < limit && !fs::is_symlink(m_dir / "palunor/dosdevices/com2", error)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(fs::is_symlink(m_dir / "palunor/dosdevices/com2", error));
  }
  void TearDown() override {
    kill(m_pid, SIGTERM);
    waitpid(m_pid, nullptr, 0);
    fs::remove_all(m_dir);
  }

  // palunorctl with `args` (shell words); its exit status, its output in out and err.
  int Tool(const std::string& args) {
    const std::string line = "XDG_CONFIG_HOME='" + m_dir.string() + "' '" +
                             (BuildDir() / "palunorctl").string() + "' " + args + " >'" +
                             (m_dir / "out").string() + "' 2>'" + (m_dir / "err").string() + "'";
    const int status = std::system(line.c_str());
    out = Read(m_dir / "out");
    err = Read(m_dir / "err");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Path(const std::string& name) const { return (m_dir / name).string(); }
  std::string State() const { return Read(m_dir / "state"); }

  fs::path m_dir;
  pid_t m_pid = -1;
  std::string out;
  std::string err;
};

std::string StateLine(const std::string& key, const map::Curve& curve) {
  std::string line = key;
  for (std::uint8_t v : curve) line += " " + std::to_string(v);
  return line + "\n";
}

TEST_F(PalunorctlProgram, AWorkshopsDayReadSendWithRecordAndDiff) {
  ASSERT_EQ(Tool("read -o " + Path("unit-1.IJJ")), 0) << err;
  EXPECT_EQ(Tool("diff " + Path("unit-1.IJJ")), 0) << err;

  const map::Curve good = clitest::Rising(3);
  Write(Path("known-good.IJJ"), clitest::MapBytes(good, good));
  EXPECT_EQ(Tool("diff " + Path("known-good.IJJ")), 3);
  EXPECT_NE(out.find("Advance 2, point 26 (11000 RPM): file +15, controller +20"),
            std::string::npos)
      << out;
  ASSERT_EQ(Tool("--port COM2 send " + Path("known-good.IJJ") + " --record"), 0) << err;
  for (const char* key : {"ram1", "ram2", "eeprom1", "eeprom2"}) {
    EXPECT_NE(State().find(StateLine(key, good)), std::string::npos) << key << "\n" << State();
  }
  EXPECT_EQ(Tool("diff " + Path("known-good.IJJ")), 0);
  EXPECT_EQ(Tool("diff " + Path("unit-1.IJJ")), 3);

  // The unit's own curves back in RAM, then Advance 1 alone recorded.
  ASSERT_EQ(Tool("send --curve 1 " + Path("unit-1.IJJ")), 0) << err;
  ASSERT_EQ(Tool("record --curve 1"), 0) << err;
  EXPECT_EQ(Tool("diff " + Path("unit-1.IJJ")), 3);
  EXPECT_NE(State().find(StateLine("eeprom2", good)), std::string::npos) << State();
  EXPECT_EQ(State().find(StateLine("eeprom1", good)), std::string::npos) << State();
}

TEST_F(PalunorctlProgram, OptionsLiveDataAndAPulledCable) {
  ASSERT_EQ(Tool("ports"), 0) << err;
  EXPECT_NE(out.find("\\\\.\\COM2 -> /dev/pts/"), std::string::npos) << out;
  ASSERT_EQ(Tool("set vref 2.0"), 0) << err;
  EXPECT_NE(State().find("vref_step 6\n"), std::string::npos);
  ASSERT_EQ(Tool("--verbose info"), 0) << err;
  EXPECT_NE(err.find(" -> 56 45 52\n"), std::string::npos) << err;

  ASSERT_EQ(Tool("log --seconds 1 -o " + Path("run.csv")), 0) << err;
  EXPECT_NE(Read(Path("run.csv")).find("time_ms,local_time,rpm"), std::string::npos);
  EXPECT_NE(State().find("live off\n"), std::string::npos);

  kill(m_pid, SIGUSR1);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(Tool("--timeout 0.5 read"), 2);
  EXPECT_NE(err.find("no device is there; plug the adapter in"), std::string::npos) << err;
  EXPECT_EQ(out, "");
}

}  // namespace
