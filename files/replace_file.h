// The one way the programs write a file (maps, "Advance.ini" and whatever is written
// later): the old content stays whole until the new is complete on the disk.
#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace files {

// Puts `bytes` in place of the file at `path` (creating it if missing).
//
// They go to a new file of this program's own, created exclusively in the target's
// folder, flushed to the disk and renamed over the target with the target's
// permissions, so whatever fails the old file stays as it was. Through a symbolic link
// the file the link leads to is replaced and the link kept. A target the user may not
// write fails with EACCES, as rewriting it would. Where the new file cannot be made in
// that folder (the folder is not writable, the name is too long for the suffix) and
// for a file with more than one hard link, the target is rewritten where it is, and
// that rewrite's failures are returned. Only a temporary file made here is ever
// removed.
std::error_code ReplaceFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace files
