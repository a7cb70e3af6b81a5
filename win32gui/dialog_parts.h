// What the program's own dialogs are built from: an empty in-memory template (the
// controls are laid out in pixels once the window knows its DPI), children in the
// dialog's font, and window texts as UTF-8.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace win32gui {

// A dialog template without controls: the frame, its title and the system's dialog font.
std::vector<WORD> EmptyDialogTemplate(DWORD style, const std::wstring& title);

// Runs a modal dialog from EmptyDialogTemplate; `self` reaches WM_INITDIALOG as lparam.
INT_PTR RunDialog(HWND owner, DWORD style, const std::wstring& title, DLGPROC proc, void* self);

// Design pixels (96 DPI) on the dialog's screen.
class DialogScale {
 public:
  explicit DialogScale(HWND window);
  int operator()(int design) const { return MulDiv(design, m_dpi, 96); }
  int Dpi() const { return m_dpi; }

 private:
  int m_dpi;
};

// Sizes the dialog so that its client area is `width` x `height` design pixels.
void SizeClientArea(HWND dialog, DWORD style, const DialogScale& px, int width, int height);
// Moves the dialog to the middle of its owner (of the work area without one), as the
// system's message boxes stand.
void CentreOverOwner(HWND dialog);

// A child control of the dialog in the dialog's font.
HWND AddChild(HWND dialog, const wchar_t* type, const std::wstring& text, DWORD style, int id);

void SetText(HWND window, const std::string& text);
std::string Text(HWND window);

}  // namespace win32gui
