// Fuzzes the two readers of the user's own files: the preferences file, with arbitrary
// contents, must only ever yield a sound folder and read back what it writes; a file
// name taken for a backup's must be one the backups would have written.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "safekeeping/backup_names.h"
#include "safekeeping/preferences_file.h"

#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::ScratchDir scratch("preferences");
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::filesystem::path file = scratch.Path() / "palunor.conf";
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    fuzz::Check(out.good());
  }

  const ui::PreferencesValues values = safekeeping::ReadPreferences(file.string());
  if (!values.backup_folder.empty()) {
    fuzz::Check(values.backup_folder.front() == '/');
    for (const char c : values.backup_folder) fuzz::Check(static_cast<unsigned char>(c) >= 0x20);
  }
  // What the dialog's OK writes, the next start reads back.
  fuzz::Check(safekeeping::ParsePreferences(safekeeping::PreferencesText(values)) == values);

  // Only a name the backups write is ever listed or pruned as a backup.
  if (const auto name = safekeeping::ParseFileName(text)) {
    fuzz::Check(safekeeping::FileName(*name) == text);
  }
  return 0;
}
