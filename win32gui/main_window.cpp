#include "win32gui/main_window.h"

#include "shell/layout.h"
#include "win32gui/control_painting.h"
#include "win32gui/gdi_canvas.h"
#include "win32gui/resource_ids.h"
#include "win32gui/text.h"

namespace win32gui {

namespace {

// Posted to itself once shown: the start-up activation must not wait for the window
// system, which may never activate a window (no window manager, focus stealing
// prevention); the form ignores every later call.
constexpr UINT kActivateMessage = WM_APP + 1;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

void RegisterMainClass(WNDPROC procedure) {
  static const bool registered = [procedure] {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = CreateSolidBrush(ToColorRef(ui::kButtonFace));
    window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(PALUNOR_ICON));
    window_class.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(PALUNOR_ICON),
                                                         IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                         GetSystemMetrics(SM_CYSMICON), 0));
    window_class.lpszClassName = kMainWindowClass;
    return RegisterClassExW(&window_class) != 0;
  }();
  (void)registered;
}

bool IsKeyMessage(UINT message) {
  return message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_CHAR;
}

}  // namespace

MainWindow::MainWindow(shell::TForm1& form) : m_form(form), m_keys(form) {
  RegisterMainClass(&WindowProc);
  const std::wstring title = Wide(form.Caption());
  m_hwnd = CreateWindowExW(kExStyle, kMainWindowClass, title.c_str(), kStyle, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                           GetModuleHandleW(nullptr), this);
  m_dpi = static_cast<int>(GetDpiForWindow(m_hwnd));
  if (m_dpi <= 0) m_dpi = 96;
  const RECT frame = FrameFor(m_dpi);
  SetWindowPos(m_hwnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  m_children = std::make_unique<ControlWindows>(form.Controls(), m_hwnd, m_dpi);
  form.OnCaptionChanged = [this] {
    if (m_hwnd != nullptr) SetWindowTextW(m_hwnd, Wide(m_form.Caption()).c_str());
  };
  form.Controls().Subscribe([alive = m_alive](ui::Control& control, ui::Property property) {
    if (*alive != nullptr) (*alive)->Changed(control, property);
  });
}

MainWindow::~MainWindow() {
  *m_alive = nullptr;
  m_form.OnCaptionChanged = nullptr;
  if (m_hwnd != nullptr) DestroyWindow(m_hwnd);
}

HWND MainWindow::Child(const std::string& name) const {
  const ui::Control* control = m_form.Controls().Find(name);
  return control == nullptr || m_children == nullptr ? nullptr : m_children->Window(*control);
}

RECT MainWindow::FrameFor(int dpi) const {
  const shell::WindowSize size = shell::ClientSize(m_form.GetVariant());
  RECT frame{0, 0, Scale(size.width, dpi), Scale(size.height, dpi)};
  AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExStyle, static_cast<UINT>(dpi));
  return frame;
}

void MainWindow::Show(int show_command) {
  ShowWindow(m_hwnd, show_command);
  UpdateWindow(m_hwnd);
  PostMessageW(m_hwnd, kActivateMessage, 0, 0);
}

bool MainWindow::PreTranslate(MSG& msg) {
  if (m_hwnd == nullptr || !IsKeyMessage(msg.message)) return false;
  if (msg.hwnd != m_hwnd && !IsChild(m_hwnd, msg.hwnd)) return false;
  switch (m_keys.Route(msg)) {
    case KeyAction::Dispatch:
      return false;
    case KeyAction::TranslateOnly:
      TranslateMessage(&msg);
      return true;
    case KeyAction::Consumed:
      return true;
  }
  return false;
}

void MainWindow::Changed(ui::Control& control, ui::Property property) {
  if (m_hwnd == nullptr || m_children == nullptr) return;
  if (property == ui::Property::Focus) {
    FocusChanged();
  } else {
    m_children->Refresh(control, property);
  }
}

void MainWindow::FocusChanged() {
  // Only an active window moves the focus; one behind a message box takes it back
  // when it is activated again.
  if (GetActiveWindow() != m_hwnd) return;
  const ui::Control* focus = m_form.Controls().Focus();
  HWND target = focus != nullptr ? m_children->Window(*focus) : m_hwnd;
  if (target != nullptr && GetFocus() != target) SetFocus(target);
}

void MainWindow::DpiChanged(int dpi, const RECT& suggested) {
  m_dpi = dpi;
  SetWindowPos(m_hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  m_children->SetDpi(dpi);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case kActivateMessage:
      m_form.Activated();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wparam) != WA_INACTIVE && !IsIconic(m_hwnd) && m_children != nullptr) {
        // The focus goes back where the form has it, not to the window as the default
        // handling would put it.
        FocusChanged();
        return 0;
      }
      break;
    case WM_SETFOCUS:
      m_form.Controls().SetFocus(nullptr);
      return 0;
    case WM_COMMAND:
      if (lparam != 0 && m_children != nullptr &&
          m_children->Command(reinterpret_cast<HWND>(lparam), HIWORD(wparam))) {
        return 0;
      }
      break;
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (m_children != nullptr &&
          m_children->Notify(*reinterpret_cast<const NMHDR*>(lparam), result)) {
        return result;
      }
      break;
    }
    case WM_DRAWITEM:
      if (m_children != nullptr &&
          m_children->DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam))) {
        return TRUE;
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (m_children != nullptr) {
        if (HBRUSH brush = m_children->ControlColour(reinterpret_cast<HDC>(wparam),
                                                     reinterpret_cast<HWND>(lparam))) {
          return reinterpret_cast<LRESULT>(brush);
        }
      }
      break;
    case WM_DPICHANGED:
      if (m_children != nullptr) {
        DpiChanged(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
        return 0;
      }
      break;
    case WM_CLOSE:
      if (!m_closed) {
        if (!m_form.FormCloseQuery()) return 0;
        m_closed = true;
        m_form.FormClose();
      }
      DestroyWindow(m_hwnd);
      return 0;
    case WM_DESTROY:
      m_hwnd = nullptr;
      if (OnClosed) OnClosed();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(m_hwnd, message, wparam, lparam);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    auto* self = static_cast<MainWindow*>(create->lpCreateParams);
    self->m_hwnd = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr || self->m_hwnd == nullptr)
    return DefWindowProcW(hwnd, message, wparam, lparam);
  return self->Handle(message, wparam, lparam);
}

}  // namespace win32gui
