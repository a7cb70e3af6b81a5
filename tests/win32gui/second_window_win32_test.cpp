// Guards the Windows second window as a tuner meets it: the Windows programs offer the
// plot, which opens with the core's title, buttons and status; the canvas follows the
// window's size; buttons, access keys, the pointer, the wheel and dragging reach the
// core; the picture exports as a PNG file of its pixels; and the window comes back
// where the user left it, but never from a damaged file or off every screen.
#include <gtest/gtest.h>

#include <windows.h>
#undef MessageBox
// The system's image decoders, after windows.h.
#include <shlwapi.h>
#include <wincodec.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "testing/memory_port.h"
#include "testing/scripted_dialogs.h"
#include "tests/win32gui/window_harness.h"
#include "win32gui/text.h"
#include "win32gui/win32_platform.h"
#include "win32gui/win32_second_window.h"

namespace {

using win32gui::Win32SecondWindow;
using win32gui_test::At;
using win32gui_test::ScratchDir;

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

std::string TextOf(HWND hwnd) {
  wchar_t text[256] = {};
  GetWindowTextW(hwnd, text, 256);
  return win32gui::Narrow(text);
}

// PNG bytes as the system's own decoder reads them: 0x00RRGGBB pixels, none when it
// refuses them.
std::vector<std::uint32_t> SystemDecode(const std::string& png, UINT& width, UINT& height) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::vector<std::uint32_t> pixels;
  IStream* stream =
      SHCreateMemStream(reinterpret_cast<const BYTE*>(png.data()), static_cast<UINT>(png.size()));
  IWICImagingFactory* factory = nullptr;
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICFormatConverter* converter = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_PPV_ARGS(&factory))) &&
      SUCCEEDED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnLoad,
                                                 &decoder)) &&
      SUCCEEDED(decoder->GetFrame(0, &frame)) &&
      SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
      SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                      nullptr, 0, WICBitmapPaletteTypeCustom)) &&
      SUCCEEDED(converter->GetSize(&width, &height))) {
    pixels.resize(std::size_t{width} * height);
    if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size() * 4),
                                     reinterpret_cast<BYTE*>(pixels.data())))) {
      pixels.clear();
    }
    for (std::uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
  }
  for (IUnknown* object :
       std::initializer_list<IUnknown*>{converter, frame, decoder, factory, stream}) {
    if (object != nullptr) object->Release();
  }
  CoUninitialize();
  return pixels;
}

RECT Frame(HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  return rect;
}

