// Adds to the end of a file that grows while the program runs (a recording), whole
// pieces only: what a failed append had written is cut off again, so a reader never
// finds half of what was appended.
#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace files {

// Appends `bytes` to the existing file at `path` and hands them to the system. On a
// failure (a full disk, a size limit, a vanished file) the file is cut back to the
// length it had, and the failure is returned.
std::error_code AppendToFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace files
