// The editor's window with the map file commands, scripted dialogs and a scratch
// folder of its own as the program's current directory.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "map/map_commands.h"
#include "map/test_controls.h"
#include "testing/scripted_dialogs.h"

namespace model_test {

inline std::filesystem::path ScratchFolder() {
  std::random_device random;
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("palunor-map-" + std::to_string(random()));
  std::filesystem::create_directories(dir);
  return dir;
}

inline std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

struct MapWindow : EditorWindow {
  explicit MapWindow(ui::Variant v) : EditorWindow(v) { editor.Updatesc(); }
  ~MapWindow() {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }
  MapWindow(const MapWindow&) = delete;
  MapWindow& operator=(const MapWindow&) = delete;

  // The user picks `name` in the save dialog and presses Save.
  void SaveAs(const std::string& name) {
    dialogs.AnswerFile(name);
    controls["SaveBut"].Click();
  }
  void Open(const std::string& name) {
    dialogs.AnswerFile(name);
    controls["OpenBut"].Click();
  }
  // Message boxes shown so far, oldest first.
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& shown : dialogs.History()) {
      if (shown.kind == "MessageBox") texts.push_back(shown.text);
    }
    return texts;
  }

  std::filesystem::path dir = ScratchFolder();
  ui::ScriptedDialogs dialogs;
  map::MapCommands commands{variant, controls, model, editor, dialogs, dir.string()};
};

}  // namespace model_test
