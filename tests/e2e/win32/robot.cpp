// The robot: drives one Windows program from another process, as a user at its window
// would, for the e2e suite on the Linux side (windows_programs_test.py). It reads one
// command a line on stdin, fields separated by tabs, and answers each with one line:
// "ok" and the values, or "error" and why, tab-separated, with backslash, tab, CR and
// LF escaped as \\ \t \r \n.
//
//   start    Palunor6|Palunor EXE WORKDIR   the program started, its window shown
//   caption                                 the window's title
//   text|shown|enabled NAME                 a control's text, visibility (1/0), state
//   click    NAME                           a left click in its middle (shown, enabled)
//   rclick   NAME                           a right click in its middle
//   menukey  CHAR|escape                    waits for the popup menu, presses the item's
//                                           access key (or Escape), waits until it closes
//   table                                   waits for a table dialog: its title and rows
//   tableselect FIRST LAST                  selects its rows FIRST to LAST (from 0)
//   tablevalue TEXT                         types TEXT into its value box
//   tablebutton CAPTION|OK                  presses an action button, or "OK"; after
//                                           "OK" waits until the dialog has closed
//   arrow    NAME up|down                   a click on an up-down control's arrow
//   drag     NAME DY                        a marker dragged DY pixels down (up if < 0)
//   key      up|down|left|right|space|tab|enter|CODE [COUNT]
//   position NAME                           its left and top in its parent
//   curve                                   the 26 values the markers stand at
//   modal                                   kind, title and text of the modal window
//   message  ok|cancel|yes|no               waits for a message box and answers it
//   file     PATH                           waits for a file dialog and enters PATH
//   settings PORT                           waits for "Settings", chooses PORT, Ok
//   close    [MS]                           WM_CLOSE; the exit code once it has ended, or
//                                           -1 when it still runs after MS (10 s)
//   quit
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "map/marker.h"
#include "tests/e2e/win32/menus_and_tables.h"
#include "tests/e2e/win32/modal_windows.h"
#include "tests/e2e/win32/program_window.h"
#include "win32gui/text.h"

