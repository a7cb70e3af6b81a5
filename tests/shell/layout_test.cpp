// Guards the main window's start state as both programs build it from the layout
// table: every control's caption, visibility, geometry and looks, and the button sets.
#include "shell/layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "testing/recording_canvas.h"
#include "ui/button_sets.h"
#include "ui/control.h"

namespace {

using ui::ControlKind;
using ui::Variant;

class Canvases : public ui::CanvasFactory {
 public:
  std::unique_ptr<ui::Canvas> Make(int width, int height) override {
    return std::make_unique<ui::RecordingCanvas>(width, height);
  }
};

struct Window {
  explicit Window(Variant variant) : controls(shell::LayoutTable(variant), canvases) {}
  Canvases canvases;
  ui::ControlSet controls;
};

constexpr int kAny = -1;  // a coordinate the design does not fix

// One control as the design describes it at start-up.
struct Expected {
  std::string name;
  ControlKind kind;
  std::string parent;
  std::string caption;
  bool visible;
  int left = kAny;
  int top = kAny;
  int width = kAny;
  int height = kAny;
};

using Table = std::vector<Expected>;

void Button(Table& t, const char* name, const char* caption, const char* parent = "") {
  t.push_back({name, ControlKind::Button, parent, caption, true});
}

void Label(Table& t, const char* name, const char* parent, const char* caption, bool visible,
           int left = kAny, int top = kAny, int width = kAny, int height = kAny) {
  t.push_back({name, ControlKind::Label, parent, caption, visible, left, top, width, height});
}

// Written from the window's design: the control table, the chart and editor layout,
// the gauge panel, the options and status panels and the pending marks.
Table DesignTable(Variant variant) {
  const bool newer = variant == Variant::Palunor6;
  Table t;
  Button(t, "OpenBut", "Open");
  Button(t, "SaveBut", "Save");
  Button(t, "Button2", "Advance &1");
  Button(t, "VerBut", "Find QZR");
  Button(t, "RDBut", "&Read");
  Button(t, "SDBut", "&Send");
  Button(t, "Button6", "REC  EEPR");
  Button(t, "Button5", "Settings");
  Button(t, "Button4", "HELP");
  Label(t, "Label34", "", "", false, 8, 204, 89, 32);
  Label(t, "Label35", "", "", false, 8, 252, 89, 32);

  t.push_back({"imgStatus", ControlKind::Image, "", "", true});
  t.push_back({"pnStatus", ControlKind::Panel, "", "", false, 104, 152, 233, 169});
  Label(t, "lblIn", "pnStatus", "Input Signal", true, 8, 17, 49, 40);
  t.push_back({"imgInV", ControlKind::Image, "pnStatus", "", true, 64, 16, 41, 17});
  Label(t, "lblInV", "pnStatus", "??", true, 56, 33, 57, 16);
  Label(t, "lblOut", "pnStatus", "Output Voltage", true, 120, 16, 57, 41);
  Label(t, "lblOutV", "pnStatus", "?? V", true, 176, 21, 49, 33);
  Label(t, "lblVr", "pnStatus", "MAP, MAF TPS Level", true, 8, 64, 81, 41);
  Label(t, "lblVrV", "pnStatus", "?? V", true, 152, 69, 73, 33);
  Label(t, "lblT", "pnStatus", "Bypass Time", true, 8, 104, 65, 41);
  Label(t, "lblTV", "pnStatus", "?? S", true, 160, 109, 65, 33);
  Label(t, "lblstat", "pnStatus", "", true, 8, 136, 217, 25);
  t.push_back({"btnAdvSet", ControlKind::Button, "", "&Advanced>>", true, 240, 328, 97, 25});

  t.push_back({"Panel2", ControlKind::Panel, "", "", false, 336, 152, 169, 169});
  t.push_back({"btnPN", ControlKind::BitButton, "Panel2", "in", true, 8, 8, 73, 25});
  t.push_back({"V5But", ControlKind::Button, "Panel2", " 5 V out", true, 88, 8, 73, 25});
  t.push_back({"Bevel5", ControlKind::Bevel, "Panel2", "", true, 8, 40, 153, 25});
  Label(t, "lblV", "Panel2", "Vref:", true, 48, 46);
  Label(t, "lblVref", "Panel2", "1.0V", true, 96, 45, 49);
  t.push_back({"UpDown4", ControlKind::UpDown, "Panel2", "", true, 145, 41, 16, 24});
  t.push_back({"btnSVref", ControlKind::Button, "Panel2", "Set Vref", true, 88, 72, 73, 25});
  t.push_back({"Bevel6", ControlKind::Bevel, "Panel2", "", true, 8, 104, 153, 25});
  Label(t, "lblTime", "Panel2", "Time: 0.5 sec", true, 32, 109, 113);
  t.push_back({"UpDown3", ControlKind::UpDown, "Panel2", "", true, 144, 105, 17, 24});
  t.push_back({"btnSetTime", ControlKind::Button, "Panel2", "Set Time", true, 88, 136, 73, 25});
  t.push_back({"chTen", ControlKind::CheckBox, "Panel2", "Enabled", true, 8, 144, 57, 17});

  t.push_back({"Panel4", ControlKind::Panel, "", "", true, 104, 0, 649, 145});
  t.push_back({"Image1", ControlKind::Image, "Panel4", "", true, 1, 1, 647, 128});
  // Flat curves (value 25) put every marker at 111 - 50.
  const int lefts[26] = {16,  40,  64,  88,  112, 136, 160, 184, 208, 232, 256, 280, 304,
                         328, 352, 376, 400, 424, 448, 472, 496, 520, 544, 568, 592, 616};
  for (int p = 1; p <= 26; ++p) {
    t.push_back({"Lb" + std::to_string(p), ControlKind::Label, "Panel4", "o", true, lefts[p - 1],
                 61, 16, p == 1 ? 20 : 16});
  }
  Label(t, "Lb30", "Panel4", "o", true, 12, 52);
  if (newer) {
    Label(t, "Lb31", "Panel4", "1500", true, 6, 49);
    Label(t, "Lb32", "Panel4", "0", true, 12, 76);
    Label(t, "Label1", "Panel4", "1500", true, 8, 128);
    Label(t, "Label2", "Panel4", "2500", true, 104, 128);
    Label(t, "Label3", "Panel4", "3500", true, 200, 128);
    Label(t, "Label4", "Panel4", "4500", true, 296, 128);
    Label(t, "Label5", "Panel4", "6000", false, 368, 128);
    Label(t, "Label6", "Panel4", "7000", true, 416, 128);
    Label(t, "Label19", "Panel4", "8000", false, 464, 128);
    Label(t, "Label20", "Panel4", "9000", true, 512, 128);
    Label(t, "Label36", "Panel4", "10000", true, 560, 128);
    Label(t, "Label37", "Panel4", "11000", true, 608, 128);
  } else {
    Label(t, "Label5", "Panel4", "1000", true, 32, 128);
    Label(t, "Label6", "Panel4", "2000", true, 128, 128);
    Label(t, "Label3", "Panel4", "3000", true, 224, 128);
    Label(t, "Label4", "Panel4", "4000", true, 320, 128);
    Label(t, "Label1", "Panel4", "5000", true, 416, 128);
    Label(t, "Label2", "Panel4", "6000", true, 512, 128);
    Label(t, "Label19", "Panel4", "7000", true, 560, 128);
    Label(t, "Label20", "Panel4", "8000", true, 608, 128);
  }

  t.push_back({"Panel3", ControlKind::Panel, "", "", true, 340, 152, 413, 201});
  t.push_back({"Image2", ControlKind::Image, "Panel3", "", true, 2, 2, 169, 173});
  t.push_back({"Image3", ControlKind::Image, "Panel3", "", true, 242, 2, 169, 173});
  Label(t, "Label9", "Panel3", "0", true, 284, 128);
  Label(t, "Label11", "Panel3", "1", true, 266, 104);
  Label(t, "Label12", "Panel3", "2", true, 264, 72);
  Label(t, "Label13", "Panel3", "3", true, 280, 48);
  Label(t, "Label14", "Panel3", "4", true, 304, 32);
  Label(t, "Label15", "Panel3", "5", true, 336, 32);
  Label(t, "Label16", "Panel3", "6", true, 360, 48);
  Label(t, "Label17", "Panel3", "7", true, 376, 72);
  Label(t, "Label10", "Panel3", "8", true, 376, 104);
  Label(t, "Label27", "Panel3", "X 1000", true, 304, 56);
  Label(t, "Label18", "Panel3", "RPM", true, 304, 136);
  Label(t, "Label23", "Panel3", "-25", true, 32, 40);
  Label(t, "Label24", "Panel3", "0", true, 80, 32);
  Label(t, "Label25", "Panel3", "+25", true, 120, 40);
  Label(t, "Label21", "Panel3", "Advance", true, 48, 128);
  Label(t, "Label26", "Panel3", "Degree", true, 48, 144);
  Label(t, "Label28", "Panel3", "00", true, 72, 104);
  Label(t, "Label30", "Panel3", "750", true, 318, 112, 37);
  t.push_back({"SpeedButton1", ControlKind::SpeedButton, "Panel3", "", true, 88, 176, 41, 23});
  t.push_back({"SpeedButton2", ControlKind::SpeedButton, "Panel3", "", true, 48, 176, 41, 23});
  t.push_back({"SpeedButton3", ControlKind::SpeedButton, "Panel3", "", true, 279, 176, 41, 23});
  t.push_back({"SpeedButton4", ControlKind::SpeedButton, "Panel3", "", true, 320, 176, 41, 23});
  t.push_back({"Button3", ControlKind::Button, "Panel3", "Live Data", true, 160, 8, 89, 25});

  Label(t, "Label29", "", "", false);
  Label(t, "Label31", "", "", false);
  Label(t, "Label32", "", "", false);
  Label(t, "Label22", "", "Last Receive", false);
  Label(t, "Label7", "", "Adv1", false);
  Label(t, "Label8", "", "Adv2", false);
  t.push_back({"ImgNeg", ControlKind::Image, "", "", false, 392, 352, 17, 17});
  t.push_back({"ImgPos", ControlKind::Image, "", "", false, 392, 368, 17, 17});
  Label(t, "Label33", "", "Label33", newer, 328, 376);
  t.push_back({"Panel1", ControlKind::Panel, "", "", false, 528, 304, 41, 41});
  Button(t, "Button1", "", "Panel1");
  return t;
}

std::string ParentName(const ui::Control& control) {
  return control.Parent() == nullptr ? std::string() : control.Parent()->Name();
}

int IndexOf(const ui::ControlSet& controls, const std::string& name) {
  const auto& all = controls.All();
  const auto it =
      std::find_if(all.begin(), all.end(), [&](const ui::Control* c) { return c->Name() == name; });
  return it == all.end() ? -1 : static_cast<int>(it - all.begin());
}

bool Inside(const ui::Rect& inner, int width, int height) {
  return inner.left >= 0 && inner.top >= 0 && inner.left + inner.width <= width &&
         inner.top + inner.height <= height;
}

bool Contains(const ui::Rect& outer, const ui::Rect& inner) {
  return inner.left >= outer.left && inner.top >= outer.top &&
         inner.left + inner.width <= outer.left + outer.width &&
         inner.top + inner.height <= outer.top + outer.height;
}

bool Overlap(const ui::Rect& a, const ui::Rect& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

class BothPrograms : public testing::TestWithParam<Variant> {};

INSTANTIATE_TEST_SUITE_P(Layout, BothPrograms, testing::Values(Variant::Palunor6, Variant::Palunor),
                         [](const testing::TestParamInfo<Variant>& info) {
                           return info.param == Variant::Palunor6 ? "Palunor6" : "Palunor";
                         });

TEST_P(BothPrograms, EveryControlStartsWithItsDesignKindCaptionVisibilityAndPlace) {
  Window window(GetParam());
  for (const Expected& e : DesignTable(GetParam())) {
    SCOPED_TRACE(e.name);
    const ui::Control* control = window.controls.Find(e.name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->Kind(), e.kind);
    EXPECT_EQ(ParentName(*control), e.parent);
    EXPECT_EQ(control->Caption(), e.caption);
    EXPECT_EQ(control->Visible(), e.visible);
    EXPECT_TRUE(control->Enabled());
    if (e.left != kAny) {
      EXPECT_EQ(control->Left(), e.left);
    }
    if (e.top != kAny) {
      EXPECT_EQ(control->Top(), e.top);
    }
    if (e.width != kAny) {
      EXPECT_EQ(control->Width(), e.width);
    }
    if (e.height != kAny) {
      EXPECT_EQ(control->Height(), e.height);
    }
  }
}

TEST_P(BothPrograms, HasExactlyTheDesignControlsEachNamedOnce) {
  const auto rows = shell::LayoutTable(GetParam());
  std::multiset<std::string> built;
  for (const auto& row : rows) built.insert(row.name);
  std::multiset<std::string> designed;
  for (const Expected& e : DesignTable(GetParam())) designed.insert(e.name);
  EXPECT_EQ(built, designed);
  for (const auto& name : built) EXPECT_EQ(built.count(name), 1u) << name;
}

TEST_P(BothPrograms, EveryControlLiesWithinItsParentAndTheWindow) {
  Window window(GetParam());
  const shell::WindowSize size = shell::ClientSize(GetParam());
  for (const ui::Control* control : window.controls.All()) {
    SCOPED_TRACE(control->Name());
    EXPECT_GT(control->Width(), 0);
    EXPECT_GT(control->Height(), 0);
    const ui::Control* parent = control->Parent();
    if (parent == nullptr) {
      EXPECT_TRUE(Inside(control->Bounds(), size.width, size.height));
    } else {
      EXPECT_TRUE(Inside(control->Bounds(), parent->Width(), parent->Height()));
    }
  }
}

TEST(Layout, ClientAreaIsWiderInTheOlderProgram) {
  EXPECT_EQ(shell::ClientSize(Variant::Palunor6).width, 756);
  EXPECT_EQ(shell::ClientSize(Variant::Palunor6).height, 393);
  EXPECT_EQ(shell::ClientSize(Variant::Palunor).width, 773);
  EXPECT_EQ(shell::ClientSize(Variant::Palunor).height, 393);
}

TEST(Layout, OlderProgramHasNoSelectionTextsAndNoTopAxisLabels) {
  Window older(Variant::Palunor);
  Window newer(Variant::Palunor6);
  for (const char* name : {"Lb31", "Lb32", "Label36", "Label37"}) {
    EXPECT_EQ(older.controls.Find(name), nullptr) << name;
    EXPECT_NE(newer.controls.Find(name), nullptr) << name;
  }
  EXPECT_FALSE(older.controls["Label33"].Visible());
  EXPECT_TRUE(newer.controls["Label33"].Visible());
}

TEST_P(BothPrograms, PendingMarksFrameTheirButtonsFromBehind) {
  Window window(GetParam());
  const auto& c = window.controls;
  EXPECT_TRUE(Contains(c["Label34"].Bounds(), c["SDBut"].Bounds()));
  EXPECT_TRUE(Contains(c["Label35"].Bounds(), c["Button6"].Bounds()));
  EXPECT_LT(IndexOf(c, "Label34"), IndexOf(c, "SDBut"));
  EXPECT_LT(IndexOf(c, "Label35"), IndexOf(c, "Button6"));
  EXPECT_EQ(c["Label34"].Design().color, ui::kMaroon);
  EXPECT_EQ(c["Label35"].Design().color, ui::kMaroon);
  EXPECT_FALSE(c["Label34"].Design().transparent);
}

TEST_P(BothPrograms, CommandColumnStaysLeftOfTheChartWithoutOverlaps) {
  Window window(GetParam());
  const auto& c = window.controls;
  const std::vector<std::string> column = {"OpenBut", "SaveBut", "Button2", "VerBut", "RDBut",
                                           "SDBut",   "Button6", "Button5", "Button4"};
  for (size_t i = 0; i < column.size(); ++i) {
    const ui::Rect& r = c[column[i]].Bounds();
    SCOPED_TRACE(column[i]);
    EXPECT_GE(r.left, 8);
    EXPECT_LE(r.left + r.width, 97);
    EXPECT_FALSE(Overlap(r, c["Panel4"].Bounds()));
    for (size_t j = i + 1; j < column.size(); ++j) {
      EXPECT_FALSE(Overlap(r, c[column[j]].Bounds())) << column[j];
    }
    // Only the frame of a button may lie under it.
    for (const char* frame : {"Label34", "Label35"}) {
      const bool own = (column[i] == "SDBut" && std::string(frame) == "Label34") ||
                       (column[i] == "Button6" && std::string(frame) == "Label35");
      if (!own) {
        EXPECT_FALSE(Overlap(r, c[frame].Bounds())) << frame;
      }
    }
  }
}

TEST_P(BothPrograms, StackingPutsPanelsOverWhatTheyCover) {
  Window window(GetParam());
  const auto& c = window.controls;
  // The options panel, when shown, lies over the advance gauge.
  EXPECT_TRUE(Overlap(c["Panel2"].Bounds(), c["Panel3"].Bounds()));
  EXPECT_GT(IndexOf(c, "Panel2"), IndexOf(c, "Panel3"));
  // The status panel takes the place of the controller picture.
  EXPECT_EQ(c["pnStatus"].Bounds(), c["imgStatus"].Bounds());
  EXPECT_GT(IndexOf(c, "pnStatus"), IndexOf(c, "imgStatus"));
  // Markers lie over the chart they mark.
  EXPECT_GT(IndexOf(c, "Lb1"), IndexOf(c, "Image1"));
}

TEST_P(BothPrograms, PointMarkersAreSmallYellowHandles) {
  Window window(GetParam());
  for (int p = 1; p <= 26; ++p) {
    const ui::ControlSpec& d = window.controls["Lb" + std::to_string(p)].Design();
    SCOPED_TRACE(d.name);
    EXPECT_EQ(d.font.color, ui::kYellow);
    EXPECT_TRUE(d.font.bold);
    EXPECT_EQ(d.font.height, 11);
    EXPECT_TRUE(d.transparent);
    EXPECT_EQ(d.cursor, ui::Cursor::Hand);
  }
  const ui::ControlSpec& big = window.controls["Lb30"].Design();
  EXPECT_EQ(big.font.color, ui::kYellow);
  EXPECT_TRUE(big.font.bold);
  EXPECT_EQ(big.font.height, 24);
  EXPECT_TRUE(big.transparent);
  const ui::ControlSpec& strip = window.controls["Panel4"].Design();
  EXPECT_EQ(strip.color, ui::kBlack);
  EXPECT_EQ(strip.bevel, ui::BevelStyle::Lowered);
  EXPECT_EQ(window.controls["Image1"].Design().cursor, ui::Cursor::Arrow);
}

TEST(Layout, SelectedPointTextsAreRedBoldBesideTheSelectionMarker) {
  Window window(Variant::Palunor6);
  for (const char* name : {"Lb31", "Lb32"}) {
    const ui::ControlSpec& d = window.controls[name].Design();
    SCOPED_TRACE(name);
    EXPECT_EQ(d.font.color, ui::kRed);
    EXPECT_TRUE(d.font.bold);
    EXPECT_EQ(d.font.height, 11);
    EXPECT_TRUE(d.transparent);
  }
}

TEST_P(BothPrograms, GaugeReadOutsAndScalesUseTheirDesignFonts) {
  Window window(GetParam());
  const auto& c = window.controls;
  for (const char* name : {"Label28", "Label30"}) {
    const ui::ControlSpec& d = c[name].Design();
    SCOPED_TRACE(name);
    EXPECT_EQ(d.font.family, "LcdD");
    EXPECT_EQ(d.font.height, 24);
    EXPECT_TRUE(d.font.bold);
    EXPECT_EQ(d.font.color, ui::kRed);
    EXPECT_EQ(d.align, ui::Align::Right);
  }
  for (const char* name :
       {"Label9", "Label10", "Label11", "Label12", "Label13", "Label14", "Label15", "Label16",
        "Label17", "Label23", "Label24", "Label25", "Label27"}) {
    const ui::ControlSpec& d = c[name].Design();
    SCOPED_TRACE(name);
    EXPECT_EQ(d.font.height, 11);
    EXPECT_EQ(d.font.color, ui::kAqua);
    EXPECT_TRUE(d.transparent);
  }
  for (const char* name : {"Label18", "Label21", "Label26"}) {
    const ui::ControlSpec& d = c[name].Design();
    SCOPED_TRACE(name);
    EXPECT_EQ(d.font.height, 19);
    EXPECT_EQ(d.font.color, ui::kBlue);
    EXPECT_TRUE(d.font.bold);
    EXPECT_TRUE(d.font.italic);
  }
  EXPECT_EQ(c["Panel3"].Design().bevel, ui::BevelStyle::Lowered);
  EXPECT_TRUE(c["Button3"].Design().font.bold);
  EXPECT_EQ(c["SpeedButton1"].GetPicture(), ui::Picture::ArrowUp);
  EXPECT_EQ(c["SpeedButton2"].GetPicture(), ui::Picture::ArrowDown);
  EXPECT_EQ(c["SpeedButton3"].GetPicture(), ui::Picture::ArrowLeft);
  EXPECT_EQ(c["SpeedButton4"].GetPicture(), ui::Picture::ArrowRight);
}

TEST_P(BothPrograms, StatusAreaShowsThePictureOverAHiddenBlackPanel) {
  Window window(GetParam());
  const auto& c = window.controls;
  const ui::ControlSpec& picture = c["imgStatus"].Design();
  EXPECT_EQ(c["imgStatus"].GetPicture(), ui::Picture::ControllerUnit);
  EXPECT_EQ(picture.cursor, ui::Cursor::Pointing);
  EXPECT_EQ(picture.hint, "Натисни тук за схема");
  EXPECT_EQ(c["pnStatus"].Design().color, ui::kBlack);
  EXPECT_EQ(c["pnStatus"].Design().bevel, ui::BevelStyle::Lowered);
  struct Look {
    const char* name;
    ui::Color color;
    int height;
    ui::Align align;
  };
  const Look looks[] = {
      {"lblIn", ui::kRed, 13, ui::Align::Left},
      {"lblOut", ui::kRed, 13, ui::Align::Left},
      {"lblVr", ui::kRed, 13, ui::Align::Left},
      {"lblT", ui::kRed, 13, ui::Align::Left},
      {"lblInV", ui::kYellow, 11, ui::Align::Center},
      {"lblOutV", ui::kYellow, 21, ui::Align::Right},
      {"lblVrV", ui::kYellow, 21, ui::Align::Right},
      {"lblTV", ui::kYellow, 21, ui::Align::Right},
      {"lblstat", ui::kLime, 21, ui::Align::Center},
  };
  for (const Look& look : looks) {
    const ui::ControlSpec& d = c[look.name].Design();
    SCOPED_TRACE(look.name);
    EXPECT_EQ(d.font.color, look.color);
    EXPECT_EQ(d.font.height, look.height);
    EXPECT_TRUE(d.font.bold);
    EXPECT_EQ(d.align, look.align);
    EXPECT_EQ(d.color, ui::kBlack);
    EXPECT_FALSE(d.transparent);
  }
  EXPECT_TRUE(c["lblIn"].Design().word_wrap);
  EXPECT_TRUE(c["btnAdvSet"].Design().font.bold);
}

TEST_P(BothPrograms, OptionsPanelChoosersStartAtTheirFirstSteps) {
  Window window(GetParam());
  const auto& c = window.controls;
  EXPECT_EQ(c["Panel2"].Design().bevel, ui::BevelStyle::Raised);
  EXPECT_EQ(c["btnPN"].GetPicture(), ui::Picture::PulsePositive);
  EXPECT_EQ(c["UpDown3"].Min(), 1);
  EXPECT_EQ(c["UpDown3"].Max(), 4);
  EXPECT_EQ(c["UpDown3"].Position(), 1);
  EXPECT_EQ(c["UpDown4"].Min(), 3);
  EXPECT_EQ(c["UpDown4"].Max(), 15);
  EXPECT_EQ(c["UpDown4"].Position(), 3);
  EXPECT_TRUE(c["chTen"].Checked());
  for (const char* name :
       {"btnPN", "V5But", "btnSVref", "btnSetTime", "lblV", "lblVref", "lblTime"}) {
    EXPECT_TRUE(c[name].Design().font.bold) << name;
  }
  EXPECT_EQ(c["lblV"].Design().font.height, 13);
  EXPECT_EQ(c["lblVref"].Design().align, ui::Align::Right);
  EXPECT_EQ(c["lblTime"].Design().align, ui::Align::Right);
  // Each bevel frames its row and lies behind it.
  EXPECT_TRUE(Contains(c["Bevel5"].Bounds(), c["lblV"].Bounds()));
  EXPECT_TRUE(Contains(c["Bevel6"].Bounds(), c["lblTime"].Bounds()));
  EXPECT_LT(IndexOf(c, "Bevel5"), IndexOf(c, "lblVref"));
  EXPECT_LT(IndexOf(c, "Bevel6"), IndexOf(c, "lblTime"));
}

TEST_P(BothPrograms, GlyphHoldersCarryTheTwoPulses) {
  Window window(GetParam());
  EXPECT_EQ(window.controls["ImgNeg"].GetPicture(), ui::Picture::PulseNegative);
  EXPECT_EQ(window.controls["ImgPos"].GetPicture(), ui::Picture::PulsePositive);
}

TEST(ButtonSets, NameTheDesignButtons) {
  EXPECT_EQ(ui::DeviceCommandButtons(),
            (std::vector<std::string>{"RDBut", "SDBut", "Button3", "Button6", "btnAdvSet"}));
  EXPECT_EQ(ui::LiveDataLockedButtons(),
            (std::vector<std::string>{"RDBut", "SDBut", "V5But", "btnPN", "Button6", "btnAdvSet"}));
}

TEST_P(BothPrograms, SetButtonsSwitchesOnlyTheButtonsOfTheSet) {
  for (const auto* set : {&ui::DeviceCommandButtons(), &ui::LiveDataLockedButtons()}) {
    Window window(GetParam());
    ui::SetButtons(window.controls, *set, false);
    for (const ui::Control* control : window.controls.All()) {
      const bool member = std::find(set->begin(), set->end(), control->Name()) != set->end();
      EXPECT_EQ(control->Enabled(), !member) << control->Name();
    }
    ui::SetButtons(window.controls, *set, true);
    for (const ui::Control* control : window.controls.All()) {
      EXPECT_TRUE(control->Enabled()) << control->Name();
    }
  }
}

TEST_P(BothPrograms, ImagesGetDrawingSurfacesOfTheirOwnSize) {
  Window window(GetParam());
  for (const char* name : {"Image1", "Image2", "Image3", "imgInV"}) {
    const ui::Control& image = window.controls[name];
    ASSERT_NE(image.GetCanvas(), nullptr) << name;
    EXPECT_EQ(image.GetCanvas()->Width(), image.Width()) << name;
    EXPECT_EQ(image.GetCanvas()->Height(), image.Height()) << name;
  }
}

}  // namespace
