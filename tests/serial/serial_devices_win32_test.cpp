// Guards the settings dialog's device list on Windows (under wine): folders named like
// a Linux machine's devices on the current drive are not devices, so nothing is listed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "serial/serial_devices.h"

namespace {

namespace fs = std::filesystem;

TEST(SerialDevicesWindows, FoldersNamedDevAndSysListNoDevice) {
  const fs::path root =
      fs::temp_directory_path() / ("palunor-devices-" + std::to_string(std::random_device{}()));
  fs::create_directories(root / "dev" / "serial" / "by-id");
  fs::create_directories(root / "sys" / "class" / "tty" / "ttyS0");
  for (const char* name : {"dev/ttyUSB0", "dev/ttyACM0", "dev/ttyS0", "dev/serial/by-id/usb-x"}) {
    std::ofstream(root / name) << "";
  }
  std::ofstream(root / "sys" / "class" / "tty" / "ttyS0" / "type") << "4\n";
  EXPECT_TRUE(serial::ListSerialDevices(root).empty());
  fs::remove_all(root);
}

}  // namespace
