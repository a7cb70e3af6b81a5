// The controller's copy of the curves beside the working ones: a dim line of it on
// the chart, the table of the points where the screen differs from it (or from a map
// file or a backup), and reverting the shown curve to it.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "map/curve_model.h"
#include "map/gauge_drawing.h"
#include "safekeeping/edit_history.h"
#include "ui/dialogs.h"
#include "ui/variant.h"

namespace safekeeping {

class ControllerCopy {
 public:
  // Map files are looked for from `work_dir`, as Open does; backups from the
  // preferences' backup folder.
  ControllerCopy(ui::Variant variant, map::CurveModel& model, map::GaugeDrawing& chart,
                 ui::Dialogs& dialogs, EditHistory& history,
                 const ui::PreferencesValues& preferences, std::string work_dir);
  ControllerCopy(const ControllerCopy&) = delete;
  ControllerCopy& operator=(const ControllerCopy&) = delete;

  // The controller said what it holds of curve c (1 or 2): a curve reply, or the
  // "OK" of a send. Until then its copy is only the program's start-up assumption.
  void Heard(int curve);
  bool Known(int curve) const;
  bool AnyKnown() const;

  // "Show controller's copy": checked or not; toggling redraws the chart.
  bool Shown() const { return m_shown; }
  void ToggleShown();
  // Whether the chart draws the controller's copy of the shown curve now.
  bool OnChart() const;

  // The shown curve differs from a known controller's copy.
  bool CanRevert() const;
  // The shown curve back to the controller's copy, as one step.
  void Revert();

  // The differences table.
  void ShowDifferences();

  // More than a map file ever holds; the rest of a larger file is not read.
  static constexpr std::size_t kReadLimit = 64 * 1024;

 private:
  ui::TableState AgainstController() const;
  ui::TableState Against(const std::string& name, const std::array<map::Curve, 2>& curves,
                         const char* column) const;
  // Action `from_backups` or not: a map file chosen in the open dialog replaces the
  // table's comparison, or the note says why it cannot.
  void CompareWithFile(bool from_backups, ui::TableState& state);

  ui::Variant m_variant;
  map::CurveModel& m_model;
  map::GaugeDrawing& m_chart;
  ui::Dialogs& m_dialogs;
  EditHistory& m_history;
  const ui::PreferencesValues& m_preferences;
  std::string m_work_dir;
  std::array<bool, 2> m_heard{};
  bool m_shown = false;
};

}  // namespace safekeeping
