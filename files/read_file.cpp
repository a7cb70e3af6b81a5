#include "files/read_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace files {

std::error_code ReadFileStart(const std::filesystem::path& path, std::size_t limit,
                              std::string& text) {
  errno = 0;
#ifdef _WIN32
  std::FILE* file = _wfopen(path.c_str(), L"rb");
#else
  std::FILE* file = std::fopen(path.c_str(), "rb");
#endif
  if (file == nullptr) return {errno != 0 ? errno : EIO, std::generic_category()};
  std::string start;
  char chunk[4096];
  while (start.size() < limit) {
    const std::size_t got =
        std::fread(chunk, 1, std::min(sizeof chunk, limit - start.size()), file);
    start.append(chunk, got);
    if (got == 0) break;
  }
  const std::error_code error =
      std::ferror(file) != 0 ? std::error_code(errno != 0 ? errno : EIO, std::generic_category())
                             : std::error_code();
  std::fclose(file);
  if (!error) text = std::move(start);
  return error;
}

}  // namespace files
