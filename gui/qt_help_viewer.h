// The help viewer on Qt: a window with the program's HTML help file, opened at its
// contents or scrolled to a topic's anchor.
#pragma once

#include <QTextBrowser>
#include <memory>

#include "ui/help_viewer.h"

namespace gui {

class QtHelpViewer : public ui::HelpViewer {
 public:
  bool ShowContents(const std::string& help_file) override;
  bool ShowTopic(const std::string& help_file, const std::string& topic) override;

  // The help window, null until help was first shown.
  QTextBrowser* Window() const { return m_window.get(); }

 private:
  bool Show(const std::string& help_file, const QString& anchor);

  std::unique_ptr<QTextBrowser> m_window;
};

}  // namespace gui
