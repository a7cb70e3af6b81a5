// The map file commands of the command column: Save writes both working curves to a
// map file chosen in a save dialog, Open replaces them with the curves of a file
// chosen in an open dialog. Nothing is exchanged with the controller.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "map/curve_editor.h"
#include "map/curve_model.h"
#include "ui/control.h"
#include "ui/dialogs.h"
#include "ui/variant.h"

namespace map {

class MapCommands {
 public:
  // Binds OpenBut and SaveBut. Both dialogs start in `work_dir`, the program's
  // current directory, where relative names are also resolved.
  MapCommands(ui::Variant variant, ui::ControlSet& controls, CurveModel& model, CurveEditor& editor,
              ui::Dialogs& dialogs, std::string work_dir);
  MapCommands(const MapCommands&) = delete;
  MapCommands& operator=(const MapCommands&) = delete;

  void SaveButClick();
  // The curves of the file replace both working curves; the curve shown before stays
  // shown, with point 1 selected. The controller's copy and the pending marks keep
  // describing the state before the load until the next edit checks them.
  void OpenButClick();

  // Both working curves as they are with the map file at `path` read over them, or
  // nothing when it cannot be read (the user has been told why). Nothing changes.
  std::optional<std::array<Curve, 2>> Load(const std::filesystem::path& path);
  // The map just opened holds points the controller would not take: the user is told
  // which at once, not only when Send refuses them.
  void WarnOutOfLimits();
  // Runs before an Open replaces the working curves, once the file has been read.
  std::function<void()> BeforeEdit;

  // More than a map file ever holds; the rest of a larger file is not read.
  static constexpr std::size_t kReadLimit = 64 * 1024;

 private:
  ui::FileDialogRequest Request(const char* title, std::string filter,
                                const std::string& file_name) const;
  std::filesystem::path Resolve(const std::string& name) const;
  void ShowError(std::error_code error, const std::filesystem::path& path);

  ui::Variant m_variant;
  CurveModel& m_model;
  CurveEditor& m_editor;
  ui::Dialogs& m_dialogs;
  ui::Control& m_label34;
  ui::Control& m_label35;
  std::string m_work_dir;
  std::string m_open_name;  // each dialog keeps the name chosen last
  std::string m_save_name;
};

}  // namespace map
