// The headless help viewer: records every call; shows a file only if it exists, so a
// test sees both what the window asked for and the message of a missing help file.
#pragma once

#include <string>
#include <vector>

#include "ui/help_viewer.h"

namespace ui {

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
