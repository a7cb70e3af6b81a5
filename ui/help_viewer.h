// The help viewer: shows a help file's contents or one of its topics.
#pragma once

#include <string>
#include <vector>

namespace ui {

class HelpViewer {
 public:
  virtual ~HelpViewer() = default;
  // False when the help file cannot be shown (missing or unreadable).
  virtual bool ShowContents(const std::string& help_file) = 0;
  virtual bool ShowTopic(const std::string& help_file, const std::string& topic) = 0;
};

// Headless viewer: records the calls; shows a file only if it exists.
class RecordingHelpViewer : public HelpViewer {
 public:
  struct Call {
    std::string file;
    std::string topic;  // empty for the contents
  };
  bool ShowContents(const std::string& help_file) override;
  bool ShowTopic(const std::string& help_file, const std::string& topic) override;
  const std::vector<Call>& Calls() const { return m_calls; }

 private:
  std::vector<Call> m_calls;
};

}  // namespace ui
