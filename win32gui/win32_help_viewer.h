// The help viewer on Windows: the program's bundled HTML help, named <program>.hlp, in
// the user's browser at its contents or at a topic's anchor. A browser will not render
// a file called .hlp, and opening a file drops any "#anchor", so the help is copied as
// an .html page into a folder of its own under the user's temporary folder, beside a
// small page that forwards to the topic's anchor.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "ui/help_viewer.h"

namespace win32gui {

// Writes the pages for `help_file` into `folder` (made if missing): "help.html", the
// help itself, and for a topic also "topic.html", which forwards to
// "help.html#<topic>". The page to open, or nothing when the help file cannot be read
// or the pages cannot be written.
std::optional<std::filesystem::path> PrepareHelpPage(const std::string& help_file,
                                                     const std::string& topic,
                                                     const std::filesystem::path& folder);

// The folder for a help file's pages: "<temp>\<name of the help file>-help".
std::filesystem::path HelpPageFolder(const std::string& help_file);

class Win32HelpViewer : public ui::HelpViewer {
 public:
  Win32HelpViewer();

  bool ShowContents(const std::string& help_file) override;
  bool ShowTopic(const std::string& help_file, const std::string& topic) override;

  // Opens a page in the user's browser; true when it started. Tests replace it.
  std::function<bool(const std::filesystem::path&)> Open;

 private:
  bool Show(const std::string& help_file, const std::string& topic);
};

}  // namespace win32gui
