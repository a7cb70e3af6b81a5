// Guards Save and Open of map files as the user meets them: the dialogs, the file
// written, what a load shows afterwards, the messages of failures, and that a failed
// or cancelled command changes nothing.
#include "map/map_commands.h"

#include <gtest/gtest.h>

#include "map/map_file.h"
#include "map/map_window.h"
#include "map/marker.h"

namespace {

namespace fs = std::filesystem;
using model_test::FileText;
using model_test::MapWindow;
using model_test::WriteText;
using ui::Variant;

std::string Line(char prefix_digit, char point) {
  return std::string("SD") + prefix_digit + std::string(26, point) + "\r\n";
}

class MapCommandsTest : public ::testing::TestWithParam<Variant> {
 protected:
  bool Newer() const { return GetParam() == Variant::Palunor6; }
  const char* Program() const { return Newer() ? "Palunor6" : "Palunor"; }

  MapWindow window{GetParam()};
  map::CurveModel& model = window.model;
  ui::ControlSet& controls = window.controls;
};

INSTANTIATE_TEST_SUITE_P(BothPrograms, MapCommandsTest,
                         ::testing::Values(Variant::Palunor6, Variant::Palunor));

TEST_P(MapCommandsTest, SavingTheStartCurvesWritesTheSixtyTwoByteFile) {
  window.SaveAs("start.IJJ");
  EXPECT_EQ(FileText(window.dir / "start.IJJ"), Line('1', 'U') + Line('2', 'U'));
  EXPECT_TRUE(window.Messages().empty());
  EXPECT_EQ(fs::directory_iterator(window.dir)->path().filename(), "start.IJJ");
  EXPECT_EQ(std::distance(fs::directory_iterator(window.dir), fs::directory_iterator()), 1);
}

TEST_P(MapCommandsTest, TheDialogsStartInTheCurrentDirectoryWithTheirTitlesAndFilters) {
  window.SaveAs("a.IJJ");
  window.Open("a.IJJ");
  const auto& history = window.dialogs.History();
  ASSERT_EQ(history.size(), 2u);
  const ui::FileDialogRequest& save = history[0].request;
  const ui::FileDialogRequest& open = history[1].request;
  EXPECT_EQ(save.title, "Save Advance file");
  EXPECT_EQ(open.title, "Open Advance file");
#ifdef _WIN32
  EXPECT_EQ(save.filter, "Advance files   (*.IJJ)|*.IJJ|All Files     (*.*)|*.*");
  EXPECT_EQ(open.filter, "Advance Files   (*..IJJ)|*.IJJ|All Files      (*.*)|*.*");
#else
  EXPECT_EQ(save.filter, "Advance files   (*.IJJ)|*.IJJ;*.ijj|All Files     (*.*)|*.*");
  EXPECT_EQ(open.filter, "Advance Files   (*..IJJ)|*.IJJ;*.ijj|All Files      (*.*)|*.*");
#endif
  for (const ui::FileDialogRequest* request : {&save, &open}) {
    EXPECT_EQ(request->default_extension, "IJJ");
    EXPECT_EQ(request->initial_dir, window.dir.string());
    EXPECT_EQ(request->file_name, "");
  }
}

TEST_P(MapCommandsTest, EachDialogOffersTheNameChosenInItLastTime) {
  window.SaveAs("first.IJJ");
  window.Open("first.IJJ");
  window.dialogs.AnswerFile(std::nullopt);
  controls["SaveBut"].Click();
  window.dialogs.AnswerFile(std::nullopt);
  controls["OpenBut"].Click();
  const auto& history = window.dialogs.History();
  ASSERT_EQ(history.size(), 4u);
  EXPECT_EQ(history[2].request.file_name, (window.dir / "first.IJJ").string());
  EXPECT_EQ(history[3].request.file_name, "first.IJJ");
}

TEST_P(MapCommandsTest, SaveThenOpenRestoresBothCurvesAndShowsTheCurveShownBefore) {
  for (std::size_t i = 0; i < 26; ++i) {
    model.Working(1)[i] = static_cast<std::uint8_t>(10 + i);
    model.Working(2)[i] = static_cast<std::uint8_t>(50 - i);
  }
  const auto saved = model.AdvCurves;
  window.SaveAs("map.IJJ");

  model.Working(1).fill(0);
  model.Working(2).fill(0);
  controls["Button2"].Click();  // Advance 1 shown
  window.editor.SpeedButton4Click();
  window.editor.SpeedButton4Click();
  window.Open("map.IJJ");

  EXPECT_EQ(model.AdvCurves, saved);
  EXPECT_EQ(model.CurrentCurve, 1);
  EXPECT_EQ(controls["Button2"].Caption(), "Advance &2");
  EXPECT_EQ(model.SelectedPoint, 1);
  EXPECT_EQ(model.SelectedValue, 10);
  EXPECT_EQ(controls["Lb1"].Top(), map::MarkerTop(10));
  EXPECT_EQ(controls["Lb26"].Top(), map::MarkerTop(35));
  EXPECT_EQ(controls["Lb30"].Left(), map::SelectionLeft(1));
  EXPECT_EQ(model.RpmText, Newer() ? "1500" : "750");
  const auto curves = window.Ops("Image1", ui::DrawKind::Polyline);
  EXPECT_EQ(curves.back().pen.color, ui::kRed) << "the chart shows Advance 1";
  EXPECT_TRUE(window.Messages().empty());
}

// The controller's copy stays as it was, and the send mark tells at once that the
// curves on screen are no longer what the controller holds.
TEST_P(MapCommandsTest, OpeningLeavesTheControllersCopyAndShowsTheMarksAsTheyAre) {
  model.CurvesInSync = true;
  model.CurvesStored = false;
  controls["Label35"].SetVisible(true);
  WriteText(window.dir / "other.IJJ", Line('1', 'F') + Line('2', 'd'));
  const auto device = model.DeviceCurves;
  window.Open("other.IJJ");

  EXPECT_EQ(model.Working(1)[0], 10);
  EXPECT_EQ(model.Working(2)[25], 40);
  EXPECT_EQ(model.DeviceCurves, device);
  EXPECT_FALSE(model.CurvesInSync);
  EXPECT_FALSE(model.CurvesStored);
  EXPECT_TRUE(controls["Label34"].Visible());
  EXPECT_TRUE(controls["Label35"].Visible());

  // A map that holds what the controller holds shows no mark.
  WriteText(window.dir / "same.IJJ", map::MapFileText(model.DeviceCurves));
  window.Open("same.IJJ");
  EXPECT_TRUE(model.CurvesInSync);
  EXPECT_FALSE(controls["Label34"].Visible());
}

TEST_P(MapCommandsTest, OtherPrefixesAndOutOfRangeCharactersLoadAsTheyCome) {
  WriteText(window.dir / "odd.IJJ",
            "abc" + std::string(25, 'U') + "~\r\nxyz" + std::string(26, '!') + "\r\n");
  window.Open("odd.IJJ");
  EXPECT_EQ(model.Working(1)[0], 25);
  EXPECT_EQ(model.Working(1)[25], 66);
  EXPECT_EQ(model.Working(2)[0], 229);
  EXPECT_EQ(controls["Lb1"].Top(), map::MarkerTop(229));
  // Values no controller takes are loaded, and the user is told at once which.
  ASSERT_EQ(window.Messages().size(), 1u);
  EXPECT_NE(window.Messages()[0].find("Advance 1: point 26\r\n"), std::string::npos);
  EXPECT_NE(window.Messages()[0].find("Advance 2: points 1, 2, 3"), std::string::npos);
}

TEST_P(MapCommandsTest, ShortAndMissingLinesKeepThePointsTheyLack) {
  model.Working(1).fill(30);
  model.Working(2).fill(40);
  WriteText(window.dir / "short.IJJ", "SD1FFFF\r\n");
  window.Open("short.IJJ");
  EXPECT_EQ(model.Working(1)[0], 10);
  EXPECT_EQ(model.Working(1)[3], 10);
  EXPECT_EQ(model.Working(1)[4], 30);
  EXPECT_EQ(model.Working(2)[0], 40) << "the second line is missing, not line 1 again";
  EXPECT_EQ(model.Working(2)[25], 40);
}

TEST_P(MapCommandsTest, AMissingFileSaysFileNotFoundAndChangesNothing) {
  model.Working(2)[3] = 33;
  window.editor.SpeedButton4Click();
  const auto curves = model.AdvCurves;
  window.Open("nowhere.IJJ");

  ASSERT_EQ(window.Messages(), std::vector<std::string>{"File not found"});
  EXPECT_EQ(window.dialogs.History().back().title, Program());
  EXPECT_EQ(window.dialogs.History().back().icon, ui::DialogIcon::Error);
  EXPECT_EQ(model.AdvCurves, curves);
  EXPECT_EQ(model.SelectedPoint, 2);
  EXPECT_EQ(model.CurrentCurve, 2);
}

TEST_P(MapCommandsTest, AFolderThatIsNotThereMakesTheNameInvalid) {
  window.SaveAs((window.dir / "no folder" / "map.IJJ").string());
  window.Open((window.dir / "no folder" / "map.IJJ").string());
  EXPECT_EQ(window.Messages(), (std::vector<std::string>{"Invalid filename", "Invalid filename"}));
}

TEST_P(MapCommandsTest, OpeningAFolderIsRefused) {
  fs::create_directory(window.dir / "folder.IJJ");
  const auto curves = model.AdvCurves;
  window.Open("folder.IJJ");
  EXPECT_EQ(window.Messages(), std::vector<std::string>{"File access denied"});
  EXPECT_EQ(model.AdvCurves, curves);
}

TEST_P(MapCommandsTest, CancellingEitherDialogChangesNothing) {
  model.Working(1)[0] = 3;
  const map::CurveModel before = model;
  window.dialogs.AnswerFile(std::nullopt);
  controls["SaveBut"].Click();
  window.dialogs.AnswerFile(std::nullopt);
  controls["OpenBut"].Click();
  EXPECT_EQ(model.AdvCurves, before.AdvCurves);
  EXPECT_EQ(model.SelectedPoint, before.SelectedPoint);
  EXPECT_EQ(model.CurrentCurve, before.CurrentCurve);
  EXPECT_TRUE(fs::is_empty(window.dir));
  EXPECT_TRUE(window.Messages().empty());
}

TEST_P(MapCommandsTest, ANameWithoutExtensionIsAMapFileName) {
  model.Working(1).fill(44);
  window.SaveAs("plain");
  EXPECT_TRUE(fs::exists(window.dir / "plain.IJJ"));
  EXPECT_FALSE(fs::exists(window.dir / "plain"));
  model.Working(1).fill(0);
  window.Open("plain");
  EXPECT_EQ(model.Working(1)[0], 44);
  EXPECT_TRUE(window.Messages().empty());
}

TEST_P(MapCommandsTest, SavingOverAMapReplacesItAndLeavesNothingElseBehind) {
  WriteText(window.dir / "old.IJJ", "an older and much longer map file than the new one\r\n");
  model.Working(2).fill(50);
  window.SaveAs("old.IJJ");
  EXPECT_EQ(FileText(window.dir / "old.IJJ"), Line('1', 'U') + Line('2', 'n'));
  EXPECT_EQ(std::distance(fs::directory_iterator(window.dir), fs::directory_iterator()), 1);
}

// A file of megabytes is no map file: only its start is read, and a second line that
// begins past it counts as missing.
TEST_P(MapCommandsTest, AHugeFileIsReadOnlyAsFarAsAMapFileReaches) {
  model.Working(2).fill(12);
  WriteText(window.dir / "huge.IJJ",
            "SD1" + std::string(26, 'P') + std::string(4 << 20, 'x') + "\r\n" + Line('2', 'Q'));
  window.Open("huge.IJJ");
  EXPECT_EQ(model.Working(1)[25], 20);
  EXPECT_EQ(model.Working(2)[0], 12);
  EXPECT_TRUE(window.Messages().empty());
}

// Palunor shows curve 2 once more before it restores the curve shown before.
TEST_P(MapCommandsTest, LoadingShowsTheCurvesInTheProgramsOwnSteps) {
  WriteText(window.dir / "m.IJJ", Line('1', 'U') + Line('2', 'U'));
  const std::size_t charts = window.Canvas("Image1").Changes();
  window.Open("m.IJJ");
  EXPECT_EQ(window.Canvas("Image1").Changes(), charts + (Newer() ? 2u : 3u));
}

}  // namespace