namespace {

using robot::Modal;
using robot::ModalKind;
using robot::ProgramWindow;

// Long enough for a modal window to appear after the click that opens it, and for one
// to close after it is answered.
constexpr DWORD kModalLimitMs = 5000;
constexpr DWORD kCloseLimitMs = 10000;

std::string Escaped(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '\\':
        escaped += "\\\\";
        break;
      case '\t':
        escaped += "\\t";
        break;
      case '\r':
        escaped += "\\r";
        break;
      case '\n':
        escaped += "\\n";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
  return fields;
}

UINT VirtualKey(const std::string& name) {
  static const std::map<std::string, UINT> keys = {
      {"up", VK_UP},       {"down", VK_DOWN}, {"left", VK_LEFT},    {"right", VK_RIGHT},
      {"space", VK_SPACE}, {"tab", VK_TAB},   {"enter", VK_RETURN}, {"escape", VK_ESCAPE}};
  const auto found = keys.find(name);
  if (found != keys.end()) return found->second;
  return static_cast<UINT>(std::strtoul(name.c_str(), nullptr, 10));
}

const char* KindName(ModalKind kind) {
  switch (kind) {
    case ModalKind::None:
      return "none";
    case ModalKind::MessageBox:
      return "message";
    case ModalKind::FileDialog:
      return "file";
    case ModalKind::Settings:
      return "settings";
    case ModalKind::Other:
      return "other";
  }
  return "other";
}

class Robot {
 public:
  // The answer to one command: values joined by tabs after "ok", or the error.
  std::string Run(const std::vector<std::string>& f) {
    const std::string& command = f.front();
    if (command == "start") return Start(f);
    if (!m_program || !m_program->Started()) return "error\tno program";
    if (command == "caption") return Ok({m_program->Caption()});
    if (command == "modal") {
      const Modal modal = robot::CurrentModal(m_program->ThreadId());
      return Ok({KindName(modal.kind), modal.title, modal.text});
    }
    if (command == "curve") return Curve();
    if (command == "table") return Table();
    if (command == "close") {
      const DWORD limit = f.size() > 1 ? std::stoul(f[1]) : kCloseLimitMs;
      return Ok({std::to_string(m_program->Close(limit))});
    }
    if (f.size() < 2) return "error\tmissing argument";
    if (command == "message") return AnswerMessage(f[1]);
    if (command == "file") return AnswerFile(f[1]);
    if (command == "settings") return AnswerSettings(f[1]);
    if (command == "menukey") return MenuKey(f[1]);
    if (command == "tablevalue" || command == "tablebutton" || command == "tableselect") {
      return TableInput(f);
    }
    if (command == "key") {
      const int count = f.size() > 2 ? std::stoi(f[2]) : 1;
      for (int i = 0; i < count; ++i) m_program->Key(VirtualKey(f[1]));
      return "ok";
    }
    HWND control = m_program->Control(f[1]);
    if (control == nullptr) return "error\tno control " + f[1];
    if (command == "text") return Ok({ProgramWindow::Text(control)});
    if (command == "shown") return Ok({IsWindowVisible(control) ? "1" : "0"});
    if (command == "enabled") return Ok({IsWindowEnabled(control) ? "1" : "0"});
    if (command == "position") {
      const POINT at = m_program->Position(control);
      return Ok({std::to_string(at.x), std::to_string(at.y)});
    }
    // A user can only click what is there to click, and nothing of the main window
    // while a modal window is shown.
    if (!IsWindowEnabled(m_program->Window())) return "error\ta modal window is shown";
    if (!IsWindowVisible(control)) return "error\thidden " + f[1];
    if (!IsWindowEnabled(control)) return "error\tdisabled " + f[1];
    if (command == "click") {
      m_program->Click(control);
      return "ok";
    }
    if (command == "rclick") {
      m_program->RightClick(control);
      return "ok";
    }
    if (command == "arrow" && f.size() > 2) {
      m_program->ClickArrow(control, f[2] == "up");
      return "ok";
    }
    if (command == "drag" && f.size() > 2) {
      return m_program->Drag(control, std::stoi(f[2])) ? "ok" : "error\tdrag not handled";
    }
    return "error\tunknown command " + command;
  }

 private:
  static std::string Ok(const std::vector<std::string>& values) {
    std::string answer = "ok";
    for (const std::string& value : values) answer += "\t" + Escaped(value);
    return answer;
  }

  std::string Start(const std::vector<std::string>& f) {
    if (f.size() < 4) return "error\tstart VARIANT EXE WORKDIR";
    const ui::Variant variant = f[1] == "Palunor" ? ui::Variant::Palunor : ui::Variant::Palunor6;
    m_program.reset();
    m_program =
        std::make_unique<ProgramWindow>(variant, win32gui::Wide(f[2]), win32gui::Wide(f[3]));
    if (!m_program->Started()) {
      if (HWND dialog = m_program->FindDialog(); dialog != nullptr) {
        const Modal modal = robot::CurrentModal(GetWindowThreadProcessId(dialog, nullptr));
        return "error\t\"" + modal.title + "\" came before the window: " + modal.text;
      }
      return "error\tno window of " + f[2] + ": " + m_program->Describe();
    }
    return "ok";
  }

  std::string Curve() {
    std::string values;
    for (int p = 1; p <= 26; ++p) {
      HWND marker = m_program->Control("Lb" + std::to_string(p));
      if (marker == nullptr) return "error\tno marker Lb" + std::to_string(p);
      if (!values.empty()) values += " ";
      values += std::to_string(map::ValueOfTop(m_program->Position(marker).y));
    }
    return Ok({values});
  }

  std::string AnswerMessage(const std::string& button) {
    const Modal box =
        robot::WaitForModal(m_program->ThreadId(), ModalKind::MessageBox, kModalLimitMs);
    if (box.kind != ModalKind::MessageBox) return "error\tno message box";
    if (!robot::PressMessageBoxButton(box, button)) return "error\tno button " + button;
    if (!robot::WaitUntilClosed(box, kModalLimitMs)) return "error\tmessage box stays";
    return Ok({box.title, box.text});
  }

