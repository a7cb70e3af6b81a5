// The second window on Windows: a resizable top-level window owned by the main window,
// with the core's buttons in a row, a GDI canvas filling the rest (drawn in design
// pixels and stretched to the screen's DPI, as the main window's images are) that
// reports the pointer, the wheel and dragging, and a status line. It opens beside the
// main window the first time and where the user left it afterwards, in this run and
// the next.
#pragma once

#include <windows.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/second_window.h"
#include "win32gui/gdi_canvas.h"

namespace win32gui {

class Win32SecondWindow : public ui::SecondWindow {
 public:
  // `place_file` keeps the window's place and size between runs (empty: not kept);
  // `beside` owns the window and is the window it opens next to when it has no place.
  Win32SecondWindow(std::filesystem::path place_file, HWND beside);
  ~Win32SecondWindow() override;
  Win32SecondWindow(const Win32SecondWindow&) = delete;
  Win32SecondWindow& operator=(const Win32SecondWindow&) = delete;

  void Show() override;
  bool Visible() const override;
  void SetTitle(const std::string& title) override;
  void SetButtons(const std::vector<std::string>& captions) override;
  void SetStatus(const std::string& text) override;
  ui::Canvas& GetCanvas() override { return *m_canvas; }
  std::string PngBytes() override;

  HWND Handle() const { return m_hwnd; }
  // The button with this index, the status line: for tests.
  HWND Button(std::size_t index) const;
  HWND StatusLine() const { return m_status; }
  // The canvas's place in the client area, in screen pixels.
  RECT CanvasArea() const;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Message(UINT message, WPARAM wparam, LPARAM lparam);
  int Scale(int design) const { return MulDiv(design, m_dpi, 96); }
  void MakeFont();
  // Places the buttons and the status line and, when the canvas area has a new size,
  // makes a new canvas for it and tells the core.
  void Layout();
  ui::Point ToCanvas(POINT client) const;
  void Pointer(UINT message, WPARAM wparam, POINT client);
  bool PressAccessKey(wchar_t key);
  void KeepPlace() const;
  void RestorePlace();

  std::filesystem::path m_place_file;
  HWND m_beside;
  HWND m_hwnd = nullptr;
  HWND m_status = nullptr;
  std::vector<HWND> m_buttons;
  std::vector<std::string> m_captions;
  HFONT m_font = nullptr;
  int m_dpi = 96;
  bool m_placed = false;
  bool m_maximised = false;
  // Shown by the core and not closed by the user since.
  bool m_shown = false;
  std::unique_ptr<GdiCanvas> m_canvas = std::make_unique<GdiCanvas>(1, 1);
  int m_drag_x = 0;
  int m_wheel = 0;  // wheel delta not yet a whole step
};

class Win32WindowFactory : public ui::WindowFactory {
 public:
  // `config_dir`: the folder the windows' places are kept in; empty, they are not kept.
  explicit Win32WindowFactory(std::filesystem::path config_dir = {})
      : m_config_dir(std::move(config_dir)) {}
  std::unique_ptr<ui::SecondWindow> MakeWindow(const std::string& name) override;
  // The main window that owns the second windows and that they open beside.
  void SetAnchor(HWND window) { m_anchor = window; }

 private:
  std::filesystem::path m_config_dir;
  HWND m_anchor = nullptr;
};

}  // namespace win32gui
