#include "map/map_commands.h"

#include "files/utf8_path.h"
#include "map/file_io.h"
#include "map/limits.h"
#include "map/map_file.h"
#include "map/sync.h"

namespace map {

namespace fs = std::filesystem;

namespace {

// File names are case-sensitive on POSIX systems, so there the map filter lists the
// lower-case extension too.
#ifdef _WIN32
constexpr const char* kMapPattern = "*.IJJ";
#else
constexpr const char* kMapPattern = "*.IJJ;*.ijj";
#endif
constexpr const char* kOpenTitle = "Open Advance file";
constexpr const char* kSaveTitle = "Save Advance file";

std::string Filter(const char* maps, const char* all) {
  return std::string(maps) + "|" + kMapPattern + "|" + all + "|*.*";
}

constexpr const char* kDefaultExtension = "IJJ";

}  // namespace

MapCommands::MapCommands(ui::Variant variant, ui::ControlSet& controls, CurveModel& model,
                         CurveEditor& editor, ui::Dialogs& dialogs, std::string work_dir)
    : m_variant(variant),
      m_model(model),
      m_editor(editor),
      m_dialogs(dialogs),
      m_label34(controls["Label34"]),
      m_label35(controls["Label35"]),
      m_work_dir(std::move(work_dir)) {
  controls["OpenBut"].OnClick = [this] { OpenButClick(); };
  controls["SaveBut"].OnClick = [this] { SaveButClick(); };
}

ui::FileDialogRequest MapCommands::Request(const char* title, std::string filter,
                                           const std::string& file_name) const {
  return {title, std::move(filter), kDefaultExtension, m_work_dir, file_name};
}

fs::path MapCommands::Resolve(const std::string& name) const {
  const fs::path path = files::PathFromUtf8(name);
  return path.is_absolute() ? path : files::PathFromUtf8(m_work_dir) / path;
}

void MapCommands::ShowError(std::error_code error, const fs::path& path) {
  m_dialogs.MessageBox(IoErrorText(error, path), ui::ProgramName(m_variant), ui::DialogIcon::Error,
                       ui::DialogButtons::Ok);
}

void MapCommands::SaveButClick() {
  const auto chosen = m_dialogs.SaveFile(
      Request(kSaveTitle, Filter("Advance files   (*.IJJ)", "All Files     (*.*)"), m_save_name));
  if (!chosen) return;
  // A name typed without extension is a map file name all the same.
  fs::path path = Resolve(*chosen);
  if (!path.has_extension()) path += std::string(".") + kDefaultExtension;
  m_save_name = files::Utf8FromPath(path);
  if (const std::error_code error = ReplaceFile(path, MapFileText(m_model.AdvCurves))) {
    ShowError(error, path);
  }
}

void MapCommands::OpenButClick() {
  const auto chosen = m_dialogs.OpenFile(
      Request(kOpenTitle, Filter("Advance Files   (*..IJJ)", "All Files      (*.*)"), m_open_name));
  if (!chosen) return;
  m_open_name = *chosen;
  fs::path path = Resolve(*chosen);
  std::error_code ignored;
  if (!path.has_extension() && !fs::exists(path, ignored)) {
    path += std::string(".") + kDefaultExtension;
  }

  const std::optional<std::array<Curve, 2>> curves = Load(path);
  if (!curves) return;
  if (BeforeEdit) BeforeEdit();

  const int shown = m_model.CurrentCurve;
  m_model.CurrentCurve = 1;
  m_model.Working(1) = (*curves)[0];
  m_editor.Updatesc();  // curve 1 is shown for a moment
  m_model.CurrentCurve = 2;
  m_model.Working(2) = (*curves)[1];
  if (m_variant == ui::Variant::Palunor) m_editor.Updatesc();
  m_model.CurrentCurve = shown;
  m_editor.Updatesc();
  // The curves on screen are the file's now: the mark says whether the controller
  // holds them.
  CheckSync(m_model, m_label34, m_label35);
  WarnOutOfLimits();
}

std::optional<std::array<Curve, 2>> MapCommands::Load(const fs::path& path) {
  // The whole file is read before anything changes, so a failure leaves the curves
  // as they were.
  std::string text;
  if (const std::error_code error = ReadFileStart(path, kReadLimit, text)) {
    ShowError(error, path);
    return std::nullopt;
  }
  const std::array<MapLine, 2> lines = ReadMapFile(text);
  std::array<Curve, 2> curves = m_model.AdvCurves;
  lines[0].ApplyTo(curves[0]);
  lines[1].ApplyTo(curves[1]);
  return curves;
}

void MapCommands::WarnOutOfLimits() {
  std::string text;
  for (int curve = 1; curve <= 2; ++curve) {
    const std::vector<int> outside = PointsOutsideLimits(m_model, m_model.Working(curve));
    if (outside.empty()) continue;
    text += "Advance " + std::to_string(curve) + ": point" + (outside.size() == 1 ? " " : "s ") +
            PointList(outside) + "\r\n";
  }
  if (text.empty()) return;
  m_dialogs.MessageBox("This map holds points outside the controller's limits (" +
                           LimitsText(m_model) + "):\r\n" + text +
                           "Send refuses a curve until they are moved within the limits.",
                       ui::ProgramName(m_variant), ui::DialogIcon::Warning, ui::DialogButtons::Ok);
}

}  // namespace map
