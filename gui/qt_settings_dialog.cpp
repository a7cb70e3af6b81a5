#include "gui/qt_settings_dialog.h"

#include <QAbstractItemView>
#include <QFormLayout>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QTabBar>
#include <QWidget>

namespace gui {

namespace {

constexpr int kMargin = 8;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;

QStringList Items(const std::vector<std::string>& items) {
  QStringList list;
  for (const std::string& item : items) list << QString::fromStdString(item);
  return list;
}

QComboBox* List(QFormLayout* page, const char* name, const char* label,
                const std::vector<std::string>& items, bool editable) {
  auto* box = new QComboBox;
  box->setObjectName(name);
  box->setEditable(editable);
  // Typed text stays text: it never becomes a new item of the list.
  box->setInsertPolicy(QComboBox::NoInsert);
  box->addItems(Items(items));
  // The list takes the room its label leaves, so no label is cut; its drop-down still
  // shows the longest item whole.
  box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  box->setMinimumContentsLength(4);
  box->view()->setMinimumWidth(box->view()->sizeHintForColumn(0));
  page->addRow(label, box);
  return box;
}

QFormLayout* Page(QTabWidget* pages, const char* caption) {
  auto* page = new QWidget;
  auto* form = new QFormLayout(page);
  form->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  pages->addTab(page, caption);
  return form;
}

void Choose(QComboBox* box, int index) {
  box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

}  // namespace

QtSettingsDialog::QtSettingsDialog(const ui::SettingsRequest& request, QWidget* parent)
    : QDialog(parent), m_request(request) {
  setWindowTitle("Settings");
  setObjectName("SettingsForm");
  setFixedSize(kWidth, kHeight);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  m_pages = new QTabWidget(this);
  m_pages->setObjectName("SettingsPageControl");
  m_pages->setGeometry(kMargin, kMargin, kWidth - 3 * kMargin - kButtonWidth,
                       kHeight - 2 * kMargin);

  // The tabs whole on one row at the design width: no scroll arrows, no cut captions.
  QTabBar* tabs = m_pages->tabBar();
  m_pages->setUsesScrollButtons(false);
  m_pages->setElideMode(Qt::ElideNone);
  tabs->setExpanding(false);

  QFormLayout* base = Page(m_pages, "Base Settings");
  m_port = List(base, "PortComboBox", "Port name:", request.port_items, true);
  m_baud = List(base, "BaudRateComboBox", "Baud rate:", request.baud_rate_items, true);
  m_data_bits = List(base, "DataBitsComboBox", "Data bits:", request.data_bits_items, false);
  m_parity = List(base, "ParityComboBox", "Parity:", request.parity_items, false);
  m_stop_bits = List(base, "StopBitsComboBox", "Stop bits:", request.stop_bits_items, false);
  QFormLayout* flow = Page(m_pages, "Flow Control");
  m_hw_flow = List(flow, "HwFlowComboBox", "Hardware flow:", request.hw_flow_items, false);
  m_sw_flow = List(flow, "SwFlowComboBox", "Software flow:", request.sw_flow_items, false);
  m_dtr = List(flow, "DTRControlComboBox", "DTR control:", request.dtr_control_items, false);
  QFormLayout* device = Page(m_pages, "Device Control");
  m_dev_check =
      List(device, "DevCheckComboBox", "Device check:", request.device_check_items, false);

  const int buttons_left = kWidth - kMargin - kButtonWidth;
  m_ok = new QPushButton("Ok", this);
  m_ok->setObjectName("OkButton");
  m_ok->setGeometry(buttons_left, kMargin + 20, kButtonWidth, kButtonHeight);
  m_ok->setDefault(true);
  m_cancel = new QPushButton("Cancel", this);
  m_cancel->setObjectName("CancelButton");
  m_cancel->setGeometry(buttons_left, kMargin + 20 + kButtonHeight + kMargin, kButtonWidth,
                        kButtonHeight);
  m_cancel->setAutoDefault(false);
  connect(m_ok, &QPushButton::clicked, this, [this] { OkButtonClick(); });
  // Escape also ends the dialog this way.
  connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

  const ui::SettingsValues& v = request.values;
  m_port->setCurrentText(QString::fromStdString(v.port_name));
  m_baud->setCurrentText(QString::fromStdString(v.baud_rate));
  Choose(m_data_bits, v.data_bits);
  Choose(m_parity, v.parity);
  Choose(m_stop_bits, v.stop_bits);
  Choose(m_hw_flow, v.hw_flow);
  Choose(m_sw_flow, v.sw_flow);
  Choose(m_dtr, v.dtr_control);
  Choose(m_dev_check, v.device_check);
  m_pages->setCurrentIndex(0);
  FitTabs();
  // The keyboard starts in "Port name:", so typing goes there at once.
  m_port->setFocus();

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

void QtSettingsDialog::FitTabs() {
  // The bundled font is wider than the one the design was drawn with. The style's
  // roomy tab margins go first; only then does the tab bar's font step down until the
  // three tabs fit beside the frame's edges.
  QTabBar* tabs = m_pages->tabBar();
  const int room = m_pages->width() - 4;
  if (tabs->sizeHint().width() <= room) return;
  tabs->setStyleSheet(
      "QTabBar::tab { padding: 3px 5px; margin-right: 1px; border: 1px solid palette(mid);"
      " border-bottom: none; border-top-left-radius: 3px; border-top-right-radius: 3px;"
      " background: palette(button); }"
      "QTabBar::tab:selected { background: palette(window); }"
      "QTabBar::tab:!selected { margin-top: 2px; }");
  QFont font = tabs->font();
  for (int step = 0; tabs->sizeHint().width() > room && step < 12; ++step) {
    if (font.pixelSize() > 0) {
      font.setPixelSize(font.pixelSize() - 1);
    } else {
      font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    tabs->setFont(font);
  }
}

ui::SettingsValues QtSettingsDialog::Values() const {
  ui::SettingsValues v;
  v.port_name = m_port->currentText().toStdString();
  v.baud_rate = m_baud->currentText().toStdString();
  v.data_bits = m_data_bits->currentIndex();
  v.parity = m_parity->currentIndex();
  v.stop_bits = m_stop_bits->currentIndex();
  v.hw_flow = m_hw_flow->currentIndex();
  v.sw_flow = m_sw_flow->currentIndex();
  v.dtr_control = m_dtr->currentIndex();
  v.device_check = m_dev_check->currentIndex();
  return v;
}

void QtSettingsDialog::OkButtonClick() {
  // A refused "Ok" has told the user why; the dialog stays open with its values.
  if (!m_request.ok || m_request.ok(Values())) accept();
}

}  // namespace gui
