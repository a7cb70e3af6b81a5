// Guards the binding of the Win32 window to the control model in both programs: one
// child window per control, of its kind, at its design place with its caption and
// state, and real button clicks, mouse drags with capture and keys reaching the form.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "live/option_state.h"
#include "map/curve_model.h"
#include "shell/layout.h"
#include "tests/win32gui/window_harness.h"
#include "win32gui/control_ids.h"
#include "win32gui/text.h"
#include "win32gui/win32_dialogs.h"

namespace {

using win32gui_test::At;
using win32gui_test::WindowForm;

class BothPrograms : public ::testing::TestWithParam<ui::Variant> {
 protected:
  WindowForm gui{GetParam()};
};

INSTANTIATE_TEST_SUITE_P(Window, BothPrograms,
                         ::testing::Values(ui::Variant::Palunor6, ui::Variant::Palunor));

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

std::string TextOf(HWND hwnd) {
  wchar_t text[256] = {};
  SendMessageW(hwnd, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
  return win32gui::Narrow(text);
}

// The child's place in its parent's client area.
ui::Rect PlaceOf(HWND hwnd) {
  RECT rect;
  GetWindowRect(hwnd, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

bool VisibleStyle(HWND hwnd) {
  return (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

std::wstring ExpectedClass(ui::ControlKind kind) {
  switch (kind) {
    case ui::ControlKind::Panel:
      return L"PalunorPanel";
    case ui::ControlKind::Button:
    case ui::ControlKind::BitButton:
    case ui::ControlKind::SpeedButton:
    case ui::ControlKind::CheckBox:
      return L"Button";
    case ui::ControlKind::UpDown:
      return L"msctls_updown32";
    default:
      return L"Static";
  }
}

TEST_P(BothPrograms, WindowHasTheFixedClientSizeTheFormsTitleAndNoMaximiseBox) {
  HWND window = gui.window->Handle();
  EXPECT_EQ(ClassOf(window), L"PalunorMainWindow");
  RECT client;
  GetClientRect(window, &client);
  const shell::WindowSize size = shell::ClientSize(GetParam());
  EXPECT_EQ(client.right, size.width);
  EXPECT_EQ(client.bottom, size.height);
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
  EXPECT_NE(style & WS_MINIMIZEBOX, 0);
  EXPECT_NE(style & WS_SYSMENU, 0);
  EXPECT_EQ(TextOf(window), gui.form.Caption());

  gui.form.SetCaption("VYN Advance Controller Program  (QZR test)");
  EXPECT_EQ(TextOf(window), "VYN Advance Controller Program  (QZR test)");
}

TEST_P(BothPrograms, EveryControlIsAChildOfItsKindWithItsIdAtItsDesignPlace) {
  HWND window = gui.window->Handle();
  int children = 0;
  for (ui::Control* control : gui.form.Controls().All()) {
    SCOPED_TRACE(control->Name());
    HWND parent = control->Parent() == nullptr ? window : gui.Child(control->Parent()->Name());
    HWND child = GetDlgItem(parent, win32gui::ControlId(gui.form.Controls(), control->Name()));
    ASSERT_NE(child, nullptr);
    ++children;
    EXPECT_EQ(child, gui.Child(control->Name()));
    EXPECT_EQ(ClassOf(child), ExpectedClass(control->Kind()));
    const ui::Rect place = PlaceOf(child);
    if (control->Kind() == ui::ControlKind::UpDown) {
      // The common controls may round an up-down to an even width (wine's do).
      EXPECT_LE(std::abs(place.width - control->Width()), 1);
      EXPECT_EQ(place.height, control->Height());
    } else {
      EXPECT_EQ(place, control->Bounds());
    }
    EXPECT_EQ(VisibleStyle(child), control->Visible());
    EXPECT_EQ(IsWindowEnabled(child) != FALSE, control->Enabled());
    switch (control->Kind()) {
      case ui::ControlKind::Button:
      case ui::ControlKind::BitButton:
      case ui::ControlKind::CheckBox:
      case ui::ControlKind::Label:
        EXPECT_EQ(TextOf(child), control->Caption());
        break;
      default:
        break;
    }
  }
  EXPECT_EQ(children, static_cast<int>(gui.form.Controls().All().size()));
}

TEST_P(BothPrograms, ModelChangesReachTheChildren) {
  ui::Control& label = gui.form["Label33"];
  label.SetCaption("1234");
  label.SetTop(300);
  EXPECT_EQ(TextOf(gui.Child("Label33")), "1234");
  EXPECT_EQ(PlaceOf(gui.Child("Label33")).top, 300);

  gui.form["Panel2"].SetVisible(true);
  EXPECT_TRUE(VisibleStyle(gui.Child("Panel2")));
  gui.form["OpenBut"].SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(gui.Child("OpenBut")));
  gui.form["OpenBut"].SetEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(gui.Child("OpenBut")));
  gui.form["Button2"].SetCaption("Advance &2");
  EXPECT_EQ(TextOf(gui.Child("Button2")), "Advance &2");
  gui.form["chTen"].SetChecked(!gui.form["chTen"].Checked());
  EXPECT_EQ(SendMessageW(gui.Child("chTen"), BM_GETCHECK, 0, 0) == BST_CHECKED,
            gui.form["chTen"].Checked());
}

TEST_P(BothPrograms, ClickingAButtonChildReachesItsControl) {
  int clicks = 0;
  gui.form["Button2"].OnClick = [&clicks] { ++clicks; };
  SendMessageW(gui.Child("Button2"), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  // A button on a panel reaches it through the panel.
  int live_clicks = 0;
  gui.form["Button3"].OnClick = [&live_clicks] { ++live_clicks; };
  SendMessageW(gui.Child("Button3"), BM_CLICK, 0, 0);
  EXPECT_EQ(live_clicks, 1);
}

TEST_P(BothPrograms, AnArrowButtonStepsTheSelectionWithoutTakingTheFocus) {
  gui.ShowActive();
  gui.form["Button2"].SetFocus();
  const int lb30_left = gui.form["Lb30"].Left();
  SendMessageW(gui.Child("SpeedButton4"), BM_CLICK, 0, 0);
  gui.Pump();
  EXPECT_EQ(gui.form["Lb30"].Left(), lb30_left + 24);
  EXPECT_EQ(PlaceOf(gui.Child("Lb30")).left, lb30_left + 24);
  EXPECT_NE(GetFocus(), gui.Child("SpeedButton4"));
}

TEST_P(BothPrograms, CheckBoxMarkFollowsTheModelNotTheClick) {
  const bool checked = gui.form["chTen"].Checked();
  // The options panel is hidden, so the model refuses the click and the mark stays.
  SendMessageW(gui.Child("chTen"), BM_CLICK, 0, 0);
  EXPECT_EQ(gui.form["chTen"].Checked(), checked);
  EXPECT_EQ(SendMessageW(gui.Child("chTen"), BM_GETCHECK, 0, 0) == BST_CHECKED, checked);
  gui.form["Panel2"].SetVisible(true);
  SendMessageW(gui.Child("chTen"), BM_CLICK, 0, 0);
  EXPECT_EQ(gui.form["chTen"].Checked(), !checked);
  EXPECT_EQ(SendMessageW(gui.Child("chTen"), BM_GETCHECK, 0, 0) == BST_CHECKED, !checked);
}

TEST_P(BothPrograms, UpDownArrowsStepTheControlsPositionWithoutTakingTheFocus) {
  gui.ShowActive();
  gui.form["Panel2"].SetVisible(true);
  gui.form["btnSVref"].SetFocus();
  ui::Control& updown = gui.form["UpDown4"];
  const int position = updown.Position();
  HWND arrows = gui.Child("UpDown4");
  RECT client;
  GetClientRect(arrows, &client);
  // The upper half is the up arrow.
  SendMessageW(arrows, WM_LBUTTONDOWN, MK_LBUTTON, At(client.right / 2, 2));
  SendMessageW(arrows, WM_LBUTTONUP, 0, At(client.right / 2, 2));
  EXPECT_EQ(updown.Position(), position + 1);
  SendMessageW(arrows, WM_LBUTTONDOWN, MK_LBUTTON, At(client.right / 2, client.bottom - 2));
  SendMessageW(arrows, WM_LBUTTONUP, 0, At(client.right / 2, client.bottom - 2));
  EXPECT_EQ(updown.Position(), position);
  EXPECT_EQ(gui.form.Controls().Focus(), &gui.form["btnSVref"]);
  EXPECT_EQ(GetFocus(), gui.Child("btnSVref"));
}

TEST_P(BothPrograms, AMarkerDraggedOutsideTheWindowKeepsTheMouseAndMovesTheCurve) {
  gui.ShowActive();
  map::CurveModel& model = gui.form.Model();
  gui.Post("Lb5", WM_MOUSEMOVE, 0, At(4, 8));
  EXPECT_EQ(model.SelectedPoint, 5);
  gui.Post("Lb5", WM_LBUTTONDOWN, MK_LBUTTON, At(4, 8));
  ASSERT_TRUE(model.Dragging);
  EXPECT_EQ(GetCapture(), gui.Child("Lb5"));

  gui.Post("Lb5", WM_MOUSEMOVE, MK_LBUTTON, At(4, -600));  // far above the window
  EXPECT_EQ(gui.form["Lb5"].Top(), 10);
  EXPECT_EQ(model.Working(2)[4], 50);
  EXPECT_EQ(PlaceOf(gui.Child("Lb5")).top, 10);

  // The mouse in the moved marker's coordinates: 20 pixels below where it was pressed.
  gui.Post("Lb5", WM_MOUSEMOVE, MK_LBUTTON, At(4, 8 + 20));
  EXPECT_EQ(gui.form["Lb5"].Top(), 30);
  EXPECT_EQ(model.Working(2)[4], 40);

  gui.Post("Lb5", WM_LBUTTONUP, 0, At(4, 900));
  EXPECT_FALSE(model.Dragging);
  EXPECT_EQ(GetCapture(), nullptr);
  gui.Post("Lb5", WM_MOUSEMOVE, 0, At(4, 900));
  EXPECT_EQ(model.Working(2)[4], 40);
}

TEST_P(BothPrograms, LosingTheMouseCaptureEndsTheDrag) {
  gui.ShowActive();
  map::CurveModel& model = gui.form.Model();
  gui.Post("Lb5", WM_LBUTTONDOWN, MK_LBUTTON, At(4, 8));
  ASSERT_TRUE(model.Dragging);
  // Another window takes the mouse, as a message box popping up does.
  SetCapture(gui.window->Handle());
  gui.Pump();
  EXPECT_FALSE(model.Dragging);
  ReleaseCapture();
}

TEST_P(BothPrograms, AClickOnTheAxisLabelTogglesTheGaugePanel) {
  gui.Post("Label20", WM_LBUTTONDOWN, MK_LBUTTON, At(2, 2));
  gui.Post("Label20", WM_LBUTTONUP, 0, At(2, 2));
  EXPECT_TRUE(gui.form.Live().GaugesHidden);
  EXPECT_FALSE(VisibleStyle(gui.Child("Image2")));
  EXPECT_TRUE(VisibleStyle(gui.Child("Label7")));
}

TEST_P(BothPrograms, ArrowKeysReachTheFormOnlyWhileTheWindowItselfHasTheFocus) {
  gui.ShowActive();
  gui.form.Controls().SetFocus(nullptr);
  const int top = gui.form["Lb1"].Top();
  gui.Post("", WM_KEYDOWN, VK_UP, 1);
  EXPECT_LT(gui.form["Lb1"].Top(), top);

  // With a button focused the arrows step between the controls instead.
  const int moved = gui.form["Lb1"].Top();
  gui.form["Button2"].SetFocus();
  gui.Post("Button2", WM_KEYDOWN, VK_UP, 1);
  EXPECT_EQ(gui.form["Lb1"].Top(), moved);
  EXPECT_EQ(gui.form.Controls().Focus(), &gui.form["SaveBut"]);
  EXPECT_EQ(GetFocus(), gui.Child("SaveBut"));
  gui.Post("SaveBut", WM_KEYDOWN, VK_DOWN, 1);
  EXPECT_EQ(gui.form.Controls().Focus(), &gui.form["Button2"]);
}

TEST_P(BothPrograms, TabMovesTheFocusAlongTheButtonsInCreationOrder) {
  gui.ShowActive();
  gui.form.Controls().SetFocus(nullptr);
  gui.Post("", WM_KEYDOWN, VK_TAB, 1);
  EXPECT_EQ(gui.form.Controls().Focus(), &gui.form["OpenBut"]);
  gui.Post("OpenBut", WM_KEYDOWN, VK_TAB, 1);
  EXPECT_EQ(gui.form.Controls().Focus(), &gui.form["SaveBut"]);
  EXPECT_EQ(GetFocus(), gui.Child("SaveBut"));
}

TEST_P(BothPrograms, SpaceOnAFocusedCommandButtonDoesNotPressIt) {
  gui.ShowActive();
  int clicks = 0;
  gui.form["Button2"].OnClick = [&clicks] { ++clicks; };
  gui.form["Button2"].SetFocus();
  ASSERT_EQ(gui.form.Controls().Focus(), &gui.form["Button2"]);
  gui.Post("Button2", WM_KEYDOWN, VK_SPACE, 1);
  gui.Post("Button2", WM_CHAR, L' ', 1);
  gui.Post("Button2", WM_KEYUP, VK_SPACE, 1 | (1U << 30) | (1U << 31));
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(gui.form["Label32"].Caption(), "32");
}

TEST_P(BothPrograms, EnterOnAFocusedButtonPressesItAndAltPressesAnAccelerator) {
  gui.ShowActive();
  int clicks = 0;
  gui.form["Button2"].OnClick = [&clicks] { ++clicks; };
  gui.form["Button2"].SetFocus();
  gui.Post("Button2", WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_EQ(clicks, 1);
  // Enter is a dialog key: the button's own key handler never saw it.
  EXPECT_EQ(gui.form["Label32"].Caption(), "");

  // The read command waits for the controller, which has not answered yet.
  gui.form["RDBut"].SetEnabled(true);
  int reads = 0;
  gui.form["RDBut"].OnClick = [&reads] { ++reads; };
  gui.Post("Button2", WM_SYSKEYDOWN, 'R', 1 | (1 << 29));
  EXPECT_EQ(reads, 1);
  EXPECT_EQ(gui.form.Controls().Focus(), &gui.form["RDBut"]);
}

TEST_P(BothPrograms, CharactersTypedOnTheWindowAreShownAsTheirCode) {
  gui.ShowActive();
  gui.form.Controls().SetFocus(nullptr);
  gui.Post("", WM_CHAR, L'a', 1);
  EXPECT_EQ(gui.form["Label29"].Caption(), "97");
}

TEST_P(BothPrograms, StartUpActivationRunsOnceAfterTheWindowIsShown) {
  const auto versions = [this] {
    const std::string written = gui.device->WrittenText();
    std::size_t count = 0;
    for (std::size_t at = written.find("VER"); at != std::string::npos;
         at = written.find("VER", at + 1)) {
      ++count;
    }
    return count;
  };
  EXPECT_TRUE(IsWindowEnabled(gui.Child("RDBut")));
  gui.ShowActive();
  EXPECT_EQ(versions(), 1U);
  EXPECT_FALSE(IsWindowEnabled(gui.Child("RDBut")));
  // Activated again, as after a message box: no second version request.
  SendMessageW(gui.window->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
  gui.window->Show(SW_SHOWNORMAL);
  gui.Pump();
  EXPECT_EQ(versions(), 1U);
}

TEST_P(BothPrograms, ClosingTheWindowWritesTheConfigurationFileAndEndsIt) {
  bool closed = false;
  gui.window->OnClosed = [&closed] { closed = true; };
  gui.ShowActive();
  HWND window = gui.window->Handle();
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(closed);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(std::filesystem::exists(gui.dir.Path() / "Advance.INI") ||
              std::filesystem::exists(gui.dir.Path() / "Advance.ini"));
}

TEST_P(BothPrograms, ClosingTheWindowUnderAnOpenMessageBoxEndsTheBoxAndTheLoop) {
  bool closed = false;
  gui.window->OnClosed = [&closed] {
    closed = true;
    PostQuitMessage(0);
  };
  gui.ShowActive();
  HWND window = gui.window->Handle();
  win32gui::Win32Dialogs dialogs;
  dialogs.SetOwner(window);
  // The close request arrives while the box's own loop runs, as from the taskbar.
  PostMessageW(window, WM_CLOSE, 0, 0);
  dialogs.MessageBox("Still open?", "Test", ui::DialogIcon::Information, ui::DialogButtons::Ok);
  EXPECT_TRUE(closed);
  EXPECT_FALSE(IsWindow(window));
  MSG msg;
  bool quit = false;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) quit = quit || msg.message == WM_QUIT;
  EXPECT_TRUE(quit);
}

}  // namespace
