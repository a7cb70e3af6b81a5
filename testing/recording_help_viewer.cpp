#include "testing/recording_help_viewer.h"

#include <filesystem>
#include <system_error>

namespace ui {

namespace {
bool Exists(const std::string& file) {
  std::error_code ec;
  return std::filesystem::is_regular_file(file, ec);
}
}  // namespace

bool RecordingHelpViewer::ShowContents(const std::string& help_file) {
  m_calls.push_back(Call{help_file, ""});
  return Exists(help_file);
}

bool RecordingHelpViewer::ShowTopic(const std::string& help_file, const std::string& topic) {
  m_calls.push_back(Call{help_file, topic});
  return Exists(help_file);
}

}  // namespace ui
