// Guards the serial devices the settings offer on a POSIX machine: by-id names first,
// each device once, and the chosen one linked into the port map as the lowest free COM
// number.
#include "serial/serial_devices.h"

#include <gtest/gtest.h>

#include "serial/settings_bench.h"

namespace {

using namespace settings_test;
using ui::SettingsValues;

void MakeMachine(const fs::path& root) {
  fs::create_directories(root / "dev" / "serial" / "by-id");
  for (const char* node : {"ttyUSB0", "ttyACM0", "ttyS0", "ttyS1", "ttyS10", "ttyUSBx"}) {
    std::ofstream(root / "dev" / node).put('\0');
  }
  fs::create_symlink("../../ttyUSB0",
                     root / "dev" / "serial" / "by-id" / "usb-FTDI_FT232R_A9X-if00-port0");
  for (const auto& [name, type] : {std::pair{"ttyS0", "4"}, {"ttyS1", "0"}, {"ttyS10", "4"}}) {
    fs::create_directories(root / "sys" / "class" / "tty" / name);
    std::ofstream(root / "sys" / "class" / "tty" / name / "type") << type << "\n";
  }
}

TEST(SerialDevices, ByIdNamesComeFirstAndADeviceIsListedOnce) {
  Scratch scratch;
  MakeMachine(scratch.root);

  const auto devices = serial::ListSerialDevices(scratch.root);

  std::vector<std::string> labels;
  for (const auto& device : devices) labels.push_back(device.label);
  const std::string dev = (scratch.root / "dev").string();
  EXPECT_EQ(labels, (std::vector<std::string>{"usb-FTDI_FT232R_A9X-if00-port0 (ttyUSB0)",
                                              dev + "/ttyACM0", dev + "/ttyS0", dev + "/ttyS10"}));
  EXPECT_EQ(devices.front().path,
            scratch.root / "dev" / "serial" / "by-id" / "usb-FTDI_FT232R_A9X-if00-port0");
  EXPECT_TRUE(serial::ListSerialDevices(scratch.root / "nowhere").empty());
}

TEST(SettingsCommand, OffersTheDevicesAfterTheComPortsAndLinksTheChosenOne) {
  SettingsBench b(ui::Variant::Palunor6,
                  [](const fs::path&) { return std::set<std::string>{kCom3}; });
  MakeMachine(b.scratch.root / "machine");
  const fs::path map = b.scratch.root / "map";
  fs::create_directories(map);
  fs::create_symlink("/dev/null", map / "com1");
  fs::create_symlink("/dev/null", map / "com2");
  const std::string adapter = "usb-FTDI_FT232R_A9X-if00-port0 (ttyUSB0)";
  b.dialogs.AnswerSettings({[&](SettingsValues& v) { v.port_name = adapter; }});
  std::vector<std::string> chosen;
  b.command.OnPortChosen = [&](const std::string& name) { chosen.push_back(name); };

  b.command.Button5Click();

  const auto& request = *b.dialogs.History().back().settings;
  ASSERT_EQ(request.port_items.size(), 20u);
  EXPECT_EQ(request.port_items[15], "\\\\.\\COM16");
  EXPECT_EQ(request.port_items[16], adapter);
  EXPECT_EQ(chosen, std::vector<std::string>{kCom3});
  EXPECT_EQ(fs::read_symlink(map / "com3"), b.scratch.root / "machine" / "dev" / "serial" /
                                                "by-id" / "usb-FTDI_FT232R_A9X-if00-port0");

  // Chosen again, the device keeps its number.
  b.dialogs.AnswerSettings({[&](SettingsValues& v) { v.port_name = adapter; }});
  b.command.Button5Click();
  EXPECT_EQ(chosen.back(), kCom3);
  EXPECT_FALSE(fs::exists(fs::symlink_status(map / "com4")));
}

TEST(PortMap, TheFolderIsCreatedAndAFullMapLinksNothing) {
  Scratch scratch;
  const fs::path map = scratch.root / "new" / "dosdevices";
  EXPECT_EQ(serial::LinkIntoPortMap(map, "/dev/ttyUSB0"), 1);
  for (int n = 2; n <= 16; ++n) {
    EXPECT_EQ(serial::LinkIntoPortMap(map, "/dev/ttyUSB" + std::to_string(n)), n);
  }
  EXPECT_EQ(serial::LinkIntoPortMap(map, "/dev/ttyACM0"), std::nullopt);
  EXPECT_EQ(serial::LinkIntoPortMap(map, "/dev/ttyUSB7"), 7);
}

TEST(SettingsCommand, ADeviceTheFullMapCannotTakeIsOpenedByItsOwnName) {
  SettingsBench b(ui::Variant::Palunor6, [](const fs::path& root) {
    return std::set<std::string>{(root / "machine" / "dev" / "ttyACM0").string()};
  });
  MakeMachine(b.scratch.root / "machine");
  for (int n = 1; n <= 16; ++n) {
    serial::LinkIntoPortMap(b.scratch.root / "map", "/dev/x" + std::to_string(n));
  }
  std::vector<std::string> chosen;
  b.command.OnPortChosen = [&](const std::string& name) { chosen.push_back(name); };
  const std::string acm = (b.scratch.root / "machine" / "dev" / "ttyACM0").string();
  b.dialogs.AnswerSettings({[&](SettingsValues& v) { v.port_name = acm; }});

  b.command.Button5Click();

  EXPECT_EQ(chosen, std::vector<std::string>{acm});
}

}  // namespace
