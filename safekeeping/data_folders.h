// Where the user's own files of the additions live: the backups of the controller's
// curves in the user's data folder, the preferences in the user's config folder.
// Resolved once by the program's entry and handed to the form through the platform,
// so tests give temporary folders and never reach the real home.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace safekeeping {

struct UserFolders {
  std::string backups;           // empty: no folder known, no backups written
  std::string preferences_file;  // empty: the preferences are not kept
};

// A variable of the environment, as UTF-8; nothing when it is not set.
using Environment = std::function<std::optional<std::string>(const char* name)>;

enum class System { Posix, Windows };

// POSIX: "$XDG_DATA_HOME/palunor/backups" (else "$HOME/.local/share/...") and
// "$XDG_CONFIG_HOME/palunor/palunor.conf" (else "$HOME/.config/..."); a relative XDG
// folder is ignored, as the base directory rules say. Windows:
// "%LOCALAPPDATA%\Palunor\Backups" and "%APPDATA%\Palunor\palunor.ini".
UserFolders UserFoldersFrom(const Environment& environment, System system);

// The folders of this process's user on this system.
UserFolders SystemUserFolders();

}  // namespace safekeeping
