// The keyboard of the main window, seen before a key message is dispatched: Tab and,
// with a control focused, the arrows move the focus along the controls in creation
// order; Enter presses the focused button; Alt with a caption's accelerator presses
// that button; every other key reaches the form as a virtual-key code (key-down) and
// a character code (key-press), which may consume it before the focused control sees
// it.
#pragma once

#include <windows.h>
// ui::Dialogs::MessageBox is a member of the core's interface, not the ANSI/wide macro.
#undef MessageBox

#include <string>

#include "shell/form.h"

namespace win32gui {

enum class KeyAction {
  Dispatch,       // not consumed: translate and dispatch as usual
  TranslateOnly,  // the control must not see the key, but its character still comes
  Consumed,       // done with: neither translated nor dispatched
};

// The accelerator of a caption: the upper-case character after a single '&', or 0.
wchar_t Accelerator(const std::string& caption);

class KeyRouter {
 public:
  explicit KeyRouter(shell::TForm1& form) : m_form(form) {}

  // A keyboard message whose target is the window or one of its children.
  KeyAction Route(const MSG& msg);

 private:
  KeyAction KeyDown(const MSG& msg);
  KeyAction SystemKeyDown(const MSG& msg);
  KeyAction Character(const MSG& msg);
  // The key with the modifiers held now, offered to the form's shortcuts first.
  bool Shortcut(int key);
  void MoveFocus(bool forward);
  bool PressAccelerator(wchar_t key);

  shell::TForm1& m_form;
};

}  // namespace win32gui
