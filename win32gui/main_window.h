// The main window on Windows: a fixed-size window of class "PalunorMainWindow" with
// one child window per control of the form, bound both ways, and the window events
// (activation, closing, keys, focus, DPI changes) delivered to the form.
#pragma once

#include <windows.h>
// ui::Dialogs::MessageBox is a member of the core's interface, not the ANSI/wide macro.
#undef MessageBox

#include <functional>
#include <memory>
#include <string>

#include "shell/form.h"
#include "win32gui/control_windows.h"
#include "win32gui/keys.h"

namespace win32gui {

inline constexpr wchar_t kMainWindowClass[] = L"PalunorMainWindow";

class MainWindow {
 public:
  // Creates the window and its children, not yet shown.
  explicit MainWindow(shell::TForm1& form);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  HWND Handle() const { return m_hwnd; }
  // The child window of the named control, or null.
  HWND Child(const std::string& name) const;

  // Shows the window; the form's start-up activation follows once the window is on
  // screen.
  void Show(int show_command);

  // A message taken from the queue, before it is translated and dispatched: true when
  // the window consumed it (the keys of the form).
  bool PreTranslate(MSG& msg);

  // Runs once the window is gone, after the form has written its configuration.
  std::function<void()> OnClosed;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void Changed(ui::Control& control, ui::Property property);
  // The window focus follows the form's: the focused control's child, or the window.
  void FocusChanged();
  void DpiChanged(int dpi, const RECT& suggested);
  RECT FrameFor(int dpi) const;

  shell::TForm1& m_form;
  HWND m_hwnd = nullptr;
  int m_dpi = 96;
  std::unique_ptr<ControlWindows> m_children;
  KeyRouter m_keys;
  bool m_closed = false;
  // The form's observers outlive the window: they reach it only while it exists.
  std::shared_ptr<MainWindow*> m_alive = std::make_shared<MainWindow*>(this);
};

}  // namespace win32gui
