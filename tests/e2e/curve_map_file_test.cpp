// Guards the curve a user shapes with the mouse on its way to the controller and
// through a map file: a dragged marker is what is sent, and a saved map opened again
// after further edits is what the controller holds after the next send.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tests/e2e/e2e_harness.h"

namespace {

using e2e::E2e;

class CurveAndMapFile : public ::testing::TestWithParam<ui::Variant> {};

INSTANTIATE_TEST_SUITE_P(EndToEnd, CurveAndMapFile,
                         ::testing::Values(ui::Variant::Palunor6, ui::Variant::Palunor),
                         [](const auto& info) {
                           return info.param == ui::Variant::Palunor6 ? "Palunor6" : "Palunor";
                         });

// Ten pixels of mouse travel are five degrees; towards the middle of the chart, so
// that no limit stops the marker.
int TravelFor(int value) {
  return value > 25 ? 10 : -10;
}
int DraggedValue(int value) {
  return value > 25 ? value - 5 : value + 5;
}

std::string FileText(const e2e::fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST_P(CurveAndMapFile, SendsADraggedPointAndTheSavedMapAgainAfterItIsOpened) {
  E2e e2e(GetParam());
  ASSERT_TRUE(e2e.EmulatorStarted());
  ASSERT_TRUE(e2e.WaitUntilFound()) << e2e.Caption();
  e2e.Click("RDBut");
  ASSERT_TRUE(e2e.WaitForStatus("Lines Received!")) << e2e.Text("lblstat");
  const std::vector<int> read1 = e2e.State().Curve("ram1");
  const std::vector<int> read2 = e2e.State().Curve("ram2");

  // Advance 2 is shown after the read; the switch shows Advance 1 and names Advance 2.
  e2e.Click("Button2");
  EXPECT_EQ(e2e.Text("Button2"), "Advance &2");
  ASSERT_EQ(e2e.Model().CurrentCurve, 1);
  ASSERT_EQ(e2e.ShownCurve(), read1);

  std::vector<int> dragged = read1;
  dragged[4] = DraggedValue(read1[4]);
  e2e.Drag("Lb5", TravelFor(read1[4]));
  EXPECT_FALSE(e2e.Model().Dragging);
  EXPECT_EQ(e2e.Model().SelectedPoint, 5);
  ASSERT_EQ(e2e.ShownCurve(), dragged);
  EXPECT_EQ(E2e::Values(e2e.Model().AdvCurves[0]), dragged);
  EXPECT_EQ(e2e.Text("Label28"), std::to_string(dragged[4] - 25));
  EXPECT_TRUE(e2e.Shown("Label34"));

  e2e.Click("SDBut");
  ASSERT_TRUE(e2e.WaitForStatus("LINE 1 SENT")) << e2e.Text("lblstat");
  EXPECT_EQ(e2e.State().Curve("ram1"), e2e.ShownCurve());
  EXPECT_EQ(e2e.State().Curve("ram2"), read2);

  const e2e::fs::path map = e2e.WorkDir() / "dragged.IJJ";
  e2e.AnswerNextFileDialog(map);
  e2e.Click("SaveBut");
  EXPECT_EQ(e2e.LastDialogTitle(), "Save Advance file");
  const std::string saved = FileText(map);
  ASSERT_EQ(saved.size(), 62u);
  EXPECT_EQ(saved.substr(0, 3), "SD1");
  EXPECT_EQ(saved.substr(29, 5), "\r\nSD2");

  // Another point moved and sent: the controller no longer holds the saved map.
  std::vector<int> changed = dragged;
  changed[9] = DraggedValue(dragged[9]);
  e2e.Drag("Lb10", TravelFor(dragged[9]));
  ASSERT_EQ(e2e.ShownCurve(), changed);
  e2e.Click("SDBut");
  ASSERT_TRUE(e2e.WaitForState([&](const e2e::EmulatorState& s) {
    return s.Curve("ram1") == changed;
  })) << e2e.Text("lblstat");

  e2e.AnswerNextFileDialog(map);
  e2e.Click("OpenBut");
  EXPECT_EQ(e2e.LastDialogTitle(), "Open Advance file");
  EXPECT_EQ(e2e.ShownCurve(), dragged);
  EXPECT_EQ(E2e::Values(e2e.Model().AdvCurves[0]), dragged);
  EXPECT_EQ(E2e::Values(e2e.Model().AdvCurves[1]), read2);
  EXPECT_EQ(e2e.Model().CurrentCurve, 1);
  EXPECT_EQ(e2e.Model().SelectedPoint, 1);
  EXPECT_EQ(e2e.Text("Button2"), "Advance &2");

  e2e.Click("SDBut");
  ASSERT_TRUE(e2e.WaitForState([&](const e2e::EmulatorState& s) {
    return s.Curve("ram1") == dragged;
  })) << e2e.Text("lblstat");
  EXPECT_EQ(e2e.State().Curve("ram2"), read2);
}

}  // namespace