  std::string AnswerFile(const std::string& path) {
    const Modal dialog =
        robot::WaitForModal(m_program->ThreadId(), ModalKind::FileDialog, kModalLimitMs);
    if (dialog.kind != ModalKind::FileDialog) return "error\tno file dialog";
    if (!robot::EnterFileName(dialog, win32gui::Wide(path))) return "error\tno file name field";
    if (!robot::WaitUntilClosed(dialog, kModalLimitMs)) return "error\tfile dialog stays";
    return Ok({dialog.title});
  }

  std::string AnswerSettings(const std::string& port) {
    const Modal dialog =
        robot::WaitForModal(m_program->ThreadId(), ModalKind::Settings, kModalLimitMs);
    if (dialog.kind != ModalKind::Settings) return "error\tno settings dialog";
    if (!robot::ChoosePort(dialog, win32gui::Wide(port))) return "error\tno port list";
    if (!robot::WaitUntilClosed(dialog, kModalLimitMs)) return "error\tsettings dialog stays";
    return Ok({dialog.title});
  }

  std::string MenuKey(const std::string& key) {
    HWND menu = robot::WaitForPopupMenu(m_program->ThreadId(), kModalLimitMs);
    if (menu == nullptr) return "error\tno popup menu";
    robot::PressMenuKey(menu, key == "escape" ? VK_ESCAPE : static_cast<wchar_t>(key.front()));
    if (!robot::WaitUntilMenuClosed(m_program->ThreadId(), kModalLimitMs)) {
      return "error\tpopup menu stays";
    }
    return "ok";
  }

  // The dialog shown now, if it is a table.
  std::optional<Modal> TableDialog() {
    Modal dialog;
    const bool shown = robot::WaitUntil(
        [&] {
          dialog = robot::CurrentModal(m_program->ThreadId());
          return dialog.kind == ModalKind::Other && robot::IsTable(dialog.window);
        },
        kModalLimitMs);
    if (!shown) return std::nullopt;
    return dialog;
  }

  std::string Table() {
    const std::optional<Modal> dialog = TableDialog();
    if (!dialog) return "error\tno table dialog";
    std::vector<std::string> values{dialog->title};
    for (const std::string& row : robot::TableRows(dialog->window)) values.push_back(row);
    return Ok(values);
  }

  std::string TableInput(const std::vector<std::string>& f) {
    const std::optional<Modal> dialog = TableDialog();
    if (!dialog) return "error\tno table dialog";
    if (f[0] == "tablevalue") {
      return robot::SetTableValue(dialog->window, f[1]) ? "ok" : "error\tno value box";
    }
    if (f[0] == "tableselect") {
      const int last = f.size() > 2 ? std::stoi(f[2]) : std::stoi(f[1]);
      if (!robot::SelectTableRows(dialog->window, std::stoi(f[1]), last)) {
        return "error\tno such rows";
      }
      return "ok";
    }
    if (!robot::PressTableButton(dialog->window, f[1])) return "error\tno button " + f[1];
    if (f[1] == "OK" && !robot::WaitUntilClosed(*dialog, kModalLimitMs)) {
      return "error\ttable dialog stays";
    }
    return "ok";
  }

  std::unique_ptr<ProgramWindow> m_program;
};

}  // namespace

int main() {
  // Answers go to a pipe: no CR before each LF, and each line at once.
  _setmode(_fileno(stdout), _O_BINARY);
  Robot robot;
  for (std::string line; std::getline(std::cin, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::vector<std::string> fields = Fields(line);
    if (fields.empty()) continue;
    if (fields.front() == "quit") break;
    std::string answer = robot.Run(fields);
    if (answer.starts_with("error\t")) answer = "error\t" + Escaped(answer.substr(6));
    std::fwrite(answer.data(), 1, answer.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
  }
  return 0;
}
