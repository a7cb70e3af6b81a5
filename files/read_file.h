// The one way the programs read a small file of outside bytes: never more than a
// bound, so a huge or endless file costs no more than a short one.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <system_error>

namespace files {

// Up to `limit` bytes from the start of the file at `path`, into `text` (left as it
// was on failure).
std::error_code ReadFileStart(const std::filesystem::path& path, std::size_t limit,
                              std::string& text);

}  // namespace files
