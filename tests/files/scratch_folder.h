// A folder of its own for each test, removed afterwards, and the plain file reads and
// writes the tests judge the files by.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>

namespace files_test {

// A map file before and after a save: the bytes a replacement must leave behind.
constexpr const char* kOld = "SD1PPPPPPPPPPPPPPPPPPPPPPPPPP\r\nSD2QQQQQQQQQQQQQQQQQQQQQQQQQQ\r\n";
constexpr const char* kNew = "SD1UUUUUUUUUUUUUUUUUUUUUUUUUU\r\nSD2UUUUUUUUUUUUUUUUUUUUUUUUUU\r\n";

class ScratchFolder {
 public:
  ScratchFolder()
      : m_dir(std::filesystem::temp_directory_path() /
              ("palunor-files-" + std::to_string(std::random_device{}()))) {
    std::filesystem::create_directories(m_dir);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::permissions(m_dir, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_dir, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return m_dir; }
  std::filesystem::path operator/(const std::filesystem::path& name) const { return m_dir / name; }

  // The names in the folder, so a test sees every file a save left behind.
  std::set<std::filesystem::path> Names() const {
    std::set<std::filesystem::path> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir)) {
      names.insert(entry.path().filename());
    }
    return names;
  }

 private:
  std::filesystem::path m_dir;
};

inline std::string Read(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void Write(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

}  // namespace files_test
