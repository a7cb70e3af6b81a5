// The names of the backup files: when the controller's curves were copied, from
// which controller and on which occasion, in a form that sorts by time and that
// Open's file dialog shows as a map ("2026-12-09 07-41-02 QZR 6.0 read.IJJ").
#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace safekeeping {

// A local date and time, to the second.
struct LocalTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  friend auto operator<=>(const LocalTime&, const LocalTime&) = default;
};

// What made the backup: a completed Read, or a Send or REC EEPR about to overwrite
// what the controller held.
enum class Occasion { Read, Send, Record };

struct BackupName {
  LocalTime time;
  std::string model;     // "QZR", "PLX"
  std::string firmware;  // "6.0"
  Occasion occasion = Occasion::Read;
  // Backups made in the same second are numbered from 2 on: "... read (2).IJJ".
  int number = 1;
};

// "read", "send", "record".
std::string OccasionText(Occasion occasion);

// The file name, with the extension.
std::string FileName(const BackupName& name);

// The name of a file that FileName could have made; nothing for any other file,
// which the backups never list nor remove.
std::optional<BackupName> ParseFileName(std::string_view file_name);

// "2026-12-09 07:41:02", as the backups list shows it.
std::string DateText(const LocalTime& time);

// Older first: by time, then by number within a second.
bool Older(const BackupName& a, const BackupName& b);

}  // namespace safekeeping
