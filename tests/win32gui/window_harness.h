// A whole program window for tests: the form of one variant on headless seams (an
// in-memory serial device, the virtual clock, scripted dialogs, a recording help
// viewer) with GDI canvases, in a scratch folder, and the real Win32 window over it.
#pragma once

#include <windows.h>
// ui::Dialogs::MessageBox is a member of the core's interface, not the ANSI/wide macro.
#undef MessageBox

#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "files/utf8_path.h"
#include "shell/form.h"
#include "shell/platform.h"
#include "testing/memory_port.h"
#include "testing/recording_help_viewer.h"
#include "testing/scripted_dialogs.h"
#include "testing/virtual_clock.h"
#include "win32gui/gdi_canvas.h"
#include "win32gui/main_window.h"
#include "win32gui/win32_platform.h"

namespace win32gui_test {

// A folder of its own under the temporary folder, removed with its contents. Its name
// is Cyrillic, as a Bulgarian user's folders are, so every window test runs where no
// ANSI code page of a Western system reaches.
class ScratchDir {
 public:
  ScratchDir() {
    std::random_device random;
    m_path = std::filesystem::temp_directory_path() /
             files::PathFromUtf8("Иван-palunor-win32gui-" + std::to_string(random()));
    std::filesystem::create_directories(m_path);
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::filesystem::path& Path() const { return m_path; }

 private:
  std::filesystem::path m_path;
};

// The form after its start-up on the headless seams, with GDI canvases, in a scratch
// folder; no window.
struct HeadlessForm {
  explicit HeadlessForm(ui::Variant variant)
      : platform{clock,
                 dialogs,
                 help,
                 canvases,
                 [device = device] { return std::make_unique<serial::MemoryPort>(device); },
                 files::Utf8FromPath(dir.Path() / "Palunor.exe"),
                 files::Utf8FromPath(dir.Path())},
        form(variant, platform) {
    form.FormCreate();
  }

  ScratchDir dir;
  std::shared_ptr<serial::MemoryDevice> device = std::make_shared<serial::MemoryDevice>();
  ui::VirtualClock clock;
  ui::ScriptedDialogs dialogs;
  ui::RecordingHelpViewer help;
  win32gui::GdiCanvasFactory canvases;
  shell::Platform platform;
  shell::TForm1 form;
};

// The same form with its real Win32 window.
struct WindowForm : HeadlessForm {
  explicit WindowForm(ui::Variant variant)
      : HeadlessForm(variant), window(std::make_unique<win32gui::MainWindow>(form)) {}

  HWND Child(const std::string& name) const { return window->Child(name); }

  // Handles every message waiting for this thread, as the program's loop would.
  void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) win32gui::HandleMessage(*window, msg);
  }

  // Posts a message to the named control's child (empty name: the window) and handles it.
  void Post(const std::string& name, UINT message, WPARAM wparam, LPARAM lparam) {
    PostMessageW(name.empty() ? window->Handle() : Child(name), message, wparam, lparam);
    Pump();
  }

  // Shows the window and makes it the active one, as the user would find it.
  void ShowActive() {
    window->Show(SW_SHOWNORMAL);
    SetForegroundWindow(window->Handle());
    SetActiveWindow(window->Handle());
    Pump();
  }

  std::unique_ptr<win32gui::MainWindow> window;
};

// Mouse coordinates as a message carries them.
inline LPARAM At(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(x)),
                    static_cast<WORD>(static_cast<SHORT>(y)));
}

}  // namespace win32gui_test
