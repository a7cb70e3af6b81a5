// The backups folder on the disk: writing a backup under a name no other backup
// holds, listing them newest first, and pruning the oldest. Only files whose names
// are backup names are ever listed or removed.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "map/curve_model.h"
#include "safekeeping/backup_names.h"

namespace safekeeping {

// The backups kept: the oldest past this many are removed after each new one.
constexpr std::size_t kBackupsKept = 1000;

struct BackupFile {
  BackupName name;
  std::filesystem::path path;
};

// Writes both curves as a map file under `name` in `folder` (created if missing),
// numbered past any backup of the same second. The error, if any.
std::error_code WriteBackup(const std::string& folder, BackupName name,
                            const std::array<map::Curve, 2>& curves);

// The backups in `folder`, newest first.
std::vector<BackupFile> ListBackups(const std::string& folder);

// Removes the oldest backups past `keep`.
void PruneBackups(const std::string& folder, std::size_t keep);

}  // namespace safekeeping
