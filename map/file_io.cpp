#include "map/file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace map {

namespace fs = std::filesystem;

namespace {

std::error_code LastError() {
  return {errno != 0 ? errno : EIO, std::generic_category()};
}

// The file's data on the disk, not only in the system's cache, before it replaces the
// old map; a file system that cannot sync is not an error.
bool SyncToDisk(std::FILE* file) {
#ifdef _WIN32
  return _commit(_fileno(file)) == 0;
#else
  return fsync(fileno(file)) == 0 || errno == EINVAL;
#endif
}

std::error_code WriteNewFile(const fs::path& path, std::string_view bytes) {
  errno = 0;
  std::FILE* file = std::fopen(path.string().c_str(), "wb");
  if (file == nullptr) return LastError();
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() &&
                       std::fflush(file) == 0 && SyncToDisk(file);
  const std::error_code error = written ? std::error_code() : LastError();
  if (std::fclose(file) != 0 && !error) return LastError();
  return error;
}

}  // namespace

std::error_code ReadFileStart(const fs::path& path, std::size_t limit, std::string& text) {
  errno = 0;
  std::FILE* file = std::fopen(path.string().c_str(), "rb");
  if (file == nullptr) return LastError();
  std::string start;
  char chunk[4096];
  while (start.size() < limit) {
    const std::size_t got =
        std::fread(chunk, 1, std::min(sizeof chunk, limit - start.size()), file);
    start.append(chunk, got);
    if (got == 0) break;
  }
  const std::error_code error = std::ferror(file) != 0 ? LastError() : std::error_code();
  std::fclose(file);
  if (!error) text = std::move(start);
  return error;
}

std::error_code ReplaceFile(const fs::path& path, std::string_view bytes) {
  std::error_code error;
  fs::path target = path;
  if (fs::is_symlink(path, error)) {
    target = fs::canonical(path, error);
    if (error) return error;
  }
  const fs::path temporary = target.string() + ".tmp";
  error = WriteNewFile(temporary, bytes);
  if (!error) {
    // The new file gets the old one's permissions, as rewriting it in place would keep them.
    std::error_code ignored;
    const fs::file_status old = fs::status(target, ignored);
    if (fs::exists(old)) fs::permissions(temporary, old.permissions(), ignored);
    fs::rename(temporary, target, error);
  }
  if (error) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
  }
  return error;
}

std::string IoErrorText(std::error_code error, const fs::path& path) {
  const std::error_condition c = error.default_error_condition();
  if (c == std::errc::no_such_file_or_directory) {
    // A missing folder makes the name itself invalid; a missing file is not found.
    std::error_code ignored;
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    return fs::is_directory(folder, ignored) ? "File not found" : "Invalid filename";
  }
  if (c == std::errc::not_a_directory || c == std::errc::filename_too_long ||
      c == std::errc::invalid_argument || c == std::errc::illegal_byte_sequence) {
    return "Invalid filename";
  }
  if (c == std::errc::too_many_files_open || c == std::errc::too_many_files_open_in_system) {
    return "Too many open files";
  }
  if (c == std::errc::permission_denied || c == std::errc::operation_not_permitted ||
      c == std::errc::read_only_file_system || c == std::errc::is_a_directory ||
      c == std::errc::text_file_busy || c == std::errc::device_or_resource_busy) {
    return "File access denied";
  }
  if (c == std::errc::no_space_on_device || c == std::errc::file_too_large) return "Disk full";
#ifdef EDQUOT
  if (c.category() == std::generic_category() && c.value() == EDQUOT) return "Disk full";
#endif
  return "I/O error " + std::to_string(error.value());
}

}  // namespace map
