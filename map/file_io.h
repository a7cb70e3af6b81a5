// Reading and replacing the small files the map commands work on, and the messages
// the user sees when that fails.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace map {

// Up to `limit` bytes from the start of the file at `path`, into `text`.
std::error_code ReadFileStart(const std::filesystem::path& path, std::size_t limit,
                              std::string& text);

// Puts `bytes` in place of the file at `path`. They are written to a new file in the
// same folder and flushed to the disk first, and only the complete file replaces the
// old one: whatever fails, the old file stays as it was. A symbolic link keeps
// pointing at the map; the file it names is the one replaced.
std::error_code ReplaceFile(const std::filesystem::path& path, std::string_view bytes);

// The run-time library's text for a failed file operation on `path`: "File not
// found", "Invalid filename", "Too many open files", "File access denied", "Disk
// full", or "I/O error %d" with the error's number.
std::string IoErrorText(std::error_code error, const std::filesystem::path& path);

}  // namespace map
