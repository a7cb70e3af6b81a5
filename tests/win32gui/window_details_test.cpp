// Guards what the Win32 window does without being shown: the control IDs other
// programs find the controls by, the accelerators of the captions, and how the
// owner-painted labels look (transparent over the chart, opaque frames, greyed when
// disabled).
#include <gtest/gtest.h>
#include <windows.h>
// ui::Dialogs::MessageBox is a member of the core's interface, not the ANSI/wide macro.
#undef MessageBox

#include <cstdint>
#include <memory>
#include <vector>

#include "shell/form.h"
#include "tests/win32gui/window_harness.h"
#include "win32gui/control_ids.h"
#include "win32gui/control_painting.h"
#include "win32gui/fonts.h"
#include "win32gui/gdi_canvas.h"
#include "win32gui/keys.h"

namespace {

using win32gui_test::HeadlessForm;

// A control painted as its window paints it, at 96 DPI, read back pixel by pixel.
class Painted {
 public:
  Painted(shell::TForm1& form, const std::string& name) : m_width(form[name].Width()) {
    const ui::Control& control = form[name];
    std::vector<const ui::Control*> siblings;
    for (const ui::Control* c : form.Controls().All()) {
      if (c->Parent() == control.Parent()) siblings.push_back(c);
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = control.Width();
    info.bmiHeader.biHeight = -control.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    m_dc = CreateCompatibleDC(nullptr);
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<const std::uint32_t*>(bits);
    m_old = SelectObject(m_dc, m_bitmap);
    win32gui::PaintOwnerDrawn(m_dc, {m_fonts, 96}, control, siblings);
    GdiFlush();
    m_count = static_cast<std::size_t>(control.Width() * control.Height());
  }
  ~Painted() {
    SelectObject(m_dc, m_old);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
  }
  Painted(const Painted&) = delete;
  Painted& operator=(const Painted&) = delete;

  std::uint32_t Pixel(int x, int y) const { return m_bits[y * m_width + x] & 0xFFFFFFU; }
  std::size_t Count(std::uint32_t rgb) const {
    std::size_t n = 0;
    for (std::size_t i = 0; i < m_count; ++i) n += (m_bits[i] & 0xFFFFFFU) == rgb ? 1 : 0;
    return n;
  }

 private:
  win32gui::FontCache m_fonts;
  int m_width;
  std::size_t m_count = 0;
  HDC m_dc = nullptr;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_old = nullptr;
  const std::uint32_t* m_bits = nullptr;
};

constexpr std::uint32_t kYellow = 0xFFFF00;
constexpr std::uint32_t kMaroon = 0x800000;
constexpr std::uint32_t kButtonFace = 0xF0F0F0;

TEST(ControlIds, FollowTheCreationOrderFromTheFirstId) {
  HeadlessForm headless(ui::Variant::Palunor6);
  const ui::ControlSet& controls = headless.form.Controls();
  EXPECT_EQ(win32gui::ControlId(controls, "OpenBut"), win32gui::kFirstControlId);
  EXPECT_EQ(win32gui::ControlId(controls, "SaveBut"), win32gui::kFirstControlId + 1);
  const std::string& last = controls.All().back()->Name();
  EXPECT_EQ(win32gui::ControlId(controls, last),
            win32gui::kFirstControlId + static_cast<int>(controls.All().size()) - 1);
  EXPECT_EQ(win32gui::ControlId(controls, "NoSuchControl"), 0);
}

TEST(Accelerator, IsTheCharacterAfterASingleAmpersand) {
  EXPECT_EQ(win32gui::Accelerator("&Read"), L'R');
  EXPECT_EQ(win32gui::Accelerator("Advance &1"), L'1');
  EXPECT_EQ(win32gui::Accelerator("&Advanced>>"), L'A');
  EXPECT_EQ(win32gui::Accelerator("&send"), L'S');
  EXPECT_EQ(win32gui::Accelerator("REC  EEPR"), 0);
  EXPECT_EQ(win32gui::Accelerator("Salt && pepper"), 0);
  EXPECT_EQ(win32gui::Accelerator("A&&B &x"), L'X');
  EXPECT_EQ(win32gui::Accelerator("trailing&"), 0);
}

TEST(OwnerPaintedLabels, ATransparentMarkerShowsTheChartBeneathItAroundItsMark) {
  HeadlessForm headless(ui::Variant::Palunor6);
  shell::TForm1& form = headless.form;
  const ui::Control& marker = form["Lb5"];
  const ui::Control& chart = form["Image1"];
  const auto* canvas = dynamic_cast<const win32gui::GdiCanvas*>(chart.GetCanvas());
  ASSERT_NE(canvas, nullptr);
  ASSERT_TRUE(canvas->Drawn());
  Painted painted(form, "Lb5");
  // Away from the "o", the chart's own pixels show, its curve and grid included.
  const int dx = marker.Left() - chart.Left();
  const int dy = marker.Top() - chart.Top();
  int same = 0;
  int same_and_drawn = 0;
  for (int y = 0; y < marker.Height(); ++y) {
    for (int x = 0; x < marker.Width(); ++x) {
      if (painted.Pixel(x, y) != canvas->Pixel(dx + x, dy + y)) continue;
      ++same;
      if (canvas->Pixel(dx + x, dy + y) != 0) ++same_and_drawn;
    }
  }
  EXPECT_GT(same, marker.Width() * marker.Height() / 2);
  EXPECT_GT(same_and_drawn, 0);
  EXPECT_EQ(painted.Count(kButtonFace), 0U);
  EXPECT_GT(painted.Count(kYellow), 0U);
}

TEST(OwnerPaintedLabels, AFrameLabelIsFilledWithItsColour) {
  HeadlessForm headless(ui::Variant::Palunor);
  headless.form["Label34"].SetVisible(true);
  Painted painted(headless.form, "Label34");
  EXPECT_EQ(painted.Count(kMaroon), static_cast<std::size_t>(headless.form["Label34"].Width() *
                                                             headless.form["Label34"].Height()));
}

TEST(OwnerPaintedLabels, ADisabledLabelTakesTheGreyedTextColour) {
  HeadlessForm headless(ui::Variant::Palunor6);
  // A large bold text, so that whole pixels take the text's colour.
  ui::Control& label = headless.form["lblOutV"];
  label.SetFontColor(ui::kRed);
  const std::uint32_t grey = [] {
    const COLORREF c = GetSysColor(COLOR_GRAYTEXT);
    return static_cast<std::uint32_t>(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
  }();
  {
    Painted enabled(headless.form, "lblOutV");
    EXPECT_GT(enabled.Count(0xFF0000), 0U);
  }
  label.SetEnabled(false);
  Painted disabled(headless.form, "lblOutV");
  EXPECT_EQ(disabled.Count(0xFF0000), 0U);
  EXPECT_GT(disabled.Count(grey), 0U);
}

}  // namespace
