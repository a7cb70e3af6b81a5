// The preferences file: the settings of the additions to the window, in a file of
// their own (never "Advance.ini"), one "Key=value" line each under "[Palunor]".
// Read with the care "Advance.ini" gets: a bounded read, unknown keys and bad values
// passed over, so a damaged file leaves the defaults.
#pragma once

#include <string>
#include <string_view>
#include <system_error>

#include "ui/dialogs.h"

namespace safekeeping {

// The values a text gives: each key that is there with a sound value replaces the
// default; anything else is ignored. A folder must be an absolute path.
ui::PreferencesValues ParsePreferences(std::string_view text);

// The defaults when the file is missing, unreadable or damaged; only its first
// 64 KiB are read, and a line the bound cuts is not taken.
ui::PreferencesValues ReadPreferences(const std::string& path);

// The text of the file; the folder line only when a folder is set.
std::string PreferencesText(const ui::PreferencesValues& values);

// Writes the file, creating its folder, by the one safe replace. The error, if any.
std::error_code WritePreferences(const std::string& path, const ui::PreferencesValues& values);

}  // namespace safekeeping
