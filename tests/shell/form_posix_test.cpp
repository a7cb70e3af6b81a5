// Guards the window's life: start-up with and without "Advance.ini", the COM2 to COM1
// fallback over the port map, the single activation that sends "VER", closing that
// writes the settings, the keys and help.
#include <gtest/gtest.h>
#include <termios.h>

#include <fstream>
#include <string>

#include "form_harness.h"
#include "map/curve_model.h"
#include "serial/comm_port_driver.h"

namespace {

using shell_test::FormHarness;
using shell_test::PtyPort;

constexpr const char* kPortError =
    "Could not connect to serial port.\r\nPlease, check settings and try again.";

int MessagesTitled(const ui::ScriptedDialogs& dialogs, const std::string& title) {
  int n = 0;
  for (const auto& shown : dialogs.History()) n += shown.title == title ? 1 : 0;
  return n;
}

TEST(FormStartUp, NoIniAndAFreeCom2OpensCom2At9600EightNoneOne) {
  FormHarness h;
  PtyPort com2;
  h.Link("com2", com2.Path());
  auto& form = h.Start();
  EXPECT_TRUE(form.CPDrv().IsOpen());
  EXPECT_EQ(form.CPDrv().PortName(), "\\\\.\\COM2");
  termios tio{};
  ASSERT_EQ(tcgetattr(com2.Slave(), &tio), 0);
  EXPECT_EQ(cfgetospeed(&tio), B9600);
  EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(tio.c_cflag & PARENB, 0u);
  EXPECT_EQ(tio.c_cflag & CSTOPB, 0u);
  EXPECT_TRUE(h.dialogs.History().empty());
  EXPECT_EQ(form.Caption(), "VYN Advance Controller Program  (No QZR Found!)");
}

TEST(FormStartUp, NoCom2ButAFreeCom1OpensCom1WithoutAMessage) {
  FormHarness h;
  PtyPort com1;
  h.Link("com1", com1.Path());
  auto& form = h.Start();
  EXPECT_TRUE(form.CPDrv().IsOpen());
  EXPECT_EQ(form.CPDrv().PortName(), "\\\\.\\COM1");
  EXPECT_TRUE(h.dialogs.History().empty());
  EXPECT_EQ(com1.Received(), "VER");
}

TEST(FormStartUp, NeitherPortShowsThePortErrorAtStartUpAndAgainAtActivation) {
  FormHarness h;
  auto& form = h.Create();
  form.FormCreate();
  EXPECT_EQ(MessagesTitled(h.dialogs, "COM Port Error"), 1);
  EXPECT_EQ(h.dialogs.History().back().text, kPortError);
  EXPECT_EQ(h.dialogs.History().back().icon, ui::DialogIcon::Error);
  form.Activated();
  EXPECT_EQ(MessagesTitled(h.dialogs, "COM Port Error"), 2);
  EXPECT_FALSE(form.CPDrv().IsOpen());
  // The program stays usable: the arrows still move the selected point.
  int up = 38;
  form.KeyDown(up);
  EXPECT_EQ(form.Model().AdvCurves[1][0], 26);
}

TEST(FormStartUp, StartStateOfTheModelAndTimers) {
  FormHarness h;
  auto& form = h.Start();
  const map::CurveModel& m = form.Model();
  EXPECT_EQ(m.CurrentCurve, 2);
  EXPECT_EQ(m.SelectedPoint, 1);
  for (const auto& curve : m.AdvCurves) {
    for (auto v : curve) EXPECT_EQ(v, 25);
  }
  EXPECT_EQ(m.DeviceCurves, m.AdvCurves);
  EXPECT_TRUE(m.CurvesStored);
  EXPECT_EQ(m.DeviceVersion, 60);
  EXPECT_EQ(m.RpmText, "1500");
  EXPECT_EQ(m.AdvText, "0");
  EXPECT_TRUE(form.Timer3().Enabled());
  EXPECT_TRUE(form.Timer1().Enabled());
  EXPECT_FALSE(form["Label34"].Visible());
  EXPECT_FALSE(form["Label35"].Visible());
}

TEST(FormStartUp, OlderProgramStartsOnTheFixedAxis) {
  FormHarness h(ui::Variant::Palunor);
  auto& form = h.Start();
  EXPECT_EQ(form.Model().RpmText, "750");
  EXPECT_EQ(form.Model().AdvText, "");
  EXPECT_FALSE(form["Label33"].Visible());
}

TEST(FormActivation, DisablesTheCommandsAndSendsOneVersionRequest) {
  FormHarness h;
  PtyPort com2;
  h.Link("com2", com2.Path());
  auto& form = h.Start();
  for (const char* name : {"RDBut", "SDBut", "Button3", "Button6", "btnAdvSet"}) {
    EXPECT_FALSE(form[name].Enabled()) << name;
  }
  EXPECT_EQ(com2.Received(), "VER");
  EXPECT_EQ(form.Model().MaxAdvance, 25);
  EXPECT_EQ(form.Model().MaxRetard, 25);
}

TEST(FormActivation, ReturningFromADialogSendsNoSecondVersionRequest) {
  FormHarness h;
  PtyPort com2;
  h.Link("com2", com2.Path());
  auto& form = h.Start();
  EXPECT_EQ(com2.Received(), "VER");
  form["RDBut"].SetEnabled(true);
  form.Activated();  // the focus comes back from a message box or another program
  EXPECT_EQ(com2.Received(), "");
  EXPECT_TRUE(form["RDBut"].Enabled());
}

TEST(FormIni, SettingsFromTheFileAreAppliedBeforeThePortOpens) {
  FormHarness h;
  PtyPort com3;
  h.Link("com3", com3.Path());
  std::ofstream(h.WorkDir() / "Advance.ini")
      << "COM PORT= COM3\r\nBAUDRATE= 19200\r\nDATABITS= 7bits\r\n";
  auto& form = h.Start();
  EXPECT_EQ(form.CPDrv().PortName(), "\\\\.\\COM3");
  EXPECT_TRUE(form.CPDrv().IsOpen());
  termios tio{};
  ASSERT_EQ(tcgetattr(com3.Slave(), &tio), 0);
  EXPECT_EQ(cfgetospeed(&tio), B19200);
  // A pseudo-terminal keeps 8 data bits whatever it is asked; the driver holds the 7.
  EXPECT_EQ(form.CPDrv().DataBits(), serial::TDataBits::db7BITS);
}

TEST(FormIni, SecondLineThatIsNoNumberIsReportedAndStartUpCompletes) {
  FormHarness h;
  std::ofstream(h.WorkDir() / "Advance.ini") << "COM PORT= COM2\r\nBAUDRATE= quick\r\n";
  auto& form = h.Start();
  ASSERT_FALSE(h.dialogs.History().empty());
  EXPECT_EQ(h.dialogs.History().front().text, "'quick' is not a valid integer value");
  EXPECT_EQ(form.CPDrv().BaudRateValue(), 9600u);
  EXPECT_EQ(form.Model().SelectedPoint, 1);
  EXPECT_EQ(form.Model().RpmText, "1500");
}

// A bad file must not lock the program out of the port.
TEST(FormIni, ABaudRateNoLineRunsAtIsPassedOverWithoutAMessage) {
  FormHarness h;
  PtyPort com2;
  h.Link("com2", com2.Path());
  std::ofstream(h.WorkDir() / "Advance.ini") << "COM PORT= COM2\r\nBAUDRATE= 0\r\n";
  auto& form = h.Start();
  EXPECT_TRUE(h.dialogs.History().empty());
  EXPECT_EQ(form.CPDrv().BaudRateValue(), 9600u);
  EXPECT_TRUE(form.CPDrv().IsOpen());
}

TEST(FormClose, WritesThePortBaudAndDataBits) {
  FormHarness h;
  auto& form = h.Start();
  form.FormClose();
  std::ifstream in(h.WorkDir() / "Advance.INI", std::ios::binary);
  const std::string content(std::istreambuf_iterator<char>(in), {});
  // Neither port opened: the user's COM2 is kept, not the fallback the program tried.
  EXPECT_EQ(content, "COM PORT= COM2\r\nBAUDRATE= 9600\r\nDATABITS= 8bits\r\n");
}

// A start with the adapter unplugged must not turn the user's port into COM1 for every
// later start.
TEST(FormClose, KeepsThePortFromAdvanceIniWhenItCouldNotBeOpened) {
  FormHarness h;
  h.Link("com3", (h.WorkDir() / "absent-com3").string());
  std::ofstream(h.WorkDir() / "Advance.ini") << "COM PORT= COM3\r\nBAUDRATE= 19200\r\n";
  auto& form = h.Start();
  EXPECT_FALSE(form.CPDrv().IsOpen());
  form.FormClose();
  std::ifstream in(h.WorkDir() / "Advance.ini", std::ios::binary);
  const std::string content(std::istreambuf_iterator<char>(in), {});
  EXPECT_EQ(content.substr(0, 16), "COM PORT= COM3\r\n");
  EXPECT_NE(content.find("BAUDRATE= 19200"), std::string::npos);
}

TEST(FormKeys, SpaceOnAFocusedButtonIsShownAndDoesNotPressIt) {
  FormHarness h;
  PtyPort com2;
  h.Link("com2", com2.Path());
  auto& form = h.Start();
  com2.Received();
  h.clock.Advance(1000);  // past the lockout of the activation
  form["RDBut"].SetEnabled(true);
  form["RDBut"].SetFocus();
  ASSERT_TRUE(form["RDBut"].Focused());
  int space = 32;
  form.KeyDown(space);
  EXPECT_EQ(space, 0);
  EXPECT_EQ(form["Label32"].Caption(), "32");
  int press = 32;
  form.KeyPress(press);
  EXPECT_EQ(press, 0);
  EXPECT_EQ(com2.Received().find("RD"), std::string::npos);
  // A key on a button never reaches the window's own handler.
  int up = 38;
  form.KeyDown(up);
  EXPECT_EQ(form.Model().AdvCurves[1][0], 25);
  EXPECT_EQ(form["Label32"].Caption(), "38");
}

TEST(FormKeys, ArrowsReachTheEditorOnlyWhileTheWindowHasTheFocus) {
  FormHarness h;
  auto& form = h.Start();
  ASSERT_EQ(h.Form().Controls().Focus(), nullptr);
  int right = 39;
  form.KeyDown(right);
  EXPECT_EQ(form.Model().SelectedPoint, 2);
  int up = 38;
  form.KeyDown(up);
  EXPECT_EQ(form.Model().AdvCurves[1][1], 26);
  int left = 37;
  form.KeyDown(left);
  EXPECT_EQ(form.Model().SelectedPoint, 1);
  int down = 40;
  form.KeyDown(down);
  EXPECT_EQ(form.Model().AdvCurves[1][0], 24);
  int a = 'a';
  form.KeyPress(a);
  EXPECT_EQ(form["Label29"].Caption(), "97");
  EXPECT_EQ(a, 0);
}

TEST(FormHelp, ContentsAndTheMainWindowTopicOfTheProgramsHelpFile) {
  FormHarness h;
  auto& form = h.Start();
  const std::string help_file =
      (std::filesystem::path(h.ProgramPath()).replace_extension(".hlp")).string();
  std::filesystem::create_directories(std::filesystem::path(help_file).parent_path());
  std::ofstream(help_file) << "<html></html>";
  h.dialogs.ClearHistory();
  form["Button4"].Click();
  form["imgStatus"].Click();
  ASSERT_EQ(h.help.Calls().size(), 2u);
  EXPECT_EQ(h.help.Calls()[0].file, help_file);
  EXPECT_EQ(h.help.Calls()[0].topic, "");
  EXPECT_EQ(h.help.Calls()[1].topic, "Mainwindow");
  EXPECT_TRUE(h.dialogs.History().empty());
}

TEST(FormHelp, MissingHelpFileGivesAClearMessage) {
  FormHarness h;
  auto& form = h.Start();
  h.dialogs.ClearHistory();
  form["Button4"].Click();
  ASSERT_EQ(h.dialogs.History().size(), 1u);
  EXPECT_NE(h.dialogs.History()[0].text.find("Palunor6.hlp"), std::string::npos);
}

}  // namespace
