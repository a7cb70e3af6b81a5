// Guards the editor's limits as a controller sets them: the whole window receives a
// version reply, and dragging then stops where that controller's limits lie.
#include <gtest/gtest.h>

#include <memory>

#include "map/map_window.h"
#include "protocol/catalogue.h"
#include "shell/form.h"
#include "shell/platform.h"
#include "testing/memory_port.h"
#include "testing/recording_help_viewer.h"
#include "testing/virtual_clock.h"

namespace {

class ControllerLimits : public ::testing::TestWithParam<ui::Variant> {
 protected:
  ControllerLimits() {
    form.FormCreate();
    form.Activated();
  }
  ~ControllerLimits() override {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }

  // The controller answers the version request; the next poll delivers the reply.
  void ControllerAnswers(std::uint8_t max_advance, std::uint8_t max_retard) {
    device->Feed(protocol::VersionReply{"QZR", 52, max_advance, max_retard, 'S'}.Encode());
    clock.Advance(100);
    ASSERT_TRUE(form.Link().DeviceFound);
  }
  void Drag(int p, int dy) {
    ui::Control& marker = form["Lb" + std::to_string(p)];
    marker.MouseDown(ui::MouseButton::Left, 8, 6);
    marker.MouseMove(8, 6 + dy);
    marker.MouseUp(ui::MouseButton::Left, 8, 6 + dy);
  }

  std::filesystem::path dir = model_test::ScratchFolder();
  ui::VirtualClock clock;
  ui::ScriptedDialogs dialogs;
  ui::RecordingHelpViewer help;
  model_test::RecordingCanvases canvases;
  std::shared_ptr<serial::MemoryDevice> device = std::make_shared<serial::MemoryDevice>();
  shell::Platform platform{
      clock,
      dialogs,
      help,
      canvases,
      [device = device] { return std::make_unique<serial::MemoryPort>(device); },
      (dir / "Palunor").string(),
      dir.string()};
  shell::TForm1 form{GetParam(), platform};
};

INSTANTIATE_TEST_SUITE_P(BothPrograms, ControllerLimits,
                         ::testing::Values(ui::Variant::Palunor6, ui::Variant::Palunor));

TEST_P(ControllerLimits, ARetardLimitOfTwentyHoldsPointsAtFiveAndPointOneAtTen) {
  ControllerAnswers(25, 20);
  Drag(2, 1000);
  EXPECT_EQ(form["Lb2"].Top(), 101);
  EXPECT_EQ(form.Model().Working(2)[1], 5);
  Drag(1, 1000);
  EXPECT_EQ(form["Lb1"].Top(), 91);
  EXPECT_EQ(form.Model().Working(2)[0], 10);
}

TEST_P(ControllerLimits, AnAdvanceLimitOfTenHoldsEveryPointAtPlusTen) {
  ControllerAnswers(10, 25);
  Drag(20, -1000);
  EXPECT_EQ(form["Lb20"].Top(), 40);
  EXPECT_EQ(form.Model().Working(2)[19], 35);
}

}  // namespace
