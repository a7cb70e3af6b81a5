#include "win32gui/win32_second_window.h"

#include <windowsx.h>
// files::ReplaceFile is the core's, not the ANSI/wide macro.
#undef ReplaceFile

#include <algorithm>
#include <cwctype>
#include <sstream>

#include "files/read_file.h"
#include "files/replace_file.h"
#include "ui/png.h"
#include "win32gui/resource_ids.h"
#include "win32gui/text.h"

namespace win32gui {

namespace {

constexpr const wchar_t* kClassName = L"PalunorSecondWindow";
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
// Design pixels (96 DPI).
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;
constexpr int kMinWidth = 300;
constexpr int kMinHeight = 240;
constexpr int kMargin = 8;
constexpr int kGap = 6;
constexpr int kButtonHeight = 25;
constexpr int kButtonWidth = 75;
constexpr int kStatusHeight = 18;
constexpr int kFirstButtonId = 100;
constexpr std::size_t kPlaceBytes = 256;
// Sizes beyond this are no window a user made.
constexpr long kLargestSide = 32767;

void RegisterWindowClass(WNDPROC procedure) {
  static const bool registered = [procedure] {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hIcon = LoadIconW(window_class.hInstance, MAKEINTRESOURCEW(PALUNOR_ICON));
    window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    window_class.lpszClassName = kClassName;
    return RegisterClassExW(&window_class) != 0;
  }();
  (void)registered;
}

// The letter after a single "&" in a caption, lower case; 0 when it has none.
wchar_t AccessKey(const std::wstring& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] != L'&') return static_cast<wchar_t>(std::towlower(caption[i + 1]));
    ++i;
  }
  return 0;
}

// The part of the window's screen that the taskbar leaves free.
RECT WorkArea(HWND window) {
  MONITORINFO screen{};
  screen.cbSize = sizeof screen;
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &screen);
  return screen.rcWork;
}

}  // namespace

Win32SecondWindow::Win32SecondWindow(std::filesystem::path place_file, HWND beside)
    // A main window already gone owns nothing: the window opens on its own.
    : m_place_file(std::move(place_file)), m_beside(IsWindow(beside) ? beside : nullptr) {
  RegisterWindowClass(&WindowProc);
  m_hwnd = CreateWindowExW(kExStyle, kClassName, L"", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                           kDefaultWidth, kDefaultHeight, m_beside, nullptr,
                           GetModuleHandleW(nullptr), this);
  if (m_hwnd == nullptr) return;
  m_dpi = static_cast<int>(GetDpiForWindow(m_beside != nullptr ? m_beside : m_hwnd));
  if (m_dpi <= 0) m_dpi = 96;
  MakeFont();
  m_status = CreateWindowExW(0, L"STATIC", L"",
                             WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, 0, 0,
                             0, 0, m_hwnd, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(m_status, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
  // The default size is the client area's, as on the other platform, within the screen.
  RECT frame{0, 0, Scale(kDefaultWidth), Scale(kDefaultHeight)};
  AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExStyle, static_cast<UINT>(m_dpi));
  const RECT work = WorkArea(m_beside != nullptr ? m_beside : m_hwnd);
  SetWindowPos(m_hwnd, nullptr, 0, 0, std::min(frame.right - frame.left, work.right - work.left),
               std::min(frame.bottom - frame.top, work.bottom - work.top),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RestorePlace();
  Layout();
}

Win32SecondWindow::~Win32SecondWindow() {
  if (m_hwnd != nullptr) DestroyWindow(m_hwnd);
  if (m_font != nullptr) DeleteObject(m_font);
}

void Win32SecondWindow::Show() {
  if (m_hwnd == nullptr) return;
  if (!m_placed && m_beside != nullptr) {
    // Beside the main window, but on its screen: no window manager moves it there.
    RECT main, own;
    GetWindowRect(m_beside, &main);
    GetWindowRect(m_hwnd, &own);
    const RECT work = WorkArea(m_beside);
    const int x = std::max(work.left, std::min<LONG>(main.right + Scale(kMargin),
                                                     work.right - (own.right - own.left)));
    const int y =
        std::max(work.top, std::min<LONG>(main.top, work.bottom - (own.bottom - own.top)));
    SetWindowPos(m_hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  m_placed = true;
  m_shown = true;
  if (!IsWindowVisible(m_hwnd)) ShowWindow(m_hwnd, m_maximised ? SW_SHOWMAXIMIZED : SW_SHOW);
  if (IsIconic(m_hwnd)) ShowWindow(m_hwnd, SW_RESTORE);
  SetForegroundWindow(m_hwnd);
}

bool Win32SecondWindow::Visible() const {
  return m_hwnd != nullptr && IsWindowVisible(m_hwnd);
}

void Win32SecondWindow::SetTitle(const std::string& title) {
  if (m_hwnd != nullptr) SetWindowTextW(m_hwnd, Wide(title).c_str());
}

void Win32SecondWindow::SetButtons(const std::vector<std::string>& captions) {
  if (m_hwnd == nullptr) return;
  for (HWND button : m_buttons) DestroyWindow(button);
  m_buttons.clear();
  m_captions = captions;
  for (std::size_t i = 0; i < captions.size(); ++i) {
    HWND button = CreateWindowExW(
        0, L"BUTTON", Wide(captions[i]).c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
        0, 0, 0, 0, m_hwnd,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstButtonId) + static_cast<INT_PTR>(i)),
        GetModuleHandleW(nullptr), nullptr);
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
    m_buttons.push_back(button);
  }
  Layout();
}

void Win32SecondWindow::SetStatus(const std::string& text) {
  if (m_status != nullptr) SetWindowTextW(m_status, Wide(text).c_str());
}

std::string Win32SecondWindow::PngBytes() {
  std::vector<std::uint32_t> pixels;
  pixels.reserve(static_cast<std::size_t>(m_canvas->Width()) *
                 static_cast<std::size_t>(m_canvas->Height()));
  for (int y = 0; y < m_canvas->Height(); ++y) {
    for (int x = 0; x < m_canvas->Width(); ++x) pixels.push_back(m_canvas->Pixel(x, y));
  }
  return ui::PngFile(m_canvas->Width(), m_canvas->Height(), pixels);
}

HWND Win32SecondWindow::Button(std::size_t index) const {
  return index < m_buttons.size() ? m_buttons[index] : nullptr;
}

RECT Win32SecondWindow::CanvasArea() const {
  RECT client{};
  if (m_hwnd != nullptr) GetClientRect(m_hwnd, &client);
  const int top = Scale(kMargin) + (m_buttons.empty() ? 0 : Scale(kButtonHeight) + Scale(kGap));
  const int bottom = client.bottom - Scale(kMargin) - Scale(kStatusHeight) - Scale(kGap);
  const int left = Scale(kMargin);
  const int right = client.right - Scale(kMargin);
  return {left, top, std::max(left + 1, right), std::max(top + 1, bottom)};
}

void Win32SecondWindow::MakeFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (m_font != nullptr) DeleteObject(m_font);
  m_font = SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                                      static_cast<UINT>(m_dpi))
               ? CreateFontIndirectW(&metrics.lfMessageFont)
               : nullptr;
}

