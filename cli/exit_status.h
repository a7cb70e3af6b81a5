// What palunorctl's exit status tells a script: one meaning each.
#pragma once

namespace cli {

enum class ExitStatus {
  Done = 0,
  Usage = 1,         // the command line is wrong
  NoController = 2,  // the port cannot be opened, or no controller answered on it
  NotConfirmed = 3,  // refused before writing, or the controller did not confirm
  FileError = 4,     // a file cannot be read, is no map, or cannot be written
};

inline int Code(ExitStatus status) {
  return static_cast<int>(status);
}

}  // namespace cli
