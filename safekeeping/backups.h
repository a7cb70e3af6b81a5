// Automatic backups of the controller's curves: every completed Read writes the two
// curves the controller sent, and every Send and REC EEPR first writes what the
// controller held before, unless that copy is backed up already. A backup that
// cannot be written never holds up the command; the status line says so once, and
// again only after a backup has succeeded.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "map/curve_model.h"
#include "safekeeping/backup_names.h"
#include "ui/color.h"
#include "ui/dialogs.h"

namespace safekeeping {

// The local date and time now.
using LocalClock = std::function<LocalTime()>;
LocalTime SystemLocalTime();

class Backups {
 public:
  using StatusSetter = std::function<void(const std::string&, ui::Color)>;

  // Whether and where backups are written come from `preferences` at each backup.
  Backups(const map::CurveModel& model, const ui::PreferencesValues& preferences, LocalClock clock,
          StatusSetter show_status);
  Backups(const Backups&) = delete;
  Backups& operator=(const Backups&) = delete;

  // The controller answered its version: the model code its backups are named by.
  void ControllerFound(std::string model_code);
  // A Read brought both curves: what the controller holds, backed up.
  void ReadCompleted();
  // A Send or a REC EEPR is about to be written: the controller's copy, if it is
  // known and not backed up since it last changed, is backed up first.
  void BeforeWrite(Occasion occasion);

 private:
  void Write(Occasion occasion);

  const map::CurveModel& m_model;
  const ui::PreferencesValues& m_preferences;
  LocalClock m_clock;
  StatusSetter m_show_status;
  std::string m_model_code;
  // A Read has brought the controller's curves: until then the copy the program
  // holds is its own start-up curve, not the controller's.
  bool m_copy_from_controller = false;
  std::optional<std::array<map::Curve, 2>> m_backed_up;
  bool m_failure_told = false;
};

}  // namespace safekeeping
