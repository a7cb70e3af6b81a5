#include "files/append_file.h"

#include <cerrno>
#include <cstdio>

namespace files {

namespace {

std::error_code LastError() {
  return {errno != 0 ? errno : EIO, std::generic_category()};
}

}  // namespace

std::error_code AppendToFile(const std::filesystem::path& path, std::string_view bytes) {
  std::error_code error;
  const std::uintmax_t before = std::filesystem::file_size(path, error);
  // Appending never creates the file: one that vanished ends the recording.
  if (error) return error;
  errno = 0;
#ifdef _WIN32
  std::FILE* file = _wfopen(path.c_str(), L"ab");
#else
  std::FILE* file = std::fopen(path.c_str(), "ab");
#endif
  if (file == nullptr) return LastError();
  // Unbuffered: the bytes go to the system in one write, not in buffer-sized pieces a
  // crash could stop between.
  std::setvbuf(file, nullptr, _IONBF, 0);
  const bool written =
      std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
  if (!written) error = LastError();
  if (std::fclose(file) != 0 && !error) error = LastError();
  if (error) {
    std::error_code ignored;
    std::filesystem::resize_file(path, before, ignored);
  }
  return error;
}

}  // namespace files
