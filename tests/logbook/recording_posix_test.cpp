// Guards a recording on a disk that fills: the file keeps whole rows only, the user
// is told, and live data goes on as before. The file-size limit is the process's own.
#include <gtest/gtest.h>

#include <string>

#include "files/file_size_limit.h"
#include "logbook/recording_bench.h"

namespace {

using files_test::FileSizeLimit;
using logbook_test::ExpectedRows;
using logbook_test::RecordingBench;
using logbook_test::Rows;

TEST(RecordingOnAFullDisk, EndsWithWholeRowsAndAMessageWhileLiveDataGoesOn) {
  RecordingBench bench(ui::Variant::Palunor6, 60);
  bench.StartLiveData();
  const std::size_t first = bench.tapped.read.size();
  const std::string written_before = bench.tapped.written;
  // Room for the header and about a second and a half of rows.
  FileSizeLimit limit(1000);
  const std::uint32_t start = bench.StartRecording("full.csv");
  bench.dialogs.ClearHistory();
  bench.clock.Advance(4000);

  ASSERT_EQ(bench.dialogs.History().size(), 1u);
  EXPECT_EQ(bench.dialogs.History()[0].icon, ui::DialogIcon::Error);
  EXPECT_NE(bench.dialogs.History()[0].text.find("full.csv"), std::string::npos);
  const std::string rows = Rows(bench.File("full.csv"));
  EXPECT_FALSE(rows.empty());
  EXPECT_EQ(rows, ExpectedRows(bench, first, start).substr(0, rows.size()));
  EXPECT_EQ(rows.substr(rows.size() - 2), "\r\n");
  EXPECT_LE(bench.File("full.csv").size(), 1000u);

  // Live data goes on: frames still move the read-out, nothing more went out.
  const std::string shown = bench.form["Label30"].Caption();
  bench.clock.Advance(1000);
  EXPECT_NE(bench.form["Label30"].Caption(), shown);
  EXPECT_EQ(bench.form["Button3"].Caption(), "Stop Data");
  EXPECT_EQ(bench.tapped.written, written_before);
  EXPECT_TRUE(bench.Offers("Re&cord live data..."));
}

}  // namespace
