// Guards the settings command and its dialog: the lists as filled from the driver,
// the two "Error" refusals, the order the settings reach the driver, the close and
// reopen with its fallbacks.
#include "serial/settings_dialog.h"

#include <gtest/gtest.h>

#include "serial/advance_ini.h"
#include "serial/settings_bench.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace settings_test;
using serial::TBaudRate;
using ui::SettingsValues;

TEST(SettingsDialog, IsFilledFromTheDriverWithItsListsInEnumerationOrder) {
  SettingsBench b;
  b.driver.ClosePort();
  b.driver.SetPortName(kCom12);
  b.driver.SetBaudRateValue(230400);
  b.driver.SetDataBits(serial::TDataBits::db7BITS);
  b.driver.SetParity(serial::TParity::ptMARK);
  b.driver.SetStopBits(serial::TStopBits::sb2BITS);
  b.driver.SetHwFlow(serial::THwFlowControl::hfRTSCTS);
  b.driver.SetSwFlow(serial::TSwFlowControl::sfXONXOFF);
  b.driver.SetEnableDTROnOpen(false);
  b.driver.SetCheckLineStatus(true);
  serial::TSettingsForm form(b.driver, b.dialogs, {}, b.scratch.root);

  const ui::SettingsRequest request = form.Request();

  const SettingsValues expected{kCom12, "230400", 2, 3, 2, 2, 1, 1, 0};
  EXPECT_EQ(request.values, expected);
  ASSERT_EQ(request.port_items.size(), 16u);
  EXPECT_EQ(request.port_items.front(), kCom1);
  EXPECT_EQ(request.port_items.back(), "\\\\.\\COM16");
  EXPECT_EQ(request.baud_rate_items,
            (std::vector<std::string>{"110", "300", "600", "1200", "2400", "4800", "9600", "14400",
                                      "19200", "38400", "56000", "57600", "115200", "128000",
                                      "230400", "256000", "460800", "921600"}));
  EXPECT_EQ(request.data_bits_items, (std::vector<std::string>{"5", "6", "7", "8"}));
  EXPECT_EQ(request.parity_items,
            (std::vector<std::string>{"None", "Odd", "Even", "Mark", "Space"}));
  EXPECT_EQ(request.stop_bits_items, (std::vector<std::string>{"1", "1.5", "2"}));
  EXPECT_EQ(request.hw_flow_items,
            (std::vector<std::string>{"None", "None but RTS on", "RTS/CTS"}));
  EXPECT_EQ(request.sw_flow_items, (std::vector<std::string>{"None", "XON/XOFF"}));
  EXPECT_EQ(request.dtr_control_items, (std::vector<std::string>{"Standard", "Keep off"}));
  EXPECT_EQ(request.device_check_items, (std::vector<std::string>{"Yes", "No"}));
}

// What "Advance.ini" accepts as a baud rate the dialog accepts too, and the reverse.
TEST(SettingsDialog, ReadsABaudRateAsAdvanceIniReadsIt) {
  for (const char* text : {" 9600", "  +19200", "38400", "+", " ", "9600 ", "96a0", " -9600"}) {
    SettingsBench b;
    b.dialogs.AnswerSettings({[&](SettingsValues& v) { v.baud_rate = text; }});
    b.dialogs.Answer(ui::DialogResult::Ok);  // the confirmation
    b.command.Button5Click();
    const auto ini =
        serial::ParseAdvanceIni("COM PORT= COM2", std::string("BAUDRATE= ") + text, "DATABITS= 8");
    EXPECT_EQ(b.Errors().empty(), ini.baud_rate.has_value()) << "'" << text << "'";
    if (ini.baud_rate) {
      EXPECT_EQ(b.driver.BaudRateValue(), *ini.baud_rate) << text;
    }
  }
}

TEST(SettingsDialog, RefusesAnEmptyPortNameAndBaudRatesOutside110To921600) {
  SettingsBench b;
  b.dialogs.AnswerSettings({
      [](SettingsValues& v) { v.port_name = "   "; },
      [](SettingsValues& v) {
        v.port_name = kCom2;
        v.baud_rate = "abc";
      },
      [](SettingsValues& v) { v.baud_rate = "100"; },
      [](SettingsValues& v) { v.baud_rate = "-1"; },
      [](SettingsValues& v) { v.baud_rate = "921601"; },
      [](SettingsValues& v) { v.baud_rate = "4294967406"; },
      [](SettingsValues& v) { v.baud_rate = "921600"; },
  });
  b.dialogs.Answer(ui::DialogResult::Ok);  // the confirmation

  b.command.Button5Click();

  EXPECT_EQ(b.Errors(),
            (std::vector<std::string>{
                "Please, enter a valid port name.", "Please, enter a valid baud rate.",
                "Please, enter a valid baud rate.", "Please, enter a valid baud rate.",
                "Please, enter a valid baud rate.", "Please, enter a valid baud rate."}));
  for (const auto& shown : b.dialogs.History()) {
    if (shown.title == "Error") {
      EXPECT_EQ(shown.icon, ui::DialogIcon::Error);
    }
  }
  EXPECT_EQ(b.driver.BaudRateValue(), 921600u);
  EXPECT_EQ(b.driver.BaudRate(), TBaudRate::brCustom);
}

TEST(SettingsDialog, AcceptsAnyWholeRateInRangeAsACustomRate) {
  for (const char* rate : {"230400", "110", "12345"}) {
    SettingsBench b;
    b.dialogs.AnswerSettings({[rate](SettingsValues& v) { v.baud_rate = rate; }});
    b.command.Button5Click();
    EXPECT_TRUE(b.Errors().empty()) << rate;
    EXPECT_EQ(b.driver.BaudRateValue(), std::stoul(rate));
    EXPECT_EQ(b.driver.BaudRate(), TBaudRate::brCustom);
  }
}

