#include "safekeeping/backup_folder.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <type_traits>

#include "files/replace_file.h"
#include "files/utf8_path.h"
#include "map/map_file.h"

namespace safekeeping {

namespace fs = std::filesystem;

namespace {

// Far more backups than one second ever sees; past it the folder is not sane.
constexpr int kMaxNumber = 1000;

// The name as text when it is plain ASCII, as every backup's is. Other names are
// not backups, and are never converted: on Windows one that is not valid UTF-16
// could not be.
std::optional<std::string> AsciiName(const fs::path& name) {
  std::string text;
  for (const auto c : name.native()) {
    const auto code = static_cast<std::make_unsigned_t<fs::path::value_type>>(c);
    if (code > 127) return std::nullopt;
    text.push_back(static_cast<char>(code));
  }
  return text;
}

}  // namespace

std::error_code WriteBackup(const std::string& folder, BackupName name,
                            const std::array<map::Curve, 2>& curves) {
  const fs::path dir = files::PathFromUtf8(folder);
  std::error_code error;
  fs::create_directories(dir, error);
  if (error) return error;
  fs::path path = dir / files::PathFromUtf8(FileName(name));
  // A second backup in the same second must not replace the first.
  while (fs::symlink_status(path, error).type() != fs::file_type::not_found) {
    if (error || ++name.number > kMaxNumber) {
      return error ? error : std::make_error_code(std::errc::file_exists);
    }
    path = dir / files::PathFromUtf8(FileName(name));
  }
  return files::ReplaceFile(path, map::MapFileText(curves));
}

std::vector<BackupFile> ListBackups(const std::string& folder) {
  std::vector<BackupFile> backups;
  std::error_code error;
  for (fs::directory_iterator it(files::PathFromUtf8(folder), error), end; !error && it != end;
       it.increment(error)) {
    std::error_code ignored;
    if (!it->is_regular_file(ignored)) continue;
    const std::optional<std::string> text = AsciiName(it->path().filename());
    if (auto name = text ? ParseFileName(*text) : std::nullopt) {
      backups.push_back({std::move(*name), it->path()});
    }
  }
  std::sort(backups.begin(), backups.end(),
            [](const BackupFile& a, const BackupFile& b) { return Older(b.name, a.name); });
  return backups;
}

void PruneBackups(const std::string& folder, std::size_t keep) {
  const std::vector<BackupFile> backups = ListBackups(folder);
  for (std::size_t i = keep; i < backups.size(); ++i) {
    std::error_code ignored;
    fs::remove(backups[i].path, ignored);
  }
}

}  // namespace safekeeping