void Win32SecondWindow::Layout() {
  if (m_hwnd == nullptr || IsIconic(m_hwnd)) return;
  HDC dc = GetDC(m_hwnd);
  const HGDIOBJ old_font =
      SelectObject(dc, m_font != nullptr ? m_font : GetStockObject(DEFAULT_GUI_FONT));
  int x = Scale(kMargin);
  for (std::size_t i = 0; i < m_buttons.size(); ++i) {
    std::wstring text = Wide(m_captions[i]);
    std::erase(text, L'&');
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    const int width =
        std::max(Scale(kButtonWidth), static_cast<int>(extent.cx) + Scale(2 * kMargin + 4));
    SetWindowPos(m_buttons[i], nullptr, x, Scale(kMargin), width, Scale(kButtonHeight),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    x += width + Scale(kGap);
  }
  SelectObject(dc, old_font);
  ReleaseDC(m_hwnd, dc);

  const RECT area = CanvasArea();
  SetWindowPos(m_status, nullptr, area.left, area.bottom + Scale(kGap), area.right - area.left,
               Scale(kStatusHeight), SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(m_hwnd, nullptr, TRUE);
  // The canvas is in design pixels, stretched to the area as the main window's images are.
  const int width = std::max(1, MulDiv(area.right - area.left, 96, m_dpi));
  const int height = std::max(1, MulDiv(area.bottom - area.top, 96, m_dpi));
  if (width == m_canvas->Width() && height == m_canvas->Height()) return;
  m_canvas = std::make_unique<GdiCanvas>(width, height);
  m_canvas->OnChanged = [this] {
    // Without a window there is nothing to repaint (a null window would be all of them).
    if (m_hwnd == nullptr) return;
    const RECT changed = CanvasArea();
    InvalidateRect(m_hwnd, &changed, FALSE);
  };
  if (OnResized) OnResized();
}

ui::Point Win32SecondWindow::ToCanvas(POINT client) const {
  const RECT area = CanvasArea();
  return {MulDiv(client.x - area.left, 96, m_dpi), MulDiv(client.y - area.top, 96, m_dpi)};
}

void Win32SecondWindow::Pointer(UINT message, WPARAM wparam, POINT client) {
  const RECT area = CanvasArea();
  const bool captured = GetCapture() == m_hwnd;
  if (!captured && !PtInRect(&area, client)) return;
  const ui::Point at = ToCanvas(client);
  switch (message) {
    case WM_LBUTTONDOWN:
      SetCapture(m_hwnd);
      m_drag_x = at.x;
      break;
    case WM_LBUTTONUP:
      if (captured) ReleaseCapture();
      break;
    case WM_MOUSEMOVE:
      if (captured && (wparam & MK_LBUTTON) != 0 && OnDrag) {
        const int dx = at.x - m_drag_x;
        m_drag_x = at.x;
        if (dx != 0) OnDrag(dx);
      }
      if (OnMouseMove) OnMouseMove(at);
      break;
    case WM_MOUSEWHEEL: {
      m_wheel += GET_WHEEL_DELTA_WPARAM(wparam);
      const int steps = m_wheel / WHEEL_DELTA;
      m_wheel -= steps * WHEEL_DELTA;
      if (steps != 0 && OnWheel) OnWheel(at, steps);
      break;
    }
    default:
      break;
  }
}

bool Win32SecondWindow::PressAccessKey(wchar_t key) {
  const wchar_t lower = static_cast<wchar_t>(std::towlower(key));
  for (std::size_t i = 0; i < m_buttons.size(); ++i) {
    if (AccessKey(Wide(m_captions[i])) != lower) continue;
    if (OnButton) OnButton(i);
    return true;
  }
  return false;
}

void Win32SecondWindow::KeepPlace() const {
  // A place that cannot be kept costs only the place: the window opens beside the
  // main window next time.
  if (m_place_file.empty() || m_hwnd == nullptr) return;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(m_hwnd, &placement)) return;
  const RECT& r = placement.rcNormalPosition;
  std::ostringstream place;
  place << r.left << ' ' << r.top << ' ' << r.right << ' ' << r.bottom << ' '
        << (placement.showCmd == SW_SHOWMAXIMIZED ? 1 : 0) << '\n';
  std::error_code ignored;
  std::filesystem::create_directories(m_place_file.parent_path(), ignored);
  files::ReplaceFile(m_place_file, place.str());
}

void Win32SecondWindow::RestorePlace() {
  std::string text;
  if (m_place_file.empty() || files::ReadFileStart(m_place_file, kPlaceBytes, text)) return;
  std::istringstream place(text);
  RECT r{};
  int maximised = 0;
  // A damaged file, or a place no screen shows any more, is no place.
  if (!(place >> r.left >> r.top >> r.right >> r.bottom >> maximised)) return;
  if (r.right - r.left < 1 || r.bottom - r.top < 1 || r.right - r.left > kLargestSide ||
      r.bottom - r.top > kLargestSide || (maximised != 0 && maximised != 1)) {
    return;
  }
  if (MonitorFromRect(&r, MONITOR_DEFAULTTONULL) == nullptr) return;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  placement.showCmd = SW_HIDE;
  placement.rcNormalPosition = r;
  SetWindowPlacement(m_hwnd, &placement);
  m_maximised = maximised == 1;
  m_placed = true;
}

LRESULT CALLBACK Win32SecondWindow::WindowProc(HWND hwnd, UINT message, WPARAM wparam,
                                               LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<Win32SecondWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->m_hwnd = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Win32SecondWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);
  return self->Message(message, wparam, lparam);
}

