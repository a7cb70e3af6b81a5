#include "safekeeping/controller_copy.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "files/read_file.h"
#include "files/utf8_path.h"
#include "map/file_io.h"
#include "map/map_file.h"
#include "safekeeping/differences.h"

namespace safekeeping {

namespace {

constexpr const char* kTitle = "Differences";
constexpr const char* kFilter = "Advance files   (*.IJJ)|*.IJJ;*.ijj|All Files     (*.*)|*.*";
constexpr std::size_t kFromBackups = 1;
constexpr std::uint8_t kLargestPoint = 50;  // "n", +25 degrees: the file's last character

std::size_t Index(int curve) {
  return static_cast<std::size_t>(curve - 1);
}

// Both curves of a map file, or nothing when the text is not one: each line must give
// all 26 points, each a character from "<" to "n".
std::optional<std::array<map::Curve, 2>> MapCurves(const std::string& text) {
  const std::array<map::MapLine, 2> lines = map::ReadMapFile(text);
  std::array<map::Curve, 2> curves{};
  for (std::size_t c = 0; c < 2; ++c) {
    const map::MapLine& line = lines[c];
    if (line.count != curves[c].size()) return std::nullopt;
    if (std::any_of(line.points.begin(), line.points.end(),
                    [](std::uint8_t v) { return v > kLargestPoint; })) {
      return std::nullopt;
    }
    line.ApplyTo(curves[c]);
  }
  return curves;
}

}  // namespace

ControllerCopy::ControllerCopy(ui::Variant variant, map::CurveModel& model,
                               map::GaugeDrawing& chart, ui::Dialogs& dialogs, EditHistory& history,
                               const ui::PreferencesValues& preferences, std::string work_dir)
    : m_variant(variant),
      m_model(model),
      m_chart(chart),
      m_dialogs(dialogs),
      m_history(history),
      m_preferences(preferences),
      m_work_dir(std::move(work_dir)) {}

void ControllerCopy::Heard(int curve) {
  m_heard[Index(curve)] = true;
}

bool ControllerCopy::Known(int curve) const {
  return m_heard[Index(curve)] && m_model.DeviceCurveKnown[Index(curve)];
}

bool ControllerCopy::AnyKnown() const {
  return Known(1) || Known(2);
}

void ControllerCopy::ToggleShown() {
  m_shown = !m_shown;
  m_chart.DrawTrace();
}

bool ControllerCopy::OnChart() const {
  return m_shown && Known(m_model.CurrentCurve);
}

bool ControllerCopy::CanRevert() const {
  const int curve = m_model.CurrentCurve;
  return Known(curve) && m_model.Working(curve) != m_model.Device(curve);
}

void ControllerCopy::Revert() {
  if (!CanRevert()) return;
  std::array<map::Curve, 2> curves = m_model.AdvCurves;
  curves[Index(m_model.CurrentCurve)] = m_model.Device(m_model.CurrentCurve);
  m_history.ApplyCurves(curves);
}

ui::TableState ControllerCopy::Against(const std::string& name,
                                       const std::array<map::Curve, 2>& curves,
                                       const char* column) const {
  ui::TableState state;
  state.columns = {"Curve", "Point", "RPM", column, "Screen"};
  for (int curve = 1; curve <= 2; ++curve) {
    for (const PointDifference& d :
         Differences(curve, curves[Index(curve)], m_model.AdvCurves[Index(curve)])) {
      state.rows.push_back(DifferenceRow(m_variant, m_model.DeviceVersion, d));
    }
  }
  state.text = state.rows.empty() ? "The screen holds the same points as " + name + "."
                                  : "Points where the screen differs from " + name + ":";
  return state;
}

ui::TableState ControllerCopy::AgainstController() const {
  ui::TableState state = Against("the controller's copy", m_model.DeviceCurves, "Controller");
  // Points of a copy that is not known are no differences the user can act on.
  for (int curve = 1; curve <= 2; ++curve) {
    if (Known(curve)) continue;
    const std::string name = "Advance " + std::to_string(curve);
    std::erase_if(state.rows, [&name](const auto& row) { return row.front() == name; });
    state.note += (state.note.empty() ? "" : " ") + name + ": the controller's copy is not known.";
  }
  return state;
}

void ControllerCopy::CompareWithFile(bool from_backups, ui::TableState& state) {
  const std::string folder = from_backups ? m_preferences.backup_folder : m_work_dir;
  const auto chosen = m_dialogs.OpenFile(
      {from_backups ? "Compare with backup" : "Compare with map file", kFilter, "IJJ", folder, ""});
  if (!chosen) return;
  std::filesystem::path path = files::PathFromUtf8(*chosen);
  if (path.is_relative()) path = files::PathFromUtf8(folder) / path;
  const std::string name = "\"" + files::Utf8FromPath(path.filename()) + "\"";

  std::string text;
  if (const std::error_code error = files::ReadFileStart(path, kReadLimit, text)) {
    state.note = name + " cannot be read: " + map::IoErrorText(error, path) + ".";
    return;
  }
  const auto curves = MapCurves(text);
  if (!curves) {
    state.note = name + " is not a map file: a map file holds two lines of 26 points.";
    return;
  }
  state = Against(name, *curves, "File");
}

void ControllerCopy::ShowDifferences() {
  ui::TableRequest request;
  request.title = kTitle;
  request.state = AgainstController();
  request.actions = {"Compare with map file...", "Compare with backup..."};
  request.act = [this](std::size_t action, ui::TableState& state) {
    CompareWithFile(action == kFromBackups, state);
  };
  request.ok_caption.clear();
  m_dialogs.Table(request);
}

}  // namespace safekeeping
