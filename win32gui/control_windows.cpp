#include "win32gui/control_windows.h"

#include <windowsx.h>

#include "win32gui/control_ids.h"
#include "win32gui/control_painting.h"
#include "win32gui/gdi_canvas.h"
#include "win32gui/pictures.h"
#include "win32gui/text.h"

namespace win32gui {

namespace {

constexpr wchar_t kPanelClass[] = L"PalunorPanel";
constexpr UINT_PTR kSubclassId = 1;
// The up-down's own position never moves: each arrow is handed to the control, whose
// position keeps the range.
constexpr int kUpDownMiddle = 1;

void RegisterPanelClass(WNDPROC procedure) {
  static const bool registered = [procedure] {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.lpszClassName = kPanelClass;
    return RegisterClassExW(&window_class) != 0;
  }();
  (void)registered;
}

bool HasCaption(ui::ControlKind kind) {
  return kind == ui::ControlKind::Button || kind == ui::ControlKind::BitButton ||
         kind == ui::ControlKind::Label || kind == ui::ControlKind::CheckBox;
}

ui::MouseButton ButtonOf(UINT message) {
  switch (message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
      return ui::MouseButton::Right;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP:
      return ui::MouseButton::Middle;
    default:
      return ui::MouseButton::Left;
  }
}

bool AnyButtonHeld(WPARAM keys) {
  return (keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0;
}

LPCWSTR CursorOf(ui::Cursor cursor) {
  switch (cursor) {
    case ui::Cursor::Hand:
    case ui::Cursor::Pointing:
      return IDC_HAND;
    case ui::Cursor::Arrow:
      return IDC_ARROW;
    case ui::Cursor::Default:
      break;
  }
  return nullptr;
}

struct WindowKind {
  const wchar_t* window_class;
  DWORD style;
  DWORD ex_style;
};

WindowKind KindOf(const ui::ControlSpec& design) {
  constexpr DWORD kStatic = SS_OWNERDRAW | SS_NOTIFY;
  switch (design.kind) {
    case ui::ControlKind::Panel:
      return {kPanelClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
    case ui::ControlKind::Button:
    case ui::ControlKind::BitButton:
      return {WC_BUTTONW, BS_PUSHBUTTON | WS_TABSTOP, 0};
    case ui::ControlKind::SpeedButton:
      return {WC_BUTTONW, BS_PUSHBUTTON, 0};
    case ui::ControlKind::CheckBox:
      return {WC_BUTTONW, BS_CHECKBOX | WS_TABSTOP, 0};
    case ui::ControlKind::UpDown:
      return {UPDOWN_CLASSW, 0, 0};
    case ui::ControlKind::Label:
    case ui::ControlKind::Image:
    case ui::ControlKind::Bevel:
      break;
  }
  return {WC_STATICW, kStatic, 0};
}

}  // namespace

struct ControlWindows::View {
  ControlWindows* owner = nullptr;
  ui::Control* control = nullptr;
  HWND hwnd = nullptr;
  HIMAGELIST glyphs = nullptr;
  // The mouse button held since a press on this control, while it has the capture.
  bool pressed = false;
  ui::MouseButton button = ui::MouseButton::Left;
  POINT last{};
};

ControlWindows::ControlWindows(ui::ControlSet& controls, HWND window, int dpi)
    : m_controls(controls), m_window(window), m_dpi(dpi) {
  RegisterPanelClass(&PanelProc);
  m_tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  int id = kFirstControlId;
  for (ui::Control* control : controls.All()) {
    auto view = std::make_unique<View>();
    view->owner = this;
    view->control = control;
    HWND parent = control->Parent() != nullptr ? m_by_control.at(control->Parent())->hwnd : window;
    m_by_control[control] = view.get();
    Create(*view, parent, id++);
    m_by_window[view->hwnd] = view.get();
    m_views.push_back(std::move(view));
  }
}

ControlWindows::~ControlWindows() {
  for (const auto& view : m_views) {
    if (IsWindow(view->hwnd)) RemoveWindowSubclass(view->hwnd, &Subclass, kSubclassId);
    if (view->glyphs != nullptr) ImageList_Destroy(view->glyphs);
  }
  for (const auto& [colour, brush] : m_brushes) DeleteObject(brush);
}

void ControlWindows::Create(View& view, HWND parent, int id) {
  ui::Control& control = *view.control;
  const ui::ControlSpec& design = control.Design();
  const WindowKind kind = KindOf(design);
  const std::wstring text = HasCaption(design.kind) ? Wide(control.Caption()) : std::wstring();
  view.hwnd = CreateWindowExW(
      kind.ex_style, kind.window_class, text.c_str(), WS_CHILD | WS_CLIPSIBLINGS | kind.style,
      Scale(control.Left(), m_dpi), Scale(control.Top(), m_dpi), Scale(control.Width(), m_dpi),
      Scale(control.Height(), m_dpi), parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      GetModuleHandleW(nullptr), nullptr);
  if (design.kind == ui::ControlKind::Panel) {
    SetWindowLongPtrW(view.hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  } else {
    SetWindowSubclass(view.hwnd, &Subclass, kSubclassId, reinterpret_cast<DWORD_PTR>(&view));
  }
  // Children go to the bottom as they are made; creation order is stacking order, a
  // later control over an earlier one.
  SetWindowPos(view.hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (design.kind == ui::ControlKind::UpDown) {
    SendMessageW(view.hwnd, UDM_SETRANGE32, kUpDownMiddle - 1, kUpDownMiddle + 1);
    SendMessageW(view.hwnd, UDM_SETPOS32, 0, kUpDownMiddle);
  }
  if (auto* canvas = dynamic_cast<GdiCanvas*>(control.GetCanvas())) {
    canvas->OnChanged = [this, &control] { Repaint(control); };
  }
  AddTooltip(view);
  for (ui::Property property : {ui::Property::Font, ui::Property::Enabled, ui::Property::Checked,
                                ui::Property::Picture, ui::Property::Visible}) {
    Refresh(control, property);
  }
}

void ControlWindows::AddTooltip(const View& view) {
  const std::string& hint = view.control->Design().hint;
  if (hint.empty() || m_tooltip == nullptr) return;
  std::wstring text = Wide(hint);
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(view.hwnd);
  tool.uId = reinterpret_cast<UINT_PTR>(view.hwnd);
  tool.lpszText = text.data();
  SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

HWND ControlWindows::Window(const ui::Control& control) const {
  const auto it = m_by_control.find(&control);
  return it == m_by_control.end() ? nullptr : it->second->hwnd;
}

ui::Control* ControlWindows::ControlOf(HWND window) const {
  const auto it = m_by_window.find(window);
  return it == m_by_window.end() ? nullptr : it->second->control;
}

void ControlWindows::Place(const View& view) {
  const ui::Control& c = *view.control;
  SetWindowPos(view.hwnd, nullptr, Scale(c.Left(), m_dpi), Scale(c.Top(), m_dpi),
               Scale(c.Width(), m_dpi), Scale(c.Height(), m_dpi), SWP_NOZORDER | SWP_NOACTIVATE);
}

void ControlWindows::SetGlyph(View& view) {
  const ui::ControlKind kind = view.control->Kind();
  if (kind != ui::ControlKind::BitButton && kind != ui::ControlKind::SpeedButton) return;
  HIMAGELIST old = view.glyphs;
  view.glyphs = MakeGlyphImageList(view.control->GetPicture(), Scale(kGlyphSize, m_dpi),
                                   GetSysColor(COLOR_GRAYTEXT));
  BUTTON_IMAGELIST list{};
  list.himl = view.glyphs;
  if (kind == ui::ControlKind::BitButton) {
    // The glyph stands beside the caption.
    list.uAlign = BUTTON_IMAGELIST_ALIGN_LEFT;
    list.margin = {Scale(4, m_dpi), 0, 0, 0};
  } else {
    list.uAlign = BUTTON_IMAGELIST_ALIGN_CENTER;
  }
  SendMessageW(view.hwnd, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list));
  if (old != nullptr) ImageList_Destroy(old);
}

void ControlWindows::Refresh(ui::Control& control, ui::Property property) {
  const auto it = m_by_control.find(&control);
  if (it == m_by_control.end()) return;
  View& view = *it->second;
  const ui::ControlKind kind = control.Kind();
  switch (property) {
    case ui::Property::Caption:
      if (HasCaption(kind)) SetWindowTextW(view.hwnd, Wide(control.Caption()).c_str());
      if (IsOwnerDrawn(kind)) Repaint(control);
      break;
    case ui::Property::Visible:
      ShowWindow(view.hwnd, control.Visible() ? SW_SHOWNA : SW_HIDE);
      break;
    case ui::Property::Enabled:
      EnableWindow(view.hwnd, control.Enabled() ? TRUE : FALSE);
      if (IsOwnerDrawn(kind)) Repaint(control);
      break;
    case ui::Property::Bounds:
      Place(view);
      break;
    case ui::Property::Font:
      if (kind != ui::ControlKind::Panel && kind != ui::ControlKind::Bevel) {
        SendMessageW(view.hwnd, WM_SETFONT,
                     reinterpret_cast<WPARAM>(m_fonts.Get(control.GetFont(), m_dpi)), TRUE);
      }
      if (IsOwnerDrawn(kind)) Repaint(control);
      break;
    case ui::Property::Checked:
      if (kind == ui::ControlKind::CheckBox) {
        SendMessageW(view.hwnd, BM_SETCHECK, control.Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
      }
      break;
    case ui::Property::Picture:
      SetGlyph(view);
      if (IsOwnerDrawn(kind)) Repaint(control);
      break;
    case ui::Property::Position:
    case ui::Property::Focus:
      break;
  }
}

void ControlWindows::SetDpi(int dpi) {
  m_dpi = dpi;
  for (const auto& view : m_views) {
    Place(*view);
    Refresh(*view->control, ui::Property::Font);
    SetGlyph(*view);
  }
  RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
}

std::vector<const ui::Control*> ControlWindows::Siblings(const ui::Control& control) const {
  std::vector<const ui::Control*> siblings;
  for (const auto& view : m_views) {
    if (view->control->Parent() == control.Parent()) siblings.push_back(view->control);
  }
  return siblings;
}

void ControlWindows::Repaint(const ui::Control& control) {
  bool above = false;
  for (const ui::Control* sibling : Siblings(control)) {
    if (sibling == &control) above = true;
    if (!above || !IsOwnerDrawn(sibling->Kind())) continue;
    if (sibling == &control || Overlap(*sibling, control)) {
      InvalidateRect(m_by_control.at(sibling)->hwnd, nullptr, FALSE);
    }
  }
}

bool ControlWindows::Command(HWND child, WORD code) {
  ui::Control* control = ControlOf(child);
  if (control == nullptr || code != BN_CLICKED) return false;
  switch (control->Kind()) {
    case ui::ControlKind::Button:
    case ui::ControlKind::BitButton:
      control->Click();
      return true;
    case ui::ControlKind::CheckBox:
      control->Click();
      // The model may refuse the click; the mark shows what the model holds.
      SendMessageW(child, BM_SETCHECK, control->Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
      return true;
    default:
      return false;
  }
}

bool ControlWindows::Notify(const NMHDR& header, LRESULT& result) {
  if (header.code != UDN_DELTAPOS) return false;
  ui::Control* control = ControlOf(header.hwndFrom);
  if (control == nullptr) return false;
  const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
  control->UpDownClick(change.iDelta > 0);
  result = TRUE;
  return true;
}

bool ControlWindows::DrawItem(const DRAWITEMSTRUCT& item) {
  ui::Control* control = ControlOf(item.hwndItem);
  if (control == nullptr || !IsOwnerDrawn(control->Kind())) return false;
  const int width = item.rcItem.right - item.rcItem.left;
  const int height = item.rcItem.bottom - item.rcItem.top;
  // Drawn off screen and copied in one go, so a marker under the mouse never flickers.
  HDC buffer = CreateCompatibleDC(item.hDC);
  HBITMAP bitmap = CreateCompatibleBitmap(item.hDC, width, height);
  HGDIOBJ old = SelectObject(buffer, bitmap);
  PaintOwnerDrawn(buffer, PaintContext{m_fonts, m_dpi}, *control, Siblings(*control));
  BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, width, height, buffer, 0, 0, SRCCOPY);
  SelectObject(buffer, old);
  DeleteObject(bitmap);
  DeleteDC(buffer);
  return true;
}

HBRUSH ControlWindows::Brush(ui::Color color) {
  const std::uint32_t key = (color.r << 16) | (color.g << 8) | color.b;
  auto it = m_brushes.find(key);
  if (it == m_brushes.end()) it = m_brushes.emplace(key, CreateSolidBrush(ToColorRef(color))).first;
  return it->second;
}

HBRUSH ControlWindows::ControlColour(HDC dc, HWND child) {
  ui::Control* control = ControlOf(child);
  if (control == nullptr) return nullptr;
  const ui::Color background = BackgroundOf(control->Parent());
  SetBkColor(dc, ToColorRef(background));
  if (control->Enabled()) SetTextColor(dc, ToColorRef(control->FontColor()));
  return Brush(background);
}

LRESULT ControlWindows::Mouse(View& view, UINT message, WPARAM wparam, LPARAM lparam) {
  ui::Control& control = *view.control;
  // The pointer's place in the parent, in design pixels, less the control's design
  // place: one rounding whatever the scale, so a marker that moved under a pointer at
  // rest finds the pointer where its own move put it and stays (unscaling the place
  // inside the moved marker rounded twice, and at 125 % to 175 % flipped it between two
  // tops).
  POINT in_parent{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  MapWindowPoints(view.hwnd, GetParent(view.hwnd), &in_parent, 1);
  const int x = Unscale(in_parent.x, m_dpi) - control.Left();
  const int y = Unscale(in_parent.y, m_dpi) - control.Top();
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      view.pressed = true;
      view.button = ButtonOf(message);
      view.last = {x, y};
      SetCapture(view.hwnd);
      control.MouseDown(view.button, x, y);
      return 0;
    case WM_MOUSEMOVE:
      view.last = {x, y};
      // Hovering over a marker selects its point, so a label's moves count without a
      // button held; an image's only during a press.
      if (control.Kind() == ui::ControlKind::Label || view.pressed) control.MouseMove(x, y);
      return 0;
    default:
      break;
  }
  // A release ends the drag; a left release over the control is also its click.
  const ui::MouseButton button = ButtonOf(message);
  const bool was_pressed = view.pressed;
  if (!AnyButtonHeld(wparam)) {
    view.pressed = false;
    if (GetCapture() == view.hwnd) ReleaseCapture();
  }
  if (!was_pressed) return 0;
  control.MouseUp(button, x, y);
  RECT client;
  GetClientRect(view.hwnd, &client);
  const POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  if (button == ui::MouseButton::Left && PtInRect(&client, at)) control.Click();
  return 0;
}

// A speed button is pressed and released like a push button but never takes the
// focus, which stays where the keys to the form expect it.
LRESULT ControlWindows::SpeedButtonMouse(View& view, UINT message, LPARAM lparam) {
  RECT client;
  GetClientRect(view.hwnd, &client);
  const POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  const bool inside = PtInRect(&client, at) != FALSE;
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      view.pressed = true;
      SetCapture(view.hwnd);
      SendMessageW(view.hwnd, BM_SETSTATE, TRUE, 0);
      return 0;
    case WM_MOUSEMOVE:
      if (view.pressed) SendMessageW(view.hwnd, BM_SETSTATE, inside ? TRUE : FALSE, 0);
      return 0;
    case WM_LBUTTONUP:
      if (!view.pressed) return 0;
      view.pressed = false;
      ReleaseCapture();
      SendMessageW(view.hwnd, BM_SETSTATE, FALSE, 0);
      if (inside) view.control->Click();
      return 0;
    default:
      return 0;
  }
}

LRESULT ControlWindows::ChildMessage(View& view, UINT message, WPARAM wparam, LPARAM lparam) {
  const ui::ControlKind kind = view.control->Kind();
  const bool speed_button = kind == ui::ControlKind::SpeedButton;
  const bool mouse_view = IsOwnerDrawn(kind) && kind != ui::ControlKind::Bevel;
  switch (message) {
    case WM_SETFOCUS:
      // The form learns where the focus went; only buttons and the check box take it.
      view.control->SetFocus();
      break;
    case WM_ERASEBKGND:
      if (IsOwnerDrawn(kind)) return 1;
      break;
    case WM_SETCURSOR:
      if (LPCWSTR cursor = CursorOf(view.control->Design().cursor)) {
        SetCursor(LoadCursorW(nullptr, cursor));
        return TRUE;
      }
      break;
    case WM_CAPTURECHANGED:
      if (view.pressed && reinterpret_cast<HWND>(lparam) != view.hwnd) {
        // The capture was taken away (a message box, another program): the drag ends
        // where the mouse was last seen.
        view.pressed = false;
        if (speed_button) {
          SendMessageW(view.hwnd, BM_SETSTATE, FALSE, 0);
        } else {
          view.control->MouseUp(view.button, view.last.x, view.last.y);
        }
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
      if (speed_button) return SpeedButtonMouse(view, message, lparam);
      if (mouse_view) return Mouse(view, message, wparam, lparam);
      break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP:
      if (mouse_view) return Mouse(view, message, wparam, lparam);
      break;
    default:
      break;
  }
  return DefSubclassProc(view.hwnd, message, wparam, lparam);
}

LRESULT CALLBACK ControlWindows::Subclass(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                                          UINT_PTR, DWORD_PTR data) {
  auto* view = reinterpret_cast<View*>(data);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, &Subclass, kSubclassId);
    return DefSubclassProc(hwnd, message, wparam, lparam);
  }
  return view->owner->ChildMessage(*view, message, wparam, lparam);
}

LRESULT CALLBACK ControlWindows::PanelProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<ControlWindows*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd, &paint);
      if (self != nullptr) {
        if (ui::Control* panel = self->ControlOf(hwnd)) {
          RECT client;
          GetClientRect(hwnd, &client);
          PaintPanel(dc, *panel, client);
        }
      }
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      // The window acts on what the panels' children send their parent.
      if (self != nullptr) return SendMessageW(self->m_window, message, wparam, lparam);
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace win32gui
