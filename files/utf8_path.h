// Paths as the core holds them (UTF-8 strings, as the dialogs hand them over) and as
// the file system takes them. On Windows a path made from a plain string is read in
// the ANSI code page, which cannot hold most names (a Cyrillic folder on a Western
// system); these convert as UTF-8 on every platform.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace files {

std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace files
