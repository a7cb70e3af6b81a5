#include "gui/qt_second_window.h"

#include <QBuffer>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <string>

#include "files/read_file.h"
#include "files/replace_file.h"

namespace gui {

namespace {

constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;
constexpr int kGap = 8;
constexpr std::size_t kPlaceBytes = 4096;
constexpr int kWheelStep = 120;

}  // namespace

// Shows a QtCanvas the size of the widget and tells the window's owner what the
// pointer does over it.
class CanvasView : public QWidget {
 public:
  explicit CanvasView(ui::SecondWindow& window) : m_window(window) {
    setMouseTracking(true);
    setMinimumSize(200, 150);
  }
  QtCanvas& Canvas() { return *m_canvas; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.drawImage(0, 0, m_canvas->Image());
  }
  void resizeEvent(QResizeEvent*) override {
    m_canvas = std::make_unique<QtCanvas>(width(), height(), devicePixelRatioF());
    m_canvas->OnChanged = [this] { update(); };
    if (m_window.OnResized) m_window.OnResized();
    update();
  }
  void mousePressEvent(QMouseEvent* event) override { m_drag_x = event->position().toPoint().x(); }
  void mouseMoveEvent(QMouseEvent* event) override {
    const QPoint at = event->position().toPoint();
    if ((event->buttons() & Qt::LeftButton) && m_window.OnDrag) {
      m_window.OnDrag(at.x() - m_drag_x);
      m_drag_x = at.x();
    }
    if (m_window.OnMouseMove) m_window.OnMouseMove({at.x(), at.y()});
  }
  void wheelEvent(QWheelEvent* event) override {
    m_wheel += event->angleDelta().y();
    const int steps = m_wheel / kWheelStep;
    m_wheel -= steps * kWheelStep;
    const QPoint at = event->position().toPoint();
    if (steps != 0 && m_window.OnWheel) m_window.OnWheel({at.x(), at.y()}, steps);
  }

 private:
  ui::SecondWindow& m_window;
  std::unique_ptr<QtCanvas> m_canvas = std::make_unique<QtCanvas>(1, 1);
  int m_drag_x = 0;
  int m_wheel = 0;  // eighths of a degree not yet a whole step
};

QtSecondWindow::QtSecondWindow(std::filesystem::path place_file, QWidget* beside)
    : QWidget(nullptr, Qt::Window), m_place_file(std::move(place_file)), m_beside(beside) {
  auto* column = new QVBoxLayout(this);
  m_buttons = new QHBoxLayout;
  m_buttons->addStretch();
  column->addLayout(m_buttons);
  m_view = new CanvasView(*this);
  column->addWidget(m_view, 1);
  m_status = new QLabel;
  column->addWidget(m_status);
  resize(kDefaultWidth, kDefaultHeight);
  std::string place;
  if (!files::ReadFileStart(m_place_file, kPlaceBytes, place) && !place.empty()) {
    m_placed = restoreGeometry(QByteArray(place.data(), static_cast<qsizetype>(place.size())));
  }
}

QtSecondWindow::~QtSecondWindow() {
  if (isVisible()) KeepPlace();
}

void QtSecondWindow::Show() {
  if (!m_placed && m_beside) {
    move(m_beside->frameGeometry().topRight() + QPoint(kGap, 0));
    m_placed = true;
  }
  show();
  raise();
  activateWindow();
}

void QtSecondWindow::SetTitle(const std::string& title) {
  setWindowTitle(QString::fromStdString(title));
}

void QtSecondWindow::SetButtons(const std::vector<std::string>& captions) {
  while (m_buttons->count() > 1) delete m_buttons->takeAt(0)->widget();
  for (std::size_t i = 0; i < captions.size(); ++i) {
    auto* button = new QPushButton(QString::fromStdString(captions[i]));
    button->setFocusPolicy(Qt::TabFocus);
    connect(button, &QPushButton::clicked, this, [this, i] {
      if (OnButton) OnButton(i);
    });
    m_buttons->insertWidget(static_cast<int>(i), button);
  }
}

void QtSecondWindow::SetStatus(const std::string& text) {
  m_status->setText(QString::fromStdString(text));
}

ui::Canvas& QtSecondWindow::GetCanvas() {
  return m_view->Canvas();
}

std::string QtSecondWindow::PngBytes() {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  m_view->Canvas().Image().save(&buffer, "PNG");
  return bytes.toStdString();
}

void QtSecondWindow::closeEvent(QCloseEvent* event) {
  KeepPlace();
  event->accept();
  if (OnClosed) OnClosed();
}

void QtSecondWindow::KeepPlace() {
  // A place that cannot be kept costs only the place: the window opens beside the
  // main window next time.
  std::error_code ignored;
  std::filesystem::create_directories(m_place_file.parent_path(), ignored);
  const QByteArray place = saveGeometry();
  files::ReplaceFile(m_place_file,
                     std::string_view(place.constData(), static_cast<std::size_t>(place.size())));
}

std::unique_ptr<ui::SecondWindow> QtWindowFactory::MakeWindow(const std::string& name) {
  const std::filesystem::path folder =
      !m_config_dir.empty() ? m_config_dir
                            : std::filesystem::path(QStandardPaths::writableLocation(
                                                        QStandardPaths::GenericConfigLocation)
                                                        .toStdU16String()) /
                                  "palunor";
  return std::make_unique<QtSecondWindow>(folder / (name + "-window"), m_anchor);
}

}  // namespace gui
