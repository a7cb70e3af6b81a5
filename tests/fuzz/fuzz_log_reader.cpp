// Fuzzes the reader of live-data logs with arbitrary file contents: it must never
// crash, must give a log or a reason, and every row it keeps must hold readings a
// frame can give; rows kept and rows skipped never outnumber the lines.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "fuzz/fuzz_support.h"
#include "logbook/log_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto result = logbook::ParseLog(text);
  if (const std::string* why = std::get_if<std::string>(&result)) {
    fuzz::Check(!why->empty());
    return 0;
  }
  const logbook::Log& log = std::get<logbook::Log>(result);
  fuzz::Check(text.starts_with(logbook::kLogTitle));
  const std::size_t lines =
      static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
  fuzz::Check(log.samples.size() + log.bad_rows <= lines);
  for (const logbook::LogSample& s : log.samples) {
    fuzz::Check(s.rpm >= 0 && s.rpm <= 120000);
    fuzz::Check(s.curve == 1 || s.curve == 2);
  }
  for (const auto& curve : log.curves) {
    if (!curve) continue;
    for (int degrees : *curve) fuzz::Check(degrees >= -25 && degrees <= 25);
  }
  return 0;
}
