// Guards the move to another port through the settings dialog: the program leaves the
// controller on COM2 for the one on COM3 at once, and keeps COM3 across a restart
// through "Advance.ini".
#include <gtest/gtest.h>

#include <fstream>

#include "serial/comm_port_driver.h"
#include "tests/e2e/e2e_harness.h"

namespace {

using e2e::E2e;

TEST(Palunor6PortSettings, MovesToTheControllerOnCom3AndOpensCom3AtTheNextStart) {
  E2e e2e(ui::Variant::Palunor6);
  ASSERT_TRUE(e2e.EmulatorStarted());
  ASSERT_TRUE(e2e.WaitUntilFound()) << e2e.Caption();
  ASSERT_EQ(e2e.Caption(), "VYN Advance Controller Program (QZR Version 6.0, Dual Channel)");
  // A second controller, told apart by its firmware.
  e2e::Emulator* com3 = e2e.AddController(3, {"--version", "52"});
  ASSERT_NE(com3, nullptr);

  e2e.AnswerNextMessageBox(QMessageBox::Ok);
  e2e.AnswerNextSettingsDialog("\\\\.\\COM3");
  e2e.Click("Button5");
  EXPECT_EQ(e2e.LastMessage(),
            "Could not change settings while a connection is active.\r\nClose the connection "
            "and continue ?");
  EXPECT_EQ(e2e.LastDialogTitle(), "Settings");
  EXPECT_EQ(e2e.Form().CPDrv().PortName(), "\\\\.\\COM3");
  EXPECT_TRUE(e2e.Form().CPDrv().IsOpen());

  // The link supervision goes on with the controller on COM3, and a Read reaches it.
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::TimesHeard(com3->Log(), "VER") > 0; },
                             e2e::kSupervisionLimit));
  const int reads_on_com2 = e2e::TimesHeard(e2e.Controller().Log(), "RD1");
  e2e.Click("RDBut");
  ASSERT_TRUE(e2e.WaitForStatus("Lines Received!")) << e2e.Text("lblstat");
  EXPECT_EQ(e2e::TimesHeard(com3->Log(), "RD1"), 1);
  EXPECT_EQ(e2e::TimesHeard(e2e.Controller().Log(), "RD1"), reads_on_com2);

  e2e.Restart(ui::Variant::Palunor6);
  std::ifstream ini(e2e.WorkDir() / "Advance.INI", std::ios::binary);
  std::string port_line;
  ASSERT_TRUE(std::getline(ini, port_line));
  EXPECT_EQ(port_line, "COM PORT= COM3\r");
  EXPECT_EQ(e2e.Form().CPDrv().PortName(), "\\\\.\\COM3");
  ASSERT_TRUE(e2e.WaitUntilFound()) << e2e.Caption();
  EXPECT_EQ(e2e.Caption(), "VYN Advance Controller Program (QZR Version 5.2, Dual Channel)");
}

}  // namespace
