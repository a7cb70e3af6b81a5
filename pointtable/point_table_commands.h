// The point table's group of the context menu: "Edit points..." opens the table of
// both curves, "Import CSV..." and "Export CSV..." move them to and from a
// spreadsheet. Each edit replaces both working curves at once through the window's
// whole-edit step; nothing is exchanged with the controller.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>

#include "map/curve_model.h"
#include "ui/dialogs.h"
#include "ui/menu.h"
#include "ui/variant.h"

namespace pointtable {

class PointTableCommands {
 public:
  // Applies new values for both working curves as one step of the user, then shows
  // them as the editor does after an edit.
  using ApplyCurves = std::function<void(const std::array<map::Curve, 2>&)>;

  // The file dialogs start in `work_dir`, where relative names are also resolved.
  PointTableCommands(ui::Variant variant, map::CurveModel& model, ui::Dialogs& dialogs,
                     std::string work_dir, ApplyCurves apply);
  PointTableCommands(const PointTableCommands&) = delete;
  PointTableCommands& operator=(const PointTableCommands&) = delete;

  // Adds the group, after a separator when the menu already holds commands.
  void AddTo(ui::CommandMenu& menu);

  void EditPoints();
  void ImportCsv();
  void ExportCsv();

 private:
  ui::FileDialogRequest Request(const char* title, const std::string& file_name) const;
  std::filesystem::path Resolve(const std::string& name) const;
  void Apply(const std::array<map::Curve, 2>& curves);
  void ShowError(const std::string& text);

  ui::Variant m_variant;
  map::CurveModel& m_model;
  ui::Dialogs& m_dialogs;
  std::string m_work_dir;
  ApplyCurves m_apply;
  std::string m_import_name;  // each dialog keeps the name chosen last
  std::string m_export_name;
};

}  // namespace pointtable
