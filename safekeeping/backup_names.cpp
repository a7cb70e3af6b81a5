#include "safekeeping/backup_names.h"

#include <cstdio>

namespace safekeeping {

namespace {

constexpr std::string_view kExtension = ".IJJ";
constexpr Occasion kOccasions[] = {Occasion::Read, Occasion::Send, Occasion::Record};

// A fixed number of decimal digits at `pos`, which moves past them.
std::optional<int> Digits(std::string_view text, std::size_t& pos, std::size_t count) {
  if (pos + count > text.size()) return std::nullopt;
  int value = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const char c = text[pos + i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  pos += count;
  return value;
}

bool Take(std::string_view text, std::size_t& pos, char wanted) {
  if (pos >= text.size() || text[pos] != wanted) return false;
  ++pos;
  return true;
}

// A word up to the next blank: at least one character, each allowed.
std::optional<std::string> Word(std::string_view text, std::size_t& pos, bool (*allowed)(char)) {
  const std::size_t start = pos;
  while (pos < text.size() && allowed(text[pos])) ++pos;
  if (pos == start || pos - start > 8) return std::nullopt;
  return std::string(text.substr(start, pos - start));
}

bool ModelCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool FirmwareCharacter(char c) {
  return (c >= '0' && c <= '9') || c == '.';
}

std::optional<LocalTime> Time(std::string_view text, std::size_t& pos) {
  LocalTime t;
  const auto field = [&](int& value, std::size_t count, char after) {
    const std::optional<int> digits = Digits(text, pos, count);
    if (!digits || !Take(text, pos, after)) return false;
    value = *digits;
    return true;
  };
  if (!field(t.year, 4, '-') || !field(t.month, 2, '-') || !field(t.day, 2, ' ') ||
      !field(t.hour, 2, '-') || !field(t.minute, 2, '-') || !field(t.second, 2, ' ')) {
    return std::nullopt;
  }
  return t;
}

}  // namespace

std::string OccasionText(Occasion occasion) {
  switch (occasion) {
    case Occasion::Read:
      return "read";
    case Occasion::Send:
      return "send";
    case Occasion::Record:
      return "record";
  }
  return {};
}

std::string DateText(const LocalTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

std::string FileName(const BackupName& name) {
  const LocalTime& t = name.time;
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d-%02d-%02d", t.year, t.month, t.day,
                t.hour, t.minute, t.second);
  std::string file = std::string(stamp) + " " + name.model + " " + name.firmware + " " +
                     OccasionText(name.occasion);
  if (name.number > 1) file += " (" + std::to_string(name.number) + ")";
  return file + std::string(kExtension);
}

std::optional<BackupName> ParseFileName(std::string_view file) {
  if (file.size() <= kExtension.size() || !file.ends_with(kExtension)) return std::nullopt;
  file.remove_suffix(kExtension.size());
  BackupName name;
  std::size_t pos = 0;
  const std::optional<LocalTime> time = Time(file, pos);
  if (!time) return std::nullopt;
  name.time = *time;
  const std::optional<std::string> model = Word(file, pos, ModelCharacter);
  if (!model || !Take(file, pos, ' ')) return std::nullopt;
  name.model = *model;
  const std::optional<std::string> firmware = Word(file, pos, FirmwareCharacter);
  if (!firmware || !Take(file, pos, ' ')) return std::nullopt;
  name.firmware = *firmware;
  const std::string_view rest = file.substr(pos);
  for (const Occasion occasion : kOccasions) {
    const std::string word = OccasionText(occasion);
    if (!rest.starts_with(word)) continue;
    std::string_view number = rest.substr(word.size());
    name.occasion = occasion;
    if (number.empty()) return name;
    if (!number.starts_with(" (") || !number.ends_with(")") || number.size() < 4) {
      return std::nullopt;
    }
    number = number.substr(2, number.size() - 3);
    if (number.size() > 6 || number.front() == '0') return std::nullopt;
    std::size_t at = 0;
    const std::optional<int> value = Digits(number, at, number.size());
    if (!value || *value < 2) return std::nullopt;
    name.number = *value;
    return name;
  }
  return std::nullopt;
}

bool Older(const BackupName& a, const BackupName& b) {
  if (a.time != b.time) return a.time < b.time;
  return a.number < b.number;
}

}  // namespace safekeeping
