// The help viewer on Qt: a window with the program's HTML help file, opened at its
// contents or scrolled to a topic's anchor, beside the main window.
#pragma once

#include <QPointer>
#include <QTextBrowser>
#include <memory>

#include "ui/help_viewer.h"

namespace gui {

// The help window closes on Escape and Ctrl+W, as a viewer beside the main window is
// expected to.
class HelpWindow : public QTextBrowser {
 public:
  HelpWindow();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

class QtHelpViewer : public ui::HelpViewer {
 public:
  bool ShowContents(const std::string& help_file) override;
  bool ShowTopic(const std::string& help_file, const std::string& topic) override;

  // The window the help opens beside; null places it where the window system likes.
  void SetAnchor(QWidget* anchor) { m_anchor = anchor; }
  // Closes the help window, if it is open.
  void Close();

  // The help window, null until help was first shown.
  HelpWindow* Window() const { return m_window.get(); }

 private:
  bool Show(const std::string& help_file, const QString& anchor);
  void PlaceBesideAnchor();

  std::unique_ptr<HelpWindow> m_window;
  QPointer<QWidget> m_anchor;
};

}  // namespace gui
