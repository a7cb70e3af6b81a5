// Guards the port map link the emulator program makes: it points comN at the device,
// puts back a link that was there, and leaves alone what is not its own.
#include "sim/port_map.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace {

namespace fs = std::filesystem;

class PortMap : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() /
            ("port-map-" + std::to_string(std::random_device{}()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name()) /
            "palunor" / "dosdevices";
  }
  void TearDown() override { fs::remove_all(m_dir.parent_path().parent_path()); }
  fs::path m_dir;
};

TEST_F(PortMap, LinksThePortAndRemovesTheLinkAfterwards) {
  {
    sim::PortMapLink link(m_dir, 2, "/dev/pts/77");
    ASSERT_TRUE(link.Linked()) << link.Error();
    EXPECT_EQ(fs::read_symlink(m_dir / "com2"), "/dev/pts/77");
  }
  EXPECT_FALSE(fs::exists(fs::symlink_status(m_dir / "com2")));
  // Nothing else is left in the folder.
  EXPECT_TRUE(fs::is_empty(m_dir));
}

TEST_F(PortMap, PutsBackTheLinkThatWasThere) {
  fs::create_directories(m_dir);
  fs::create_symlink("/dev/ttyUSB0", m_dir / "com12");
  {
    sim::PortMapLink link(m_dir, 12, "/dev/pts/5");
    ASSERT_TRUE(link.Linked());
    EXPECT_EQ(fs::read_symlink(m_dir / "com12"), "/dev/pts/5");
  }
  EXPECT_EQ(fs::read_symlink(m_dir / "com12"), "/dev/ttyUSB0");
}

TEST_F(PortMap, LeavesAFileThatIsNoLinkAlone) {
  fs::create_directories(m_dir);
  std::ofstream(m_dir / "com1") << "mine";
  sim::PortMapLink link(m_dir, 1, "/dev/pts/5");
  EXPECT_FALSE(link.Linked());
  EXPECT_NE(link.Error().find("not a link"), std::string::npos);
  EXPECT_TRUE(fs::is_regular_file(m_dir / "com1"));
}

TEST_F(PortMap, LeavesALinkSomeoneElseChangedMeanwhile) {
  sim::PortMapLink link(m_dir, 3, "/dev/pts/5");
  ASSERT_TRUE(link.Linked());
  fs::remove(m_dir / "com3");
  fs::create_symlink("/dev/ttyS9", m_dir / "com3");
  link.Restore();
  EXPECT_EQ(fs::read_symlink(m_dir / "com3"), "/dev/ttyS9");
}

TEST_F(PortMap, ARetargetedLinkIsStillOursToRemove) {
  fs::create_directories(m_dir);
  fs::create_symlink("/dev/ttyUSB0", m_dir / "com2");
  {
    sim::PortMapLink link(m_dir, 2, "/dev/pts/77");
    ASSERT_TRUE(link.Retarget("/dev/pts/78"));
    EXPECT_EQ(fs::read_symlink(m_dir / "com2"), "/dev/pts/78");
  }
  EXPECT_EQ(fs::read_symlink(m_dir / "com2"), "/dev/ttyUSB0");
}

TEST_F(PortMap, ALinkSomeoneElseChangedIsNotRetargeted) {
  sim::PortMapLink link(m_dir, 2, "/dev/pts/77");
  fs::remove(m_dir / "com2");
  fs::create_symlink("/dev/ttyUSB1", m_dir / "com2");
  EXPECT_FALSE(link.Retarget("/dev/pts/78"));
  EXPECT_EQ(fs::read_symlink(m_dir / "com2"), "/dev/ttyUSB1");
}

TEST(PortMapNames, ComPortNamesAreOneToSixteenInAnyCase) {
  EXPECT_EQ(sim::ComPortNumber("COM2"), 2);
  EXPECT_EQ(sim::ComPortNumber("com16"), 16);
  EXPECT_EQ(sim::ComPortNumber("Com1"), 1);
  EXPECT_FALSE(sim::ComPortNumber("COM0"));
  EXPECT_FALSE(sim::ComPortNumber("COM17"));
  EXPECT_FALSE(sim::ComPortNumber("COM02"));
  EXPECT_FALSE(sim::ComPortNumber("COM"));
  EXPECT_FALSE(sim::ComPortNumber("/dev/ttyS1"));
}

}  // namespace
