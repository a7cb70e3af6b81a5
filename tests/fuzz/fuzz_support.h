// What every fuzz target needs: a rule that stops the run when broken, and a scratch
// folder of its own for the files an input is written to.
#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace fuzz {

// A broken rule is a finding: the fuzzer keeps the input that broke it.
inline void Check(bool condition) {
  if (!condition) std::abort();
}

// One folder per fuzzing process, removed when the process ends; in memory where the
// machine has it, since files are written for every input.
class ScratchDir {
 public:
  explicit ScratchDir(const std::string& tag) {
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    std::string pattern = (base / ("palunor-fuzz-" + tag + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    m_path = pattern;
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& Path() const { return m_path; }

 private:
  std::filesystem::path m_path;
};

}  // namespace fuzz
