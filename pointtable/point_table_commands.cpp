#include "pointtable/point_table_commands.h"

#include "files/read_file.h"
#include "files/replace_file.h"
#include "files/utf8_path.h"
#include "map/file_io.h"
#include "pointtable/curves_csv.h"
#include "pointtable/point_table.h"

namespace pointtable {

namespace fs = std::filesystem;

namespace {

// File names are case-sensitive on POSIX systems, so there the filter lists the
// upper-case extension too.
#ifdef _WIN32
constexpr const char* kFilter = "CSV files (*.csv)|*.csv|All Files (*.*)|*.*";
#else
constexpr const char* kFilter = "CSV files (*.csv)|*.csv;*.CSV|All Files (*.*)|*.*";
#endif
constexpr const char* kExtension = "csv";

}  // namespace

PointTableCommands::PointTableCommands(ui::Variant variant, map::CurveModel& model,
                                       ui::Dialogs& dialogs, std::string work_dir,
                                       ApplyCurves apply)
    : m_variant(variant),
      m_model(model),
      m_dialogs(dialogs),
      m_work_dir(std::move(work_dir)),
      m_apply(std::move(apply)) {}

void PointTableCommands::AddTo(ui::CommandMenu& menu) {
  menu.AddSeparator();
  menu.Add({"&Edit points...", {}, {}, {}, [this] { EditPoints(); }});
  menu.Add({"&Import CSV...", {}, {}, {}, [this] { ImportCsv(); }});
  menu.Add({"E&xport CSV...", {}, {}, {}, [this] { ExportCsv(); }});
}

ui::FileDialogRequest PointTableCommands::Request(const char* title,
                                                  const std::string& file_name) const {
  return {title, kFilter, kExtension, m_work_dir, file_name};
}

fs::path PointTableCommands::Resolve(const std::string& name) const {
  const fs::path path = files::PathFromUtf8(name);
  return path.is_absolute() ? path : files::PathFromUtf8(m_work_dir) / path;
}

void PointTableCommands::Apply(const std::array<map::Curve, 2>& curves) {
  // An edit that changes nothing is no step of the user's.
  if (curves != m_model.AdvCurves) m_apply(curves);
}

void PointTableCommands::ShowError(const std::string& text) {
  m_dialogs.MessageBox(text, ui::ProgramName(m_variant), ui::DialogIcon::Error,
                       ui::DialogButtons::Ok);
}

void PointTableCommands::EditPoints() {
  const auto edited = pointtable::EditPoints(m_dialogs, m_model.AdvCurves,
                                             AxisInForce(m_variant, m_model.DeviceVersion),
                                             PointLimits::Of(m_model));
  if (edited) Apply(*edited);
}

void PointTableCommands::ExportCsv() {
  const auto chosen = m_dialogs.SaveFile(Request("Export curves as CSV", m_export_name));
  if (!chosen) return;
  fs::path path = Resolve(*chosen);
  if (!path.has_extension()) path += std::string(".") + kExtension;
  m_export_name = files::Utf8FromPath(path);
  const std::string text =
      CurvesCsv(m_model.AdvCurves, AxisInForce(m_variant, m_model.DeviceVersion));
  if (const std::error_code error = files::ReplaceFile(path, text)) {
    ShowError(map::IoErrorText(error, path));
  }
}

void PointTableCommands::ImportCsv() {
  const auto chosen = m_dialogs.OpenFile(Request("Import curves from CSV", m_import_name));
  if (!chosen) return;
  m_import_name = *chosen;
  fs::path path = Resolve(*chosen);
  std::error_code ignored;
  if (!path.has_extension() && !fs::exists(path, ignored)) {
    path += std::string(".") + kExtension;
  }
  // One byte past the bound tells a file that is too large from one that just fits.
  std::string text;
  if (const std::error_code error = files::ReadFileStart(path, kCsvSizeLimit + 1, text)) {
    ShowError(map::IoErrorText(error, path));
    return;
  }
  const CsvCurves read = ReadCurvesCsv(text, PointLimits::Of(m_model));
  if (!read.curves) {
    ShowError("Nothing was imported from " + files::Utf8FromPath(path.filename()) + ".\r\n" +
              read.error);
    return;
  }
  Apply(*read.curves);
}

}  // namespace pointtable
