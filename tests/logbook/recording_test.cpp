// Guards the live-data recording as a tuner uses it against the emulated controller:
// one whole row per frame the controller sent (refused readings and the 6.x scaling
// included), the header, the file kept up to date every second, and the ends a
// recording can meet (stop, a silent controller, closing); the wire never changes.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include "logbook/log_row.h"
#include "logbook/recording_bench.h"
#include "map/curve_model.h"
#include "sim/fault.h"

namespace {

using logbook_test::ExpectedRows;
using logbook_test::RecordingBench;
using logbook_test::Rows;

struct Run {
  ui::Variant variant;
  int firmware;
};

class EveryScaling : public ::testing::TestWithParam<Run> {};

TEST_P(EveryScaling, EachFrameTheControllerSentIsOneRowAndTheWireIsAsWithout) {
  std::string written_without;
  std::size_t read_without = 0;
  {
    RecordingBench bench(GetParam().variant, GetParam().firmware);
    bench.device.SetFault({sim::FaultMode::InvalidLiveReadings});
    bench.StartLiveData();
    bench.clock.Advance(3000);
    written_without = bench.tapped.written;
    read_without = bench.tapped.read.size();
  }
  RecordingBench bench(GetParam().variant, GetParam().firmware);
  bench.device.SetFault({sim::FaultMode::InvalidLiveReadings});
  bench.StartLiveData();
  const std::size_t first = bench.tapped.read.size();
  const std::uint32_t start = bench.StartRecording("run.csv");
  bench.clock.Advance(3000);
  bench.Menu("&Stop recording");
  const std::string file = bench.File("run.csv");
  const std::string expected = ExpectedRows(bench, first, start);
  EXPECT_EQ(Rows(file), expected);
  EXPECT_GE(expected.size(), 25 * 16u) << "about thirty frames in three seconds";
  EXPECT_NE(expected.find(",0,2\r\n"), std::string::npos) << "refused frames are recorded too";
  EXPECT_NE(expected.find(",1,2\r\n"), std::string::npos);
  EXPECT_EQ(bench.tapped.written, written_without);
  EXPECT_EQ(bench.tapped.read.size(), read_without);
  // Stopped: later frames are not recorded.
  bench.clock.Advance(2000);
  EXPECT_EQ(bench.File("run.csv"), file);
}

INSTANTIATE_TEST_SUITE_P(Recording, EveryScaling,
                         ::testing::Values(Run{ui::Variant::Palunor6, 60},
                                           Run{ui::Variant::Palunor6, 52},
                                           Run{ui::Variant::Palunor, 60}));

TEST(Recording, TheHeaderNamesTheControllerAxisAndCurvesAsTheyStarted) {
  RecordingBench bench(ui::Variant::Palunor6, 61);
  bench.controller.SetLimits(20, 15);
  for (int c = 1; c <= 2; ++c) {
    for (std::size_t i = 0; i < 26; ++i)
      bench.controller.Ram(c)[i] = static_cast<std::uint8_t>(c * 10 + i);
  }
  bench.form["RDBut"].Click();
  bench.clock.Advance(3000);
  bench.StartRecording("head.csv");
  const std::string file = bench.File("head.csv");
  std::istringstream lines(file);
  std::string line;
  std::vector<std::string> header;
  while (std::getline(lines, line)) header.push_back(line);
  ASSERT_EQ(header.size(), 6u) << file;
  EXPECT_EQ(header[0], std::string(logbook::kLogTitle) + "\r");
  EXPECT_EQ(header[1], "# controller: QZR, firmware 6.1, max advance 20, max retard 15\r");
  // 26 speeds, the 6.x axis running to 11000 RPM.
  EXPECT_EQ(header[2].substr(0, 12), "# rpm axis: ");
  EXPECT_EQ(std::count(header[2].begin(), header[2].end(), ','), 25);
  EXPECT_EQ(header[2].substr(header[2].size() - 7), ",11000\r");
  for (int c = 1; c <= 2; ++c) {
    std::string degrees;
    for (std::size_t i = 0; i < 26; ++i) {
      degrees += (i ? "," : "") + std::to_string(bench.controller.Ram(c)[i] - 25);
    }
    EXPECT_EQ(header[2 + c], "# curve " + std::to_string(c) + " (degrees): " + degrees + "\r");
  }
  EXPECT_EQ(header[5], std::string(logbook::kLogColumns) + "\r");
}

TEST(Recording, RowsReachTheFileEverySecondWhole) {
  RecordingBench bench(ui::Variant::Palunor6, 60);
  bench.StartLiveData();
  const std::size_t first = bench.tapped.read.size();
  const std::uint32_t start = bench.StartRecording("live.csv");
  for (int second = 1; second <= 3; ++second) {
    bench.clock.Advance(1000);
    const std::string rows = Rows(bench.File("live.csv"));
    const std::string expected = ExpectedRows(bench, first, start);
    EXPECT_EQ(rows, expected.substr(0, rows.size())) << second;
    EXPECT_GE(rows.size() + 40, expected.size()) << "at most a frame waits, at " << second << " s";
  }
}

TEST(Recording, ASilentControllerEndsTheRecordingWithEveryFrameInIt) {
  RecordingBench bench(ui::Variant::Palunor6, 60);
  bench.StartLiveData();
  const std::size_t first = bench.tapped.read.size();
  const std::uint32_t start = bench.StartRecording("lost.csv");
  bench.clock.Advance(1500);
  bench.device.SetFault({sim::FaultMode::Unplug});
  bench.dialogs.ClearHistory();
  bench.clock.Advance(5000);
  EXPECT_EQ(Rows(bench.File("lost.csv")), ExpectedRows(bench, first, start));
  ASSERT_FALSE(bench.dialogs.History().empty());
  EXPECT_EQ(bench.dialogs.History().back().icon, ui::DialogIcon::Warning);
  EXPECT_NE(bench.dialogs.History().back().text.find("lost.csv"), std::string::npos);
  // Ended: the menu offers a new recording, and the controller's return adds nothing.
  EXPECT_TRUE(bench.Offers("Re&cord live data..."));
  EXPECT_FALSE(bench.Offers("&Stop recording"));
  const std::string file = bench.File("lost.csv");
  bench.device.SetFault({sim::FaultMode::Replug});
  bench.clock.Advance(3000);
  EXPECT_EQ(bench.File("lost.csv"), file);
}

TEST(Recording, ClosingTheProgramKeepsEveryFrameReceived) {
  RecordingBench bench(ui::Variant::Palunor, 60);
  bench.StartLiveData();
  const std::size_t first = bench.tapped.read.size();
  const std::uint32_t start = bench.StartRecording("close.csv");
  bench.clock.Advance(1450);
  bench.form.FormClose();
  EXPECT_EQ(Rows(bench.File("close.csv")), ExpectedRows(bench, first, start));
}

}  // namespace
