// Every command of palunorctl against the emulated controller, judged by what the
// controller holds and by the files on disk.
#include "cli/commands.h"

#include <gtest/gtest.h>

#include <array>
#include <variant>

#include "cli_bench.h"
#include "logbook/log_reader.h"

namespace {

using cli::ExitStatus;
using clitest::CliBench;
using clitest::MapBytes;
using clitest::Rising;
using files_test::Read;
using files_test::Write;

std::size_t Lines(const std::string& text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(Commands, ReadWritesTheControllersCurvesToEveryFormat) {
  CliBench bench;
  ASSERT_EQ(bench.Run({"read", "-o", bench.Scratch("unit.IJJ")}), ExitStatus::Done);
  EXPECT_EQ(Read(bench.Scratch("unit.IJJ")),
            MapBytes(bench.controller.Ram(1), bench.controller.Ram(2)));

  ASSERT_EQ(bench.Run({"read", "-o", bench.Scratch("unit.csv")}), ExitStatus::Done);
  const std::string csv = Read(bench.Scratch("unit.csv"));
  EXPECT_EQ(csv.substr(0, csv.find('\n') + 1), "Point,RPM,Advance 1,Advance 2\r\n");
  // Point 26 at 11000 RPM (firmware 6.0): Advance 1 +12 and Advance 2 +9 degrees.
  EXPECT_NE(csv.find("\r\n26,11000,12,9\r\n"), std::string::npos);
  EXPECT_EQ(Lines(csv), 27u);

  ASSERT_EQ(bench.Run({"read", "--json"}), ExitStatus::Done);
  EXPECT_NE(
      bench.out.str().find("{\"point\": 1, \"rpm\": 1500, \"advance_1\": 0, \"advance_2\": -3}"),
      std::string::npos);
  EXPECT_NE(bench.out.str().find("\"limits\": {\"advance\": 20, \"retard\": 18"),
            std::string::npos);

  ASSERT_EQ(bench.Run({"read"}), ExitStatus::Done);
  EXPECT_NE(bench.out.str().find("   26  11000        +12         +9\n"), std::string::npos);
  EXPECT_NE(bench.out.str().find("output 5 V, input positive, bypass 2.0 s, Vref 1.0 V"),
            std::string::npos);

  EXPECT_EQ(bench.Run({"info"}), ExitStatus::Done);
  EXPECT_EQ(bench.out.str(),
            "controller: QZR 6.0, two channels\nlimits: +20 to -18 degrees, point 1 to -15\n");

  // The CSV a read wrote sends the curves back after another map replaced them.
  const map::Curve read_one = bench.controller.Ram(1);
  const map::Curve read_two = bench.controller.Ram(2);
  Write(bench.Scratch("other.IJJ"), MapBytes(Rising(3), Rising(-3)));
  ASSERT_EQ(bench.Run({"send", bench.Scratch("other.IJJ")}), ExitStatus::Done);
  ASSERT_NE(bench.controller.Ram(1), read_one);
  EXPECT_EQ(bench.Run({"diff", bench.Scratch("unit.csv")}), ExitStatus::NotConfirmed);
  ASSERT_EQ(bench.Run({"send", bench.Scratch("unit.csv")}), ExitStatus::Done);
  EXPECT_EQ(bench.controller.Ram(1), read_one);
  EXPECT_EQ(bench.controller.Ram(2), read_two);
  Write(bench.Scratch("short.csv"), "Point,RPM,Advance 1,Advance 2\r\n1,1500,0,0\r\n");
  EXPECT_EQ(bench.Run({"send", bench.Scratch("short.csv")}), ExitStatus::FileError);
}

TEST(Commands, SendIsDoneWhenTheControllersCopyEqualsTheFileAndRecordStoresIt) {
  CliBench bench;
  const map::Curve one = Rising(5);
  const map::Curve two = Rising(-8);
  Write(bench.Scratch("day.IJJ"), MapBytes(one, two));

  EXPECT_EQ(bench.Run({"send", bench.Scratch("day.IJJ"), "--dry-run"}), ExitStatus::Done);
  EXPECT_NE(bench.out.str().find("Advance 1, point 1 (1500 RPM): file +5, controller 0"),
            std::string::npos);
  EXPECT_EQ(bench.controller.Ram(1), Rising(0));

  EXPECT_EQ(bench.Run({"diff", bench.Scratch("day.IJJ")}), ExitStatus::NotConfirmed);
  EXPECT_EQ(Lines(bench.out.str()), 52u);

  EXPECT_EQ(bench.Run({"send", bench.Scratch("day.IJJ"), "--curve", "1"}), ExitStatus::Done);
  EXPECT_EQ(bench.controller.Ram(1), one);
  EXPECT_EQ(bench.controller.Ram(2), Rising(-3));
  EXPECT_EQ(bench.controller.Eeprom(1), Rising(0));

  EXPECT_EQ(bench.Run({"send", bench.Scratch("day.IJJ"), "--record"}), ExitStatus::Done);
  EXPECT_EQ(bench.controller.Ram(2), two);
  EXPECT_EQ(bench.controller.Eeprom(1), one);
  EXPECT_EQ(bench.controller.Eeprom(2), two);
  EXPECT_EQ(bench.Run({"diff", bench.Scratch("day.IJJ")}), ExitStatus::Done);

  bench.controller.Ram(2) = Rising(1);
  EXPECT_EQ(bench.Run({"record", "--curve", "2"}), ExitStatus::Done);
  EXPECT_EQ(bench.controller.Eeprom(2), Rising(1));
  EXPECT_EQ(bench.controller.Eeprom(1), one);
}

TEST(Commands, PointsBeyondTheControllersLimitsAreRefusedBeforeAnythingIsWritten) {
  CliBench bench;
  bench.controller.SetLimits(15, 10);
  map::Curve wild = Rising(0);
  wild[2] = 25 + 17;  // point 3 at +17 degrees
  wild[0] = 25 - 12;  // point 1 at -12: point 1 may go to -10 only
  Write(bench.Scratch("wild.IJJ"), MapBytes(Rising(0), wild));
  const std::uint64_t before = bench.controller.CommandsCarriedOut();
  EXPECT_EQ(bench.Run({"send", bench.Scratch("wild.IJJ"), "--record"}), ExitStatus::NotConfirmed);
  EXPECT_NE(bench.err.str().find("Advance 2"), std::string::npos);
  EXPECT_NE(bench.err.str().find("point 1 and 3"), std::string::npos);
  // Only the version request went out.
  EXPECT_EQ(bench.controller.CommandsCarriedOut(), before + 1);
  EXPECT_EQ(bench.controller.Ram(2), Rising(-3));
  // Advance 1 alone is within the limits.
  EXPECT_EQ(bench.Run({"send", bench.Scratch("wild.IJJ"), "--curve", "1"}), ExitStatus::Done);
}

TEST(Commands, FilesThatCannotBeReadOrWrittenEndWithTheFileStatus) {
  CliBench bench;
  EXPECT_EQ(bench.Run({"send", bench.Scratch("none.IJJ")}), ExitStatus::FileError);
  EXPECT_NE(bench.err.str().find("File not found"), std::string::npos);
  Write(bench.Scratch("short.IJJ"), "SD1UUUU\r\nSD2UUUU\r\n");
  EXPECT_EQ(bench.Run({"diff", bench.Scratch("short.IJJ")}), ExitStatus::FileError);
  EXPECT_EQ(bench.controller.CommandsCarriedOut(), 0u);
  EXPECT_EQ(bench.Run({"read", "-o", bench.Scratch("no/such/folder/a.IJJ")}),
            ExitStatus::FileError);
  EXPECT_EQ(bench.Run({"read", "-o", bench.Scratch("a.txt")}), ExitStatus::Usage);
}

TEST(Commands, SettingsAreDoneOnlyWhenTheControllerConfirmsThem) {
  CliBench bench;
  const sim::Options& options = bench.controller.GetOptions();
  EXPECT_EQ(bench.Run({"set", "output", "12"}), ExitStatus::Done);
  EXPECT_FALSE(options.output_5v);
  EXPECT_EQ(bench.Run({"set", "polarity", "negative"}), ExitStatus::Done);
  EXPECT_FALSE(options.input_positive);
  EXPECT_EQ(bench.Run({"set", "bypass", "1.5"}), ExitStatus::Done);
  EXPECT_EQ(options.bypass_step, 3);
  EXPECT_EQ(bench.Run({"set", "bypass", "off"}), ExitStatus::Done);
  EXPECT_FALSE(options.bypass_on);
  EXPECT_EQ(bench.Run({"set", "vref", "2.33"}), ExitStatus::Done);
  EXPECT_EQ(options.vref_step, 7);
  EXPECT_EQ(bench.out.str(), "Vref 2.33 V: confirmed by the controller\n");

  // A controller that hears but does not answer confirms nothing.
  bench.FaultAfter(1, {sim::FaultMode::NoReply});
  EXPECT_EQ(bench.Run({"set", "output", "5"}), ExitStatus::NotConfirmed);
  EXPECT_NE(bench.err.str().find("did not confirm output 5 V"), std::string::npos);
}

TEST(Commands, LogWritesEveryFrameUntilTheTimeOrCtrlCAndSwitchesLiveDataOff) {
  CliBench bench;
  ASSERT_EQ(bench.Run({"log", "--seconds", "3", "-o", bench.Scratch("run.csv")}), ExitStatus::Done);
  EXPECT_FALSE(bench.controller.LiveStreaming());
  const std::string csv = Read(bench.Scratch("run.csv"));
  // The window's "Open log..." reads it: every row, the controller and both curves.
  const auto log = logbook::ParseLog(csv);
  ASSERT_TRUE(std::holds_alternative<logbook::Log>(log)) << std::get<std::string>(log);
  EXPECT_EQ(std::get<logbook::Log>(log).bad_rows, 0u);
  std::array<int, logbook::kAxisPoints> held{};
  for (std::size_t i = 0; i < held.size(); ++i) held[i] = bench.controller.Ram(2)[i] - 25;
  EXPECT_EQ(std::get<logbook::Log>(log).curves[1], held);
  // A frame every 100 ms for three seconds, less the first one's way.
  EXPECT_GE(std::get<logbook::Log>(log).samples.size(), 28u);
  EXPECT_LE(std::get<logbook::Log>(log).samples.size(), 30u);

  bench.interrupt_at_ms = bench.clock.Now() + 1500;
  ASSERT_EQ(bench.Run({"log"}), ExitStatus::Done);
  EXPECT_FALSE(bench.controller.LiveStreaming());
  EXPECT_GE(Lines(bench.out.str()), 6u + 10u);
}

}  // namespace
