#include "gui/qt_help_viewer.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace gui {

namespace {
// The anchor of the help file's contents.
const QString kContentsAnchor = "Contents";
}  // namespace

bool QtHelpViewer::Show(const std::string& help_file, const QString& anchor) {
  const QString path = QString::fromStdString(help_file);
  QFile file(path);
  if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return false;
  const QString html = QString::fromUtf8(file.readAll());
  if (!m_window) {
    m_window = std::make_unique<QTextBrowser>();
    m_window->resize(640, 560);
    m_window->setOpenExternalLinks(true);
  }
  m_window->setSearchPaths({QFileInfo(path).absolutePath()});
  m_window->setHtml(html);
  const QString title = m_window->documentTitle();
  m_window->setWindowTitle(title.isEmpty() ? QFileInfo(path).completeBaseName() : title);
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
