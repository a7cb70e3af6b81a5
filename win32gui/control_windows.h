// The platform's own control for every control of the form, as a child window with
// control ID kFirstControlId + its index: push buttons, check box and up-down of the
// system, owner-painted statics for labels, images and bevels, panel windows for the
// containers. Each mirrors its ui::Control and hands the user's actions back to it:
// button clicks, the check box's clicks without toggling itself, the up-down's arrows,
// and the mouse on labels and images, captured while a button is held so that a
// marker dragged outside the window keeps following the mouse.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "ui/control.h"
#include "win32gui/fonts.h"

namespace win32gui {

class ControlWindows {
 public:
  // Makes the children of `window` at `dpi` in creation order, a later one over an
  // earlier one, each in its control's present state.
  ControlWindows(ui::ControlSet& controls, HWND window, int dpi);
  ~ControlWindows();
  ControlWindows(const ControlWindows&) = delete;
  ControlWindows& operator=(const ControlWindows&) = delete;

  // The child window of a control, or null.
  HWND Window(const ui::Control& control) const;
  // The control of a child window, or null.
  ui::Control* ControlOf(HWND window) const;

  // Brings the child up to date with one changed property of its control.
  void Refresh(ui::Control& control, ui::Property property);
  // Lays every child out again, with fonts and glyphs, for a new DPI.
  void SetDpi(int dpi);

  // Messages the children send their parent, passed on by the window and the panels;
  // each returns whether it acted.
  bool Command(HWND child, WORD code);
  bool Notify(const NMHDR& header, LRESULT& result);
  bool DrawItem(const DRAWITEMSTRUCT& item);
  // The background brush of a check box or button (WM_CTLCOLORSTATIC/BTN), or null.
  HBRUSH ControlColour(HDC dc, HWND child);

 private:
  struct View;

  void Create(View& view, HWND parent, int id);
  void Place(const View& view);
  void SetGlyph(View& view);
  void AddTooltip(const View& view);
  // Repaints an owner-painted control and the owner-painted ones over it, which show
  // it through.
  void Repaint(const ui::Control& control);
  std::vector<const ui::Control*> Siblings(const ui::Control& control) const;
  HBRUSH Brush(ui::Color color);
  LRESULT ChildMessage(View& view, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Mouse(View& view, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT SpeedButtonMouse(View& view, UINT message, LPARAM lparam);

  static LRESULT CALLBACK Subclass(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                                   UINT_PTR id, DWORD_PTR data);
  static LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

  ui::ControlSet& m_controls;
  HWND m_window;
  int m_dpi;
  FontCache m_fonts;
  HWND m_tooltip = nullptr;
  std::vector<std::unique_ptr<View>> m_views;
  std::map<const ui::Control*, View*> m_by_control;
  std::map<HWND, View*> m_by_window;
  std::map<std::uint32_t, HBRUSH> m_brushes;
};

}  // namespace win32gui
