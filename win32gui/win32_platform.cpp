#include "win32gui/win32_platform.h"

#include <commctrl.h>
#include <shlobj.h>

#include <vector>

#include "files/utf8_path.h"
#include "win32gui/main_window.h"
#include "win32gui/text.h"

namespace win32gui {

namespace {

// The second windows keep their places beside the user's preferences
// ("%APPDATA%\Palunor"); without a preferences file, for the run only.
std::filesystem::path PlaceFolder(const safekeeping::UserFolders& folders) {
  if (folders.preferences_file.empty()) return {};
  return files::PathFromUtf8(folders.preferences_file).parent_path();
}

// The user's documents folder, where logs and exported pictures go; the working folder
// when the system names none.
std::string DocumentsFolder() {
  PWSTR path = nullptr;
  std::string folder = ".";
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &path))) {
    folder = Narrow(path);
  }
  CoTaskMemFree(path);
  return folder;
}

std::string ProgramPath() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) return Narrow(std::wstring(path.data(), length));
    path.resize(path.size() * 2);
  }
}

}  // namespace

Win32Platform::Win32Platform(PortFactory make_port, std::string program_path, std::string work_dir,
                             safekeeping::UserFolders user_folders)
    : m_windows(PlaceFolder(user_folders)),
      m_platform{m_loop,
                 m_dialogs,
                 m_help,
                 m_canvases,
                 std::move(make_port),
                 std::move(program_path),
                 std::move(work_dir),
                 std::move(user_folders)} {
  m_platform.data_dir = DocumentsFolder();
  m_platform.windows = &m_windows;
}

Program::Program(ui::Variant variant, std::string program_path, std::string work_dir,
                 Win32Platform::PortFactory make_port, int show_command,
                 safekeeping::UserFolders user_folders)
    : m_platform(std::move(make_port), std::move(program_path), std::move(work_dir),
                 std::move(user_folders)),
      m_form(variant, m_platform.Get()) {
  m_form.FormCreate();
  m_window = std::make_unique<MainWindow>(m_form);
  m_platform.Dialogs().SetOwner(m_window->Handle());
  m_platform.Windows().SetAnchor(m_window->Handle());
  // The program is its main window: an open message box or dialog must not keep it
  // running, holding the port and polling the controller. The owned boxes go with
  // the window, and their loops end on the quit message.
  m_window->OnClosed = [this] {
    m_platform.Dialogs().SetOwner(nullptr);
    PostQuitMessage(0);
  };
  m_window->Show(show_command);
}

Program::~Program() {
  m_platform.Dialogs().SetOwner(nullptr);
  m_window.reset();
}

void HandleMessage(MainWindow& window, MSG& msg) {
  if (window.PreTranslate(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

int RunMessageLoop(MainWindow& window) {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) HandleMessage(window, msg);
  return static_cast<int>(msg.wParam);
}

int RunProgram(ui::Variant variant, int show_command) {
  const INITCOMMONCONTROLSEX classes{
      sizeof(INITCOMMONCONTROLSEX),
      ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
  Program program(variant, ProgramPath(), ".", serial::MakeSystemPort, show_command,
                  safekeeping::SystemUserFolders());
  return RunMessageLoop(program.Window());
}

}  // namespace win32gui