LRESULT Win32SecondWindow::Message(UINT message, WPARAM wparam, LPARAM lparam) {
  HWND hwnd = m_hwnd;
  switch (message) {
    case WM_SIZE:
      if (m_status != nullptr) Layout();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
      info->ptMinTrackSize = {Scale(kMinWidth), Scale(kMinHeight)};
      return 0;
    }
    case WM_DPICHANGED: {
      m_dpi = HIWORD(wparam);
      MakeFont();
      for (HWND button : m_buttons)
        SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
      SendMessageW(m_status, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
      const RECT* suggested = reinterpret_cast<const RECT*>(lparam);
      SetWindowPos(hwnd, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      Layout();
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd, &paint);
      const RECT area = CanvasArea();
      m_canvas->PaintTo(dc, area.left, area.top, area.right - area.left, area.bottom - area.top);
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED && LOWORD(wparam) >= kFirstButtonId &&
          static_cast<std::size_t>(LOWORD(wparam) - kFirstButtonId) < m_buttons.size()) {
        if (OnButton) OnButton(static_cast<std::size_t>(LOWORD(wparam) - kFirstButtonId));
        return 0;
      }
      break;
    case WM_SYSCOMMAND:
      // Alt and a button's access key, wherever the focus is in the window.
      if ((wparam & 0xFFF0) == SC_KEYMENU && lparam != 0 &&
          PressAccessKey(static_cast<wchar_t>(lparam))) {
        return 0;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
      Pointer(message, wparam, {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
      return 0;
    case WM_MOUSEWHEEL: {
      POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      ScreenToClient(hwnd, &at);
      Pointer(message, wparam, at);
      return 0;
    }
    case WM_CLOSE:
      // Closed, the window hides: the core shows it again, where the user left it.
      KeepPlace();
      m_shown = false;
      ShowWindow(hwnd, SW_HIDE);
      if (OnClosed) OnClosed();
      return 0;
    case WM_DESTROY:
      // Destroyed while shown: by the core, or with the main window that owns it.
      if (m_shown) KeepPlace();
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      m_hwnd = nullptr;
      m_status = nullptr;
      m_buttons.clear();
      return DefWindowProcW(hwnd, message, wparam, lparam);
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

std::unique_ptr<ui::SecondWindow> Win32WindowFactory::MakeWindow(const std::string& name) {
  return std::make_unique<Win32SecondWindow>(
      m_config_dir.empty() ? std::filesystem::path() : m_config_dir / (name + "-window"), m_anchor);
}

}  // namespace win32gui
