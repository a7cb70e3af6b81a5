// Guards the controller-sim program as the configurator meets it: it links a pty into
// the port map, answers "VER" on it, and puts the port map back when it is stopped.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "sim/port_map.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr auto kStartLimit = std::chrono::seconds(10);
constexpr int kReplyLimitMs = 3000;

fs::path ProgramPath() {
  if (const char* path = std::getenv("CONTROLLER_SIM")) return path;
  // The test program lives in <build>/tests, the emulator in <build>.
  return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "controller-sim";
}

class ControllerSimProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    m_config = fs::temp_directory_path() /
               ("controller-sim-" + std::to_string(std::random_device{}()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
    m_map = m_config / "palunor" / "dosdevices";
    fs::create_directories(m_map);
    ASSERT_TRUE(fs::exists(ProgramPath())) << ProgramPath() << ": build controller-sim first";
  }
  void TearDown() override {
    if (m_fd >= 0) close(m_fd);
    if (m_pid > 0) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, nullptr, 0);
    }
    fs::remove_all(m_config);
  }

  void Start(std::vector<std::string> args, const std::string& link) {
    const std::string program = ProgramPath().string();
    const std::string env = "XDG_CONFIG_HOME=" + m_config.string();
    m_pid = fork();
    ASSERT_GE(m_pid, 0);
    if (m_pid == 0) {
      std::vector<char*> argv{const_cast<char*>(program.c_str())};
      for (std::string& arg : args) argv.push_back(arg.data());
      argv.push_back(nullptr);
      putenv(const_cast<char*>(env.c_str()));
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, STDOUT_FILENO);
      execv(program.c_str(), argv.data());
      _exit(127);
    }
    // Until the link points at the pty (bounded).
    const auto limit = Clock::now() + kStartLimit;
    while (Clock::now() < limit) {
      std::error_code error;
      const fs::path target = fs::read_symlink(m_map / link, error);
      if (!error && target.string().starts_with("/dev/pts/")) {
        m_target = target;
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    FAIL() << "no link " << (m_map / link) << " within the limit";
  }

  void OpenLink() {
    m_fd = open(m_target.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(m_fd, 0);
    termios settings{};
    ASSERT_EQ(tcgetattr(m_fd, &settings), 0);
    cfmakeraw(&settings);
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    ASSERT_EQ(tcsetattr(m_fd, TCSANOW, &settings), 0);
  }

  std::string Ask(const std::string& command, std::size_t expected) {
    EXPECT_EQ(write(m_fd, command.data(), command.size()), static_cast<ssize_t>(command.size()));
    std::string reply;
    const auto limit = Clock::now() + std::chrono::milliseconds(kReplyLimitMs);
    while (reply.size() < expected && Clock::now() < limit) {
      pollfd wait{m_fd, POLLIN, 0};
      if (poll(&wait, 1, 100) <= 0) continue;
      char buffer[64];
      const ssize_t got = read(m_fd, buffer, sizeof buffer);
      if (got > 0) reply.append(buffer, static_cast<std::size_t>(got));
    }
    return reply;
  }

  // SIGTERM, then the exit status once it has ended (bounded).
  int Stop() {
    kill(m_pid, SIGTERM);
    const auto limit = Clock::now() + kStartLimit;
    int status = 0;
    while (Clock::now() < limit) {
      if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_pid = -1;
        return status;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ADD_FAILURE() << "controller-sim did not end after SIGTERM";
    return -1;
  }

  fs::path m_config;
  fs::path m_map;
  fs::path m_target;
  pid_t m_pid = -1;
  int m_fd = -1;
};

TEST_F(ControllerSimProgram, AnswersVersionOnTheLinkedPtyAndRemovesTheLinkWhenStopped) {
  Start({}, "com2");
  OpenLink();
  EXPECT_EQ(Ask("VER", 7), std::string("QZR\x3c\x19\x19"
                                       "D",
                                       7));
  const int status = Stop();
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(m_map / "com2")));
}

TEST_F(ControllerSimProgram, OptionsSetIdentityAndPortAndTheOldLinkComesBack) {
  fs::create_symlink("/dev/ttyUSB0", m_map / "com3");
  Start({"--port", "COM3", "--model", "PLX", "--version", "52", "--limits", "20,10", "--channels",
         "S"},
        "com3");
  OpenLink();
  EXPECT_EQ(Ask("VER", 7), std::string("PLX\x34\x14\x0aS", 7));
  // The program closing its end and opening again finds the controller still there.
  close(m_fd);
  m_fd = -1;
  OpenLink();
  EXPECT_EQ(Ask("RD", 34).size(), 34u);
  Stop();
  EXPECT_EQ(fs::read_symlink(m_map / "com3"), "/dev/ttyUSB0");
}

