// The help viewer: shows a help file's contents or one of its topics.
#pragma once

#include <string>

namespace ui {

class HelpViewer {
 public:
  virtual ~HelpViewer() = default;
  // False when the help file cannot be shown (missing or unreadable).
  virtual bool ShowContents(const std::string& help_file) = 0;
  virtual bool ShowTopic(const std::string& help_file, const std::string& topic) = 0;
};

}  // namespace ui
