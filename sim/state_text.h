// What the emulated controller holds, as text: one line a curve (RAM and EEPROM) and
// one an option, so a user watching a demo or an end-to-end test can see what the
// program has sent without asking the controller over its own busy line.
//   ram1 27 27 28 ... (26 point values, 25 = 0 degrees)
//   output 5 | output 12, input positive | negative, bypass on | off,
//   bypass_step N, vref_step N, live on | off, point_code N
#pragma once

#include <filesystem>
#include <string>

#include "sim/controller.h"

namespace sim {

std::string StateText(const Controller& controller);

// Replaces `path` with `text` in one step (a reader never sees half of it); false
// when it cannot be written.
bool WriteStateFile(const std::filesystem::path& path, const std::string& text);

}  // namespace sim
