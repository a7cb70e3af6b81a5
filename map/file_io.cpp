#include "map/file_io.h"

#include <cerrno>

namespace map {

namespace fs = std::filesystem;

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
