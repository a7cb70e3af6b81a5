#include "gui/qt_help_viewer.h"

#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QScreen>
#include <QUrl>
#include <algorithm>

namespace gui {

namespace {
// The anchor of the help file's contents.
const QString kContentsAnchor = "Contents";
// Room left between the main window and the help beside it.
constexpr int kGap = 8;
}  // namespace

HelpWindow::HelpWindow() {
  // The help never keeps the program alive once the main window is closed.
  setAttribute(Qt::WA_QuitOnClose, false);
  resize(640, 560);
  setOpenExternalLinks(true);
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape || event->matches(QKeySequence::Close)) {
    close();
    return;
  }
  QTextBrowser::keyPressEvent(event);
}

void QtHelpViewer::Close() {
  if (m_window) m_window->close();
}

// Beside the main window, on the side with room for the help, top edges level, so the
// help never hides the window it explains; kept on the anchor's screen.
void QtHelpViewer::PlaceBesideAnchor() {
  if (m_anchor == nullptr || m_window->isVisible()) return;
  const QRect main = m_anchor->frameGeometry();
  const QRect screen = m_anchor->screen()->availableGeometry();
  const QRect frame = m_window->frameGeometry();
  const int width = frame.width();
  int left = main.right() + 1 + kGap;
  if (left + width > screen.right() + 1) {
    const int left_side = main.left() - kGap - width;
    if (left_side >= screen.left()) {
      left = left_side;
    } else {
      left = std::max(screen.left(), screen.right() + 1 - width);
    }
  }
  const int top = std::clamp(main.top(), screen.top(),
                             std::max(screen.top(), screen.bottom() + 1 - frame.height()));
  // A window's position is that of its frame.
  m_window->move(left, top);
}

bool QtHelpViewer::Show(const std::string& help_file, const QString& anchor) {
  const QString path = QString::fromStdString(help_file);
  QFile file(path);
  if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return false;
  const QString html = QString::fromUtf8(file.readAll());
  if (!m_window) m_window = std::make_unique<HelpWindow>();
  m_window->setSearchPaths({QFileInfo(path).absolutePath()});
  m_window->setHtml(html);
  const QString title = m_window->documentTitle();
  m_window->setWindowTitle(title.isEmpty() ? QFileInfo(path).completeBaseName() : title);
  PlaceBesideAnchor();
  m_window->show();
  m_window->raise();
  m_window->activateWindow();
  m_window->scrollToAnchor(anchor);
  return true;
}

bool QtHelpViewer::ShowContents(const std::string& help_file) {
  return Show(help_file, kContentsAnchor);
}

bool QtHelpViewer::ShowTopic(const std::string& help_file, const std::string& topic) {
  return Show(help_file, QString::fromStdString(topic));
}

}  // namespace gui