// left, top, right, bottom
std::array<LONG, 4> Box(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

class PlotInBothPrograms : public ::testing::TestWithParam<ui::Variant> {};

INSTANTIATE_TEST_SUITE_P(Win32SecondWindow, PlotInBothPrograms,
                         ::testing::Values(ui::Variant::Palunor6, ui::Variant::Palunor));

TEST_P(PlotInBothPrograms, OfferThePlotWhichShowsTheCoresButtonsAndStatus) {
  ScratchDir dir;
  const auto device = std::make_shared<serial::MemoryDevice>();
  win32gui::Win32Platform platform(
      [device] { return std::make_unique<serial::MemoryPort>(device); },
      files::Utf8FromPath(dir.Path() / "Palunor.exe"), files::Utf8FromPath(dir.Path()),
      {"", files::Utf8FromPath(dir.Path() / "Palunor" / "palunor.ini")});
  shell::TForm1 form(GetParam(), platform.Get());
  form.FormCreate();
  const std::vector<ui::MenuItem> items = form.Menu().Items();
  const auto offered = [&items](const std::string& caption) {
    return std::any_of(items.begin(), items.end(),
                       [&](const ui::MenuItem& item) { return item.caption == caption; });
  };
  EXPECT_TRUE(offered("&Plot..."));
  EXPECT_TRUE(offered("Open &log..."));

  ui::ScriptedDialogs dialogs;
  dialogs.AnswerMenu("&Plot...");
  form.Menu().Popup(dialogs, {0, 0});
  Pump();
  HWND plot = FindWindowW(L"PalunorSecondWindow", nullptr);
  ASSERT_NE(plot, nullptr);
  EXPECT_TRUE(IsWindowVisible(plot));
  EXPECT_EQ(TextOf(plot), "Plot: live data");
  std::vector<std::string> captions;
  std::string status;
  for (HWND child = GetWindow(plot, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t kind[16] = {};
    GetClassNameW(child, kind, 16);
    if (std::wstring(kind) == L"Button") {
      captions.push_back(TextOf(child));
    } else {
      status = TextOf(child);
    }
  }
  EXPECT_EQ(captions, (std::vector<std::string>{"30 s", "60 s", "300 s", "E&xport PNG..."}));
  EXPECT_FALSE(status.empty());
  form.FormClose();
}

TEST(Win32SecondWindow, ReportsWhatTheUserDoesAndExportsItsPixels) {
  win32gui::Win32WindowFactory factory;
  auto made = factory.MakeWindow("plot");
  auto& window = dynamic_cast<Win32SecondWindow&>(*made);
  int resized = 0;
  std::vector<std::size_t> buttons;
  std::vector<int> wheel, drags;
  ui::Point moved;
  window.OnResized = [&] { ++resized; };
  window.OnButton = [&](std::size_t b) { buttons.push_back(b); };
  window.OnWheel = [&](ui::Point, int steps) { wheel.push_back(steps); };
  window.OnDrag = [&](int dx) { drags.push_back(dx); };
  window.OnMouseMove = [&](ui::Point p) { moved = p; };
  window.SetButtons({"30 s", "E&xport PNG..."});
  window.SetStatus("1810 RPM");
  window.Show();
  Pump();
  EXPECT_EQ(TextOf(window.StatusLine()), "1810 RPM");
  const int before = resized;

  const int width = window.GetCanvas().Width();
  const RECT frame = Frame(window.Handle());
  SetWindowPos(window.Handle(), nullptr, 0, 0, frame.right - frame.left - 60,
               frame.bottom - frame.top - 40, SWP_NOMOVE | SWP_NOZORDER);
  Pump();
  EXPECT_EQ(resized, before + 1);
  ui::Canvas& canvas = window.GetCanvas();
  EXPECT_LT(canvas.Width(), width);
  const RECT area = window.CanvasArea();
  const int dpi = static_cast<int>(GetDpiForWindow(window.Handle()));
  EXPECT_EQ(canvas.Width(), MulDiv(area.right - area.left, 96, dpi));

  SendMessageW(window.Button(1), BM_CLICK, 0, 0);
  SendMessageW(window.Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'x');
  SendMessageW(window.Handle(), WM_SYSCOMMAND, SC_KEYMENU, '3');
  EXPECT_EQ(buttons, (std::vector<std::size_t>{1, 1}));

  // Dragging 30 design pixels to the right at any DPI.
  const auto client = [&](int x, int y) {
    return At(area.left + MulDiv(x, dpi, 96), area.top + MulDiv(y, dpi, 96));
  };
  SendMessageW(window.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, client(50, 40));
  SendMessageW(window.Handle(), WM_MOUSEMOVE, MK_LBUTTON, client(80, 45));
  SendMessageW(window.Handle(), WM_LBUTTONUP, 0, client(80, 45));
  EXPECT_EQ(drags, std::vector<int>{30});
  EXPECT_EQ(moved, (ui::Point{80, 45}));
  POINT screen{area.left + 20, area.top + 20};
  ClientToScreen(window.Handle(), &screen);
  SendMessageW(window.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 2 * WHEEL_DELTA),
               At(screen.x, screen.y));
  EXPECT_EQ(wheel, std::vector<int>{2});

  canvas.brush = {ui::kRed};
  canvas.FillRect(0, 0, canvas.Width(), canvas.Height() / 2);
  UINT png_width = 0, png_height = 0;
  const std::vector<std::uint32_t> pixels = SystemDecode(window.PngBytes(), png_width, png_height);
  ASSERT_FALSE(pixels.empty());
  EXPECT_EQ(static_cast<int>(png_width), canvas.Width());
  EXPECT_EQ(static_cast<int>(png_height), canvas.Height());
  EXPECT_EQ(pixels.front(), 0xFF0000u);
  EXPECT_EQ(pixels.back(), 0xFFFFFFu);
}

TEST(Win32SecondWindow, ComesBackWhereTheUserLeftItButNotFromADamagedFileOrOffScreen) {
  ScratchDir dir;
  HWND main = CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300,
                              200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  win32gui::Win32WindowFactory factory(dir.Path());
  factory.SetAnchor(main);
  const RECT beside = [&] {
    auto window = factory.MakeWindow("plot");
    window->Show();
    Pump();
    return Frame(dynamic_cast<Win32SecondWindow&>(*window).Handle());
  }();
  EXPECT_GE(beside.left, Frame(main).right) << "opens beside the main window";

  bool closed = false;
  {
    auto window = factory.MakeWindow("plot");
    window->OnClosed = [&closed] { closed = true; };
    window->Show();
    HWND hwnd = dynamic_cast<Win32SecondWindow&>(*window).Handle();
    SetWindowPos(hwnd, nullptr, 120, 90, 520, 410, SWP_NOZORDER);
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(closed);
    EXPECT_FALSE(window->Visible());
  }
  const auto shown_at = [&] {
    auto window = factory.MakeWindow("plot");
    window->Show();
    Pump();
    return Frame(dynamic_cast<Win32SecondWindow&>(*window).Handle());
  };
  EXPECT_EQ(Box(shown_at()), (std::array<LONG, 4>{120, 90, 640, 500}));
  // The main window going takes the shown plot with it and keeps its place.
  {
    auto window = factory.MakeWindow("plot");
    window->Show();
    SetWindowPos(dynamic_cast<Win32SecondWindow&>(*window).Handle(), nullptr, 150, 100, 500, 400,
                 SWP_NOZORDER);
    DestroyWindow(main);
    EXPECT_FALSE(window->Visible());
  }
  EXPECT_EQ(Box(shown_at()), (std::array<LONG, 4>{150, 100, 650, 500}));

  main = CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200,
                         nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  factory.SetAnchor(main);
  for (const std::string damaged : {"120 90 x", "-40000 -40000 -39400 -39500 0", "1 2 3"}) {
    std::ofstream(dir.Path() / "plot-window", std::ios::binary) << damaged;
    const RECT at = shown_at();
    EXPECT_EQ(at.right - at.left, beside.right - beside.left) << damaged;
    EXPECT_GE(at.left, Frame(main).right) << damaged;
  }
  // A main window at the screen's right edge leaves no room beside it: the plot stays on
  // the screen.
  std::filesystem::remove(dir.Path() / "plot-window");
  SetWindowPos(main, nullptr, GetSystemMetrics(SM_CXSCREEN) - 200, 40, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_LE(shown_at().right, GetSystemMetrics(SM_CXSCREEN));
  DestroyWindow(main);
}

}  // namespace
