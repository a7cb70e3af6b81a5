// The command line: what each command and option becomes, and the lines refused with
// the usage status before anything is opened.
#include "cli/arguments.h"

#include <gtest/gtest.h>

#include "cli_bench.h"

namespace {

cli::Arguments Parsed(const std::vector<std::string>& args) {
  std::string error;
  const auto parsed = cli::ParseArguments(args, error);
  EXPECT_TRUE(parsed.has_value()) << error;
  return parsed.value_or(cli::Arguments{});
}

TEST(Arguments, CommandsAndOptionsInAnyOrder) {
  const cli::Arguments send =
      Parsed({"--port", "COM3", "send", "day.IJJ", "--curve=2", "--record", "--baud", "19200",
              "--model", "palunor", "--timeout", "0.5", "--verbose"});
  EXPECT_EQ(send.command, cli::Command::Send);
  EXPECT_EQ(send.port, "\\\\.\\COM3");
  EXPECT_EQ(send.file, "day.IJJ");
  EXPECT_EQ(send.curves, cli::CurveChoice::Second);
  EXPECT_TRUE(send.record);
  EXPECT_EQ(send.baud, 19200u);
  EXPECT_EQ(send.variant, ui::Variant::Palunor);
  EXPECT_EQ(send.timeout_ms, 500u);
  EXPECT_TRUE(send.verbose);

  const cli::Arguments read = Parsed({"read", "-o", "x.csv"});
  EXPECT_EQ(read.port, "\\\\.\\COM2");
  EXPECT_EQ(read.file, "x.csv");
  EXPECT_EQ(Parsed({"log", "--seconds", "30"}).seconds, 30u);
  EXPECT_EQ(Parsed({"read", "--port", "/dev/ttyUSB0"}).port, "/dev/ttyUSB0");
  EXPECT_EQ(Parsed({"info", "--port", "\\\\.\\COM12"}).port, "\\\\.\\COM12");
  EXPECT_EQ(Parsed({"read", "--help"}).command, cli::Command::Help);
}

TEST(Arguments, HelpAndVersionTouchNothing) {
  clitest::CliBench bench;
  EXPECT_EQ(bench.Run({"--version"}), cli::ExitStatus::Done);
  EXPECT_EQ(bench.out.str(), "palunorctl 1.0\n");
  EXPECT_EQ(bench.Run({"send", "--help"}), cli::ExitStatus::Done);
  EXPECT_EQ(bench.out.str(), cli::kUsage);
  EXPECT_EQ(bench.controller.CommandsCarriedOut(), 0u);
}

TEST(Arguments, SettingsBecomeTheControllersSteps) {
  EXPECT_EQ(Parsed({"set", "output", "12"}).value, 12);
  EXPECT_EQ(Parsed({"set", "polarity", "negative"}).value, 0);
  EXPECT_EQ(Parsed({"set", "bypass", "1.5"}).value, 3);
  EXPECT_EQ(Parsed({"set", "bypass", "off"}).value, 0);
  EXPECT_EQ(Parsed({"set", "vref", "1.33"}).value, 4);
  EXPECT_EQ(Parsed({"set", "vref", "5"}).value, 15);
}

TEST(Arguments, WrongLinesAreUsageErrorsThatTouchNothing) {
  const std::vector<std::vector<std::string>> wrong = {
      {},
      {"fetch"},
      {"send"},
      {"send", "a.IJJ", "b.IJJ"},
      {"read", "--curve", "1"},
      {"read", "--json", "-o", "a.csv"},
      {"send", "a.IJJ", "--dry-run", "--record"},
      {"send", "a.IJJ", "--curve", "3"},
      {"info", "--baud", "fast"},
      {"info", "--timeout", "-1"},
      {"info", "--model", "plx"},
      {"info", "--port"},
      {"log", "--seconds", "0"},
      {"set", "output", "9"},
      {"set", "bypass", "0.7"},
      {"set", "bypass", "2.5"},
      {"set", "vref", "1.2"},
      {"set", "vref", "0.33"},
      {"set", "colour", "red"},
      {"info", "--unknown"},
  };
  for (const auto& args : wrong) {
    clitest::CliBench bench;
    EXPECT_EQ(bench.Run(args), cli::ExitStatus::Usage) << ::testing::PrintToString(args);
    EXPECT_NE(bench.err.str().find("usage: palunorctl"), std::string::npos);
    EXPECT_EQ(bench.controller.CommandsCarriedOut(), 0u);
  }
}

}  // namespace
