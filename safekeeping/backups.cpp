#include "safekeeping/backups.h"

#include <ctime>
#include <utility>

#include "protocol/catalogue.h"
#include "safekeeping/backup_folder.h"

namespace safekeeping {

namespace {

constexpr const char* kBackupFailed = "Backup Failed!";

}  // namespace

LocalTime SystemLocalTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          local.tm_hour,        local.tm_min,     local.tm_sec};
}

Backups::Backups(const map::CurveModel& model, const ui::PreferencesValues& preferences,
                 LocalClock clock, StatusSetter show_status)
    : m_model(model),
      m_preferences(preferences),
      m_clock(std::move(clock)),
      m_show_status(std::move(show_status)) {}

void Backups::ControllerFound(std::string model_code) {
  m_model_code = std::move(model_code);
}

void Backups::ReadCompleted() {
  m_copy_from_controller = true;
  Write(Occasion::Read);
}

void Backups::BeforeWrite(Occasion occasion) {
  const bool known = m_model.DeviceCurveKnown[0] && m_model.DeviceCurveKnown[1];
  if (!m_copy_from_controller || !known || m_backed_up == m_model.DeviceCurves) return;
  Write(occasion);
}

void Backups::Write(Occasion occasion) {
  if (!m_preferences.backups || m_preferences.backup_folder.empty()) return;
  const BackupName name{m_clock(), m_model_code, protocol::VersionText(m_model.DeviceVersion),
                        occasion};
  if (WriteBackup(m_preferences.backup_folder, name, m_model.DeviceCurves)) {
    if (!m_failure_told) m_show_status(kBackupFailed, ui::kRed);
    m_failure_told = true;
    return;
  }
  m_failure_told = false;
  m_backed_up = m_model.DeviceCurves;
  PruneBackups(m_preferences.backup_folder, kBackupsKept);
}

}  // namespace safekeeping
