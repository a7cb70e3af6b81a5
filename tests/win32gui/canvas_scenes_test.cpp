// Guards the GDI canvas under the programs' own drawing: the gauges and the chart of
// both programs after a Read and with live data running come out as the design draws
// them. With PALUNOR_CANVAS_DIR set, the rasterisations are written there as PPM files
// for the Qt front end's agreement test to compare with its own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "canvas_scenes/canvas_scenes.h"
#include "win32gui/gdi_canvas.h"

namespace {

using canvas_scenes::kScenes;
using canvas_scenes::Pixels;
using canvas_scenes::SceneSetup;

constexpr std::uint32_t kButtonFace = 0xF0F0F0;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kAqua = 0x00FFFF;
constexpr std::uint32_t kSilver = 0xC0C0C0;

Pixels Capture(const ui::Canvas& canvas) {
  const auto& gdi = dynamic_cast<const win32gui::GdiCanvas&>(canvas);
  return canvas_scenes::Capture(canvas, [&gdi](int x, int y) { return gdi.Pixel(x, y); });
}

long Count(const Pixels& pixels, std::uint32_t rgb) {
  long count = 0;
  for (const std::uint32_t p : pixels.rgb) count += p == rgb;
  return count;
}

class GdiScenes : public ::testing::TestWithParam<SceneSetup> {
 protected:
  win32gui::GdiCanvasFactory factory;
  canvas_scenes::Scene scene{GetParam(), factory};
};

TEST_P(GdiScenes, GaugesAreBlueRimmedBlackDialsOnTheButtonFace) {
  for (const char* name : {"Image2", "Image3"}) {
    const Pixels gauge = Capture(scene.Image(name));
    const int middle = gauge.height / 2;
    EXPECT_EQ(gauge.At(0, 0), kButtonFace) << name;
    EXPECT_EQ(gauge.At(gauge.width - 1, gauge.height - 1), kButtonFace) << name;
    EXPECT_EQ(gauge.At(0, middle), kBlue) << name;  // the rim touches the image's edges
    EXPECT_EQ(gauge.At(gauge.width / 2, 0), kBlue) << name;
    EXPECT_EQ(gauge.At(6, middle), kBlack) << name;
    EXPECT_GT(Count(gauge, kBlack), gauge.width * gauge.height / 3) << name;
  }
}

TEST_P(GdiScenes, RpmGaugeHasItsRedNeedleAndTheAdvanceGaugeItsSector) {
  const Pixels rpm = Capture(scene.Image("Image3"));
  // A needle of lines 80 pixels long and more, over the hub.
  EXPECT_GT(Count(rpm, kRed), 150);
  const Pixels advance = Capture(scene.Image("Image2"));
  const long sector = Count(advance, kRed) + Count(advance, kAqua);
  if (GetParam().live) {
    EXPECT_GT(sector, 300) << "the sector of the advance now applied";
  } else {
    EXPECT_GT(sector, 20) << "the 0 mark";
  }
}

TEST_P(GdiScenes, ChartHasItsDottedGridAndTheThickTraceOfTheShownCurve) {
  const Pixels chart = Capture(scene.Image("Image1"));
  EXPECT_EQ(chart.At(0, 0), kBlack);
  // Grid row at y = 18 from x = 5: three dots on, three off.
  EXPECT_EQ(chart.At(5, 18), kSilver);
  EXPECT_EQ(chart.At(7, 18), kSilver);
  EXPECT_EQ(chart.At(8, 18), kBlack);
  EXPECT_EQ(chart.At(11, 18), kSilver);
  const long trace = Count(chart, kRed) + Count(chart, kAqua);
  EXPECT_GT(trace, 3 * 600) << "three pixels thick across the chart";
}

TEST_P(GdiScenes, RasterisationsAreWrittenForTheAgreementTest) {
  const char* folder = std::getenv("PALUNOR_CANVAS_DIR");
  if (folder == nullptr || *folder == '\0') GTEST_SKIP() << "PALUNOR_CANVAS_DIR not set";
  std::filesystem::create_directories(folder);
  for (const char* image : canvas_scenes::kImages) {
    const auto path = canvas_scenes::ImagePath(folder, GetParam(), image);
    ASSERT_TRUE(canvas_scenes::WritePpm(path, Capture(scene.Image(image)))) << path;
    const auto back = canvas_scenes::ReadPpm(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(canvas_scenes::Differing(*back, Capture(scene.Image(image))), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(BothProgramsReadAndLive, GdiScenes, ::testing::ValuesIn(kScenes),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& c : name) c = c == '-' ? '_' : c;
                           return name;
                         });

}  // namespace
