#include "safekeeping/preferences_file.h"

#include <filesystem>
#include <optional>

#include "files/read_file.h"
#include "files/replace_file.h"
#include "files/utf8_path.h"

namespace safekeeping {

namespace {

// Far more than the four lines and the longest folder path take.
constexpr std::size_t kMaxRead = 64 * 1024;

constexpr std::string_view kSection = "[Palunor]";
constexpr std::string_view kAskBeforeClosing = "AskBeforeClosing";
constexpr std::string_view kConfirmWrites = "ConfirmWrites";
constexpr std::string_view kBackups = "Backups";
constexpr std::string_view kBackupFolder = "BackupFolder";

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<bool> ToBool(std::string_view value) {
  if (value == "1" || value == "true") return true;
  if (value == "0" || value == "false") return false;
  return std::nullopt;
}

// Whether `text` is well-formed UTF-8: no stray continuation byte, no overlong form,
// no surrogate, nothing past U+10FFFF. Only such a path converts on every system.
bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(i);
    const std::size_t length = lead < 0x80   ? 1
                               : lead < 0xc2 ? 0
                               : lead < 0xe0 ? 2
                               : lead < 0xf0 ? 3
                               : lead < 0xf5 ? 4
                                             : 0;
    if (length == 0 || i + length > text.size()) return false;
    unsigned code = length == 1 ? lead : lead & (0xff >> (length + 1));
    for (std::size_t k = 1; k < length; ++k) {
      if ((byte(i + k) & 0xc0) != 0x80) return false;
      code = (code << 6) | (byte(i + k) & 0x3f);
    }
    const unsigned smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < smallest[length] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)) {
      return false;
    }
    i += length;
  }
  return true;
}

// A folder the backups can go to: absolute, valid UTF-8, no control characters.
bool SoundFolder(std::string_view value) {
  for (const char c : value) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;
  }
  return !value.empty() && IsUtf8(value) && files::PathFromUtf8(value).is_absolute();
}

void Apply(std::string_view key, std::string_view value, ui::PreferencesValues& values) {
  if (key == kBackupFolder) {
    if (SoundFolder(value)) values.backup_folder = std::string(value);
    return;
  }
  const std::optional<bool> flag = ToBool(value);
  if (!flag) return;
  if (key == kAskBeforeClosing) values.ask_before_closing = *flag;
  if (key == kConfirmWrites) values.confirm_writes = *flag;
  if (key == kBackups) values.backups = *flag;
}

}  // namespace

ui::PreferencesValues ParsePreferences(std::string_view text) {
  ui::PreferencesValues values;
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    Apply(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)), values);
  }
  return values;
}

ui::PreferencesValues ReadPreferences(const std::string& path) {
  std::string text;
  if (path.empty() || files::ReadFileStart(files::PathFromUtf8(path), kMaxRead, text)) return {};
  if (text.size() == kMaxRead) {
    // The bound may cut a folder path in two: the cut line is not taken.
    const std::size_t last_end = text.find_last_of("\r\n");
    text.resize(last_end == std::string::npos ? 0 : last_end);
  }
  return ParsePreferences(text);
}

std::string PreferencesText(const ui::PreferencesValues& values) {
  const auto line = [](std::string_view key, std::string_view value) {
    return std::string(key) + "=" + std::string(value) + "\n";
  };
  std::string text = std::string(kSection) + "\n";
  text += line(kAskBeforeClosing, values.ask_before_closing ? "1" : "0");
  text += line(kConfirmWrites, values.confirm_writes ? "1" : "0");
  text += line(kBackups, values.backups ? "1" : "0");
  if (!values.backup_folder.empty()) text += line(kBackupFolder, values.backup_folder);
  return text;
}

std::error_code WritePreferences(const std::string& path, const ui::PreferencesValues& values) {
  const std::filesystem::path file = files::PathFromUtf8(path);
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  if (error) return error;
  return files::ReplaceFile(file, PreferencesText(values));
}

}  // namespace safekeeping
