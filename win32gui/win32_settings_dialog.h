// The port settings dialog on Windows: "Settings", 314 x 206 at 96 DPI, centred on
// the desktop, the pages "Base Settings", "Flow Control" and "Device Control" of a tab
// control, and "Ok" (the default button) and "Cancel" (Escape) beside them. "Ok" hands
// the values to the core, which keeps the dialog open when it refuses them.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <optional>

#include "ui/dialogs.h"

namespace win32gui {

class Win32SettingsDialog {
 public:
  explicit Win32SettingsDialog(const ui::SettingsRequest& request);

  // Shows the dialog modally over `owner`: the values it closed with after an
  // accepted "Ok", or nothing when the user cancels.
  std::optional<ui::SettingsValues> Run(HWND owner);

  // Called with the dialog window once its controls are filled, before it shows.
  std::function<void(HWND)> OnOpen;

  static constexpr int kWidth = 314;
  static constexpr int kHeight = 206;

 private:
  static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void Build(HWND window);
  void FitTabs(HWND pages, HFONT font, int min_padding);
  void Fill();
  void CentreOnDesktop(HWND owner);
  void ShowPage(int page);
  void OkButtonClick();
  // The values the lists hold now.
  ui::SettingsValues Values() const;
  HWND Item(int id) const { return GetDlgItem(m_window, id); }

  ui::SettingsRequest m_request;
  HWND m_window = nullptr;
  HWND m_owner = nullptr;
  // The tab control's own font when the dialog's is too wide for its tabs.
  HFONT m_tab_font = nullptr;
  std::optional<ui::SettingsValues> m_result;
};

}  // namespace win32gui
