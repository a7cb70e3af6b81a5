#include "files/replace_file.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace files {

namespace fs = std::filesystem;

namespace {

// A chain of symbolic links longer than this is a loop; the system's own bound is 40.
constexpr int kMaxLinks = 40;
// Names a clash with another writer's temporary file makes us try before giving up.
constexpr int kNameAttempts = 100;

std::error_code LastError() {
  return {errno != 0 ? errno : EIO, std::generic_category()};
}

// The few system calls below, one way on each platform; all take and leave errno.
#ifdef _WIN32
constexpr int kCreateNew = _O_WRONLY | _O_CREAT | _O_EXCL;
constexpr int kRewrite = _O_WRONLY | _O_CREAT;
int Open(const fs::path& path, int flags) {
  return _wopen(path.c_str(), flags | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}
int WriteSome(int fd, const char* data, std::size_t size) {
  return _write(fd, data, static_cast<unsigned>(size));
}
bool Resize(int fd, std::size_t size) {
  const errno_t error = _chsize_s(fd, static_cast<__int64>(size));
  if (error != 0) errno = error;
  return error == 0;
}
bool Sync(int fd) {
  return _commit(fd) == 0;
}
int Close(int fd) {
  return _close(fd);
}
bool Remove(const fs::path& path) {
  return _wunlink(path.c_str()) == 0;
}
// The read-only attribute stops a rewrite on Windows; the rename over such a file
// fails too, but only after the new file was written.
bool MayWrite(const fs::path& path) {
  return _waccess(path.c_str(), 2) == 0 || errno == ENOENT;
}
int ProcessId() {
  return _getpid();
}
// Windows keeps a file's attributes with its name; a new file starts writable.
void TakeOwnerAndMode(int, const fs::path&) {}
void SyncFolder(const fs::path&) {}
#else
constexpr int kCreateNew = O_WRONLY | O_CREAT | O_EXCL;
constexpr int kRewrite = O_WRONLY | O_CREAT;
int Open(const fs::path& path, int flags) {
  return open(path.c_str(), flags | O_CLOEXEC, 0666);
}
int WriteSome(int fd, const char* data, std::size_t size) {
  return static_cast<int>(write(fd, data, size));
}
bool Resize(int fd, std::size_t size) {
  return ftruncate(fd, static_cast<off_t>(size)) == 0;
}
// A file system that cannot sync (EINVAL) is not an error.
bool Sync(int fd) {
  return fsync(fd) == 0 || errno == EINVAL;
}
int Close(int fd) {
  return close(fd);
}
bool Remove(const fs::path& path) {
  return unlink(path.c_str()) == 0;
}
// Permission bits, checked for the effective user: a rename would ignore them.
bool MayWrite(const fs::path& path) {
  return faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 || errno == ENOENT;
}
int ProcessId() {
  return static_cast<int>(getpid());
}
// The new file takes the old one's owner (where the user may give it) and mode, as a
// rewrite in place would keep them.
void TakeOwnerAndMode(int fd, const fs::path& target) {
  struct stat old {};
  if (stat(target.c_str(), &old) != 0) return;
  // A file the user may not give to the old owner stays the user's, without the set-id
  // bits that were the old owner's.
  const bool same_owner = fchown(fd, old.st_uid, old.st_gid) == 0;
  fchmod(fd, old.st_mode & (same_owner ? 07777 : 0777));
}
// The folder's entry of the renamed file, on the disk too.
void SyncFolder(const fs::path& folder) {
  const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}
#endif

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const int written = WriteSome(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      if (written == 0) errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Writes, flushes and closes `fd`; the first failure is the one returned.
std::error_code Finish(int fd, std::string_view bytes, bool resize) {
  errno = 0;
  const bool written = WriteAll(fd, bytes) && (!resize || Resize(fd, bytes.size())) && Sync(fd);
  const std::error_code error = written ? std::error_code() : LastError();
  if (Close(fd) != 0 && !error) return LastError();
  return error;
}

// The file a chain of symbolic links ends at (which may not exist yet); `path` itself
// when it is no link.
fs::path FinalTarget(const fs::path& path, std::error_code& error) {
  fs::path target = path;
  for (int hops = 0; fs::is_symlink(target, error); ++hops) {
    if (hops == kMaxLinks) {
      error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
      return target;
    }
    const fs::path next = fs::read_symlink(target, error);
    if (error) return target;
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  // A name that does not exist yet is the file to create, not a failure.
  if (error == std::errc::no_such_file_or_directory) error.clear();
  return target;
}

// The rewrite where the file is: no truncation before the new bytes are written, so a
// map of the same size is never left shorter than it was.
std::error_code Rewrite(const fs::path& target, std::string_view bytes) {
  errno = 0;
  const int fd = Open(target, kRewrite);
  if (fd < 0) return LastError();
  return Finish(fd, bytes, true);
}

bool HasOtherNames(const fs::path& target) {
  std::error_code error;
  const std::uintmax_t links = fs::hard_link_count(target, error);
  return !error && links > 1;
}

}  // namespace

std::error_code ReplaceFile(const fs::path& path, std::string_view bytes) {
  std::error_code error;
  const fs::path target = FinalTarget(path, error);
  if (error) return error;
  errno = 0;
  if (!MayWrite(target)) return LastError();
  if (HasOtherNames(target)) return Rewrite(target, bytes);

  static std::atomic<unsigned> counter{0};
  const std::string stem = ".palunor-" + std::to_string(ProcessId()) + "-";
  fs::path temporary;
  int fd = -1;
  for (int attempt = 0; attempt < kNameAttempts && fd < 0; ++attempt) {
    temporary = target;
    temporary += stem + std::to_string(counter++) + ".tmp";
    errno = 0;
    fd = Open(temporary, kCreateNew);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return Rewrite(target, bytes);

  TakeOwnerAndMode(fd, target);
  error = Finish(fd, bytes, false);
  if (!error) fs::rename(temporary, target, error);
  if (error) {
    Remove(temporary);
    return error;
  }
  SyncFolder(target.parent_path());
  return {};
}

}  // namespace files