TEST(SettingsDialog, WritesEverySettingToTheDriver) {
  SettingsBench b;
  b.dialogs.AnswerSettings({[](SettingsValues& v) {
    v.port_name = std::string(" ") + kCom12 + "\t";
    v.baud_rate = "19200";
    v.data_bits = 2;     // 7
    v.parity = 2;        // Even
    v.stop_bits = 2;     // 2
    v.hw_flow = 2;       // RTS/CTS
    v.sw_flow = 1;       // XON/XOFF
    v.dtr_control = 1;   // Keep off
    v.device_check = 0;  // Yes
  }});

  b.command.Button5Click();

  EXPECT_EQ(b.driver.PortName(), kCom12);
  EXPECT_TRUE(b.driver.IsOpen());
  EXPECT_EQ(b.driver.BaudRateValue(), 19200u);
  EXPECT_EQ(b.driver.DataBits(), serial::TDataBits::db7BITS);
  EXPECT_EQ(b.driver.Parity(), serial::TParity::ptEVEN);
  EXPECT_EQ(b.driver.StopBits(), serial::TStopBits::sb2BITS);
  EXPECT_EQ(b.driver.HwFlow(), serial::THwFlowControl::hfRTSCTS);
  EXPECT_EQ(b.driver.SwFlow(), serial::TSwFlowControl::sfXONXOFF);
  EXPECT_FALSE(b.driver.EnableDTROnOpen());
  EXPECT_TRUE(b.driver.CheckLineStatus());
}

TEST(SettingsCommand, AsksBeforeClosingAnOpenConnectionAndCancelChangesNothing) {
  SettingsBench b;
  b.dialogs.Answer(ui::DialogResult::Cancel);

  b.command.Button5Click();

  ASSERT_EQ(b.dialogs.History().size(), 1u);
  const auto& asked = b.dialogs.History().front();
  EXPECT_EQ(asked.kind, "MessageDlg");
  EXPECT_EQ(asked.icon, ui::DialogIcon::Question);
  EXPECT_EQ(asked.buttons, ui::DialogButtons::OkCancel);
  EXPECT_EQ(asked.text, kConfirm);
  EXPECT_TRUE(b.driver.IsOpen());
  EXPECT_TRUE(b.timer3.Enabled());
}

TEST(SettingsCommand, TheDialogRunsWithThePortClosedAndTimer3StoppedEvenWhenCancelled) {
  SettingsBench b;
  b.dialogs.Answer(ui::DialogResult::Ok);
  bool closed_while_open = false;
  bool timer3_while_open = true;
  b.dialogs.CancelSettings([&] {
    closed_while_open = !b.driver.IsOpen();
    timer3_while_open = b.timer3.Enabled();
    b.clock.Advance(2000);
  });
  std::vector<std::string> chosen;
  b.command.OnPortChosen = [&](const std::string& name) { chosen.push_back(name); };

  b.command.Button5Click();

  EXPECT_TRUE(closed_while_open);
  EXPECT_FALSE(timer3_while_open);
  EXPECT_TRUE(b.driver.IsOpen());
  EXPECT_EQ(b.driver.PortName(), kCom2);
  EXPECT_TRUE(b.timer3.Enabled());
  EXPECT_TRUE(chosen.empty());
  // No version request: the supervision finds the controller again in its own time.
  EXPECT_EQ(b.controller.CommandsCarriedOut(), 0u);
}

TEST(SettingsCommand, APortThatCannotBeOpenedFallsBackToThePreviousOne) {
  SettingsBench b;
  std::vector<std::string> chosen;
  b.command.OnPortChosen = [&](const std::string& name) { chosen.push_back(name); };
  b.dialogs.AnswerSettings({[](SettingsValues& v) { v.port_name = "\\\\.\\COM5"; }});

  b.command.Button5Click();

  EXPECT_EQ(b.driver.PortName(), kCom2);
  EXPECT_TRUE(b.driver.IsOpen());
  // A choice that failed is not kept: the closing saves the port that works, or the
  // next start would fail on it again.
  EXPECT_TRUE(chosen.empty());
  // The Part's command shows no message of its own for a missing device.
  EXPECT_EQ(b.dialogs.History().size(), 2u);
}

TEST(SettingsCommand, WhenThePreviousPortFailsTooTheNameBecomesCom1WithoutOpeningIt) {
  SettingsBench b;
  b.driver.ClosePort();
  b.driver.SetPortName("\\\\.\\COM4");
  b.dialogs.AnswerSettings({[](SettingsValues& v) { v.port_name = "\\\\.\\COM5"; }});

  b.command.Button5Click();

  EXPECT_EQ(b.driver.PortName(), kCom1);
  EXPECT_FALSE(b.driver.IsOpen());
  EXPECT_TRUE(b.timer3.Enabled());
  // A closed port needs no confirmation.
  EXPECT_EQ(b.dialogs.History().size(), 1u);
}

TEST(SettingsCommand, ANameTypedWithoutItsLeadingCharactersIsUsedAsItStands) {
  SettingsBench b;
  std::vector<std::string> chosen;
  b.command.OnPortChosen = [&](const std::string& name) { chosen.push_back(name); };
  b.dialogs.AnswerSettings({[](SettingsValues& v) { v.port_name = " COM3 "; }});

  b.command.Button5Click();

  // "COM3" is no device here: the command falls back, and nothing is kept of it.
  EXPECT_TRUE(chosen.empty());
  EXPECT_EQ(b.driver.PortName(), kCom2);
}

// A machine with an FTDI adapter (by-id and ttyUSB0), an ACM modem, two UARTs and
// one ttyS node without a UART behind it.
}  // namespace
