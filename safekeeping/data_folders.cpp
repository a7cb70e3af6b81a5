#include "safekeeping/data_folders.h"

#include <cstdlib>
#include <filesystem>

#include "files/utf8_path.h"

namespace safekeeping {

namespace {

// A folder from the environment, usable only when set and absolute.
std::optional<std::string> Folder(const Environment& environment, const char* name, System system) {
  std::optional<std::string> value = environment(name);
  if (!value || value->empty()) return std::nullopt;
  const bool absolute = system == System::Windows ? value->size() >= 3 && (*value)[1] == ':' &&
                                                        ((*value)[2] == '\\' || (*value)[2] == '/')
                                                  : value->front() == '/';
  // A UNC folder ("\\server\share") is absolute on Windows too.
  const bool unc = system == System::Windows && value->rfind("\\\\", 0) == 0;
  if (!absolute && !unc) return std::nullopt;
  return value;
}

std::string Join(std::string folder, const std::string& rest, char separator) {
  if (folder.back() != separator && folder.back() != '/') folder += separator;
  return folder + rest;
}

}  // namespace

UserFolders UserFoldersFrom(const Environment& environment, System system) {
  UserFolders folders;
  if (system == System::Windows) {
    if (auto local = Folder(environment, "LOCALAPPDATA", system)) {
      folders.backups = Join(*local, "Palunor\\Backups", '\\');
    }
    if (auto roaming = Folder(environment, "APPDATA", system)) {
      folders.preferences_file = Join(*roaming, "Palunor\\palunor.ini", '\\');
    }
    return folders;
  }
  const std::optional<std::string> home = Folder(environment, "HOME", system);
  if (auto data = Folder(environment, "XDG_DATA_HOME", system)) {
    folders.backups = Join(*data, "palunor/backups", '/');
  } else if (home) {
    folders.backups = Join(*home, ".local/share/palunor/backups", '/');
  }
  if (auto config = Folder(environment, "XDG_CONFIG_HOME", system)) {
    folders.preferences_file = Join(*config, "palunor/palunor.conf", '/');
  } else if (home) {
    folders.preferences_file = Join(*home, ".config/palunor/palunor.conf", '/');
  }
  return folders;
}

UserFolders SystemUserFolders() {
#ifdef _WIN32
  // The wide environment: a user name outside the ANSI code page survives.
  const Environment environment = [](const char* name) -> std::optional<std::string> {
    const std::wstring wide_name(name, name + std::char_traits<char>::length(name));
    const wchar_t* value = _wgetenv(wide_name.c_str());
    if (value == nullptr) return std::nullopt;
    // A value that is not valid UTF-16 names no folder the program could use.
    try {
      return files::Utf8FromPath(std::filesystem::path(std::wstring(value)));
    } catch (const std::exception&) {
      return std::nullopt;
    }
  };
  return UserFoldersFrom(environment, System::Windows);
#else
  const Environment environment = [](const char* name) -> std::optional<std::string> {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
  };
  return UserFoldersFrom(environment, System::Posix);
#endif
}

}  // namespace safekeeping