// The state file is how a demo or an end-to-end test sees what the program sent.
TEST_F(ControllerSimProgram, StateFileFollowsEveryCommandCarriedOut) {
  const fs::path state = m_config / "state.txt";
  auto read_state = [&state] {
    std::ifstream in(state);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  };
  Start({"--state", state.string()}, "com2");
  // Written before the port appears in the map: the controller as it starts.
  const std::string before = read_state();
  EXPECT_NE(before.find("output 5\n"), std::string::npos) << before;
  OpenLink();
  std::string send_curve = "SD1";
  for (int point = 0; point < 26; ++point)
    send_curve += static_cast<char>(point % 2 == 0 ? 3 : 130);
  ASSERT_EQ(Ask(send_curve, 2), "OK");
  ASSERT_EQ(Ask("EW1", 5), "RECOK");
  ASSERT_EQ(Ask("O12", 4), "CH12");
  const std::string text = read_state();
  std::string curve;
  for (int point = 0; point < 26; ++point) curve += point % 2 == 0 ? " 28" : " 23";
  EXPECT_EQ(before.find("ram1" + curve + "\n"), std::string::npos) << before;
  EXPECT_NE(text.find("ram1" + curve + "\n"), std::string::npos) << text;
  EXPECT_NE(text.find("eeprom1" + curve + "\n"), std::string::npos) << text;
  EXPECT_NE(text.find("output 12\n"), std::string::npos) << text;
  Stop();
}

// A pulled cable as the program meets it: its end of the line hangs up and COM2 leads
// nowhere; plugged in again, COM2 leads to a controller that kept what it was sent.
TEST_F(ControllerSimProgram, UsrOnePullsTheCableAndUsrTwoPlugsItInAgain) {
  Start({}, "com2");
  OpenLink();
  std::string send_curve = "SD1";
  send_curve.append(26, '\x07');
  ASSERT_EQ(Ask(send_curve, 2), "OK");
  const fs::path first = m_target;

  kill(m_pid, SIGUSR1);
  const auto limit = Clock::now() + kStartLimit;
  while (fs::exists(first) && Clock::now() < limit) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_FALSE(fs::exists(first)) << "the pty outlived the unplug";
  EXPECT_FALSE(fs::exists(m_map / "com2")) << "COM2 leads nowhere";
  EXPECT_TRUE(fs::is_symlink(m_map / "com2"));
  EXPECT_LT(write(m_fd, "VER", 3), 0) << "the line hung up";
  close(m_fd);
  m_fd = -1;

  kill(m_pid, SIGUSR2);
  m_target.clear();
  while (Clock::now() < limit) {
    std::error_code error;
    const fs::path target = fs::read_symlink(m_map / "com2", error);
    // The new pty may well get the number of the old one.
    if (!error && fs::exists(target)) {
      m_target = target;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_FALSE(m_target.empty()) << "not plugged in again";
  OpenLink();
  EXPECT_EQ(Ask("VER", 7).substr(0, 3), "QZR");
  const std::string curve = Ask("RD1", 34);
  ASSERT_EQ(curve.size(), 34u);
  EXPECT_EQ(curve.substr(3, 26), std::string(26, '\x07'));
  Stop();
  EXPECT_FALSE(fs::exists(fs::symlink_status(m_map / "com2")));
}

TEST_F(ControllerSimProgram, RefusesABadOption) {
  const std::string program = ProgramPath().string();
  const std::string command = program + " --fault Smoke >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 2);
}

TEST(PortMapFolder, FollowsXdgConfigHomeThenHome) {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const std::string saved_xdg = xdg ? xdg : "";
  setenv("XDG_CONFIG_HOME", "/tmp/xdg-here", 1);
  EXPECT_EQ(sim::PortMapDir(), fs::path("/tmp/xdg-here/palunor/dosdevices"));
  setenv("XDG_CONFIG_HOME", "", 1);
  const char* home = std::getenv("HOME");
  if (home != nullptr) {
    EXPECT_EQ(sim::PortMapDir(), fs::path(home) / ".config/palunor/dosdevices");
  }
  if (xdg) {
    setenv("XDG_CONFIG_HOME", saved_xdg.c_str(), 1);
  } else {
    unsetenv("XDG_CONFIG_HOME");
  }
}

}  // namespace
