// The file operations the map commands use, and the messages the user sees when
// they fail.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

#include "files/read_file.h"
#include "files/replace_file.h"

namespace map {

// Maps are read and written the one way every file of the programs is.
using files::ReadFileStart;
using files::ReplaceFile;

// The run-time library's text for a failed file operation on `path`: "File not
// found", "Invalid filename", "Too many open files", "File access denied", "Disk
// full", or "I/O error %d" with the error's number.
std::string IoErrorText(std::error_code error, const std::filesystem::path& path);

}  // namespace map
