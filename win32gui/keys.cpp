#include "win32gui/keys.h"

#include <cctype>
#include <vector>

namespace win32gui {

namespace {

bool IsButton(const ui::Control& control) {
  return control.Kind() == ui::ControlKind::Button || control.Kind() == ui::ControlKind::BitButton;
}

bool CanFocus(const ui::Control& control) {
  return (IsButton(control) || control.Kind() == ui::ControlKind::CheckBox) && control.Showing() &&
         control.Enabled();
}

bool AutoRepeat(const MSG& msg) {
  return (msg.lParam & (1L << 30)) != 0;
}

bool AltHeld(const MSG& msg) {
  return (msg.lParam & (1L << 29)) != 0;
}

}  // namespace

wchar_t Accelerator(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    const auto c = static_cast<unsigned char>(caption[i + 1]);
    return c < 0x80 ? static_cast<wchar_t>(std::toupper(c)) : 0;
  }
  return 0;
}

KeyAction KeyRouter::Route(const MSG& msg) {
  switch (msg.message) {
    case WM_KEYDOWN:
      return KeyDown(msg);
    case WM_SYSKEYDOWN:
      return SystemKeyDown(msg);
    case WM_CHAR:
      return Character(msg);
    default:
      return KeyAction::Dispatch;
  }
}

KeyAction KeyRouter::KeyDown(const MSG& msg) {
  const auto key = static_cast<int>(msg.wParam);
  if (Shortcut(key)) return KeyAction::Consumed;
  if (key == VK_TAB) {
    MoveFocus(GetKeyState(VK_SHIFT) >= 0);
    return KeyAction::Consumed;
  }
  if (ui::Control* focus = m_form.Controls().Focus()) {
    // With a control focused, the arrows step between controls and Enter presses the
    // focused button before the control's own key handling sees them.
    if (key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN) {
      MoveFocus(key == VK_RIGHT || key == VK_DOWN);
      return KeyAction::Consumed;
    }
    if (key == VK_RETURN && IsButton(*focus)) {
      if (!AutoRepeat(msg)) focus->Click();
      return KeyAction::Consumed;
    }
  }
  // Virtual-key codes are the design's key numbers.
  int code = key;
  m_form.KeyDown(code);
  return code == 0 ? KeyAction::TranslateOnly : KeyAction::Dispatch;
}

// Alt combinations belong to the system (Alt+F4, Alt+Space) unless they are a
// caption's accelerator.
KeyAction KeyRouter::SystemKeyDown(const MSG& msg) {
  // F10 comes as a system key: Shift+F10 opens the context menu.
  if (msg.wParam == VK_F10 && !AltHeld(msg) && Shortcut(VK_F10)) return KeyAction::Consumed;
  const auto key = static_cast<wchar_t>(msg.wParam);
  const bool letter_or_digit = (key >= L'A' && key <= L'Z') || (key >= L'0' && key <= L'9');
  if (AltHeld(msg) && letter_or_digit && PressAccelerator(key)) return KeyAction::Consumed;
  return KeyAction::Dispatch;
}

KeyAction KeyRouter::Character(const MSG& msg) {
  int code = static_cast<int>(msg.wParam);
  m_form.KeyPress(code);
  return code == 0 ? KeyAction::Consumed : KeyAction::Dispatch;
}

bool KeyRouter::Shortcut(int key) {
  const ui::KeyChord chord{key, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0};
  return m_form.ShortcutKey(chord);
}

void KeyRouter::MoveFocus(bool forward) {
  std::vector<ui::Control*> chain;
  for (ui::Control* control : m_form.Controls().All()) {
    if (CanFocus(*control)) chain.push_back(control);
  }
  if (chain.empty()) return;
  const ui::Control* focus = m_form.Controls().Focus();
  std::size_t at = forward ? chain.size() - 1 : 0;
  for (std::size_t i = 0; i < chain.size(); ++i) {
    if (chain[i] == focus) at = i;
  }
  const std::size_t next =
      forward ? (at + 1) % chain.size() : (at + chain.size() - 1) % chain.size();
  chain[next]->SetFocus();
}

bool KeyRouter::PressAccelerator(wchar_t key) {
  for (ui::Control* control : m_form.Controls().All()) {
    if (!CanFocus(*control) || Accelerator(control->Caption()) != key) continue;
    control->SetFocus();
    control->Click();
    return true;
  }
  return false;
}

}  // namespace win32gui
