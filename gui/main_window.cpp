#include "gui/main_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QShowEvent>

#include "gui/control_views.h"
#include "gui/keys.h"
#include "shell/layout.h"

namespace gui {

namespace {

bool IsButton(const ui::Control& control) {
  return control.Kind() == ui::ControlKind::Button || control.Kind() == ui::ControlKind::BitButton;
}

bool TakesFocus(const ui::Control& control) {
  return IsButton(control) || control.Kind() == ui::ControlKind::CheckBox;
}

}  // namespace

MainWindow::MainWindow(shell::TForm1& form)
    // Customised hints: the window system offers exactly these, and no maximise box
    // on a window whose size is fixed.
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint |
                           Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_form(form) {
  LoadBundledFonts();
  const shell::WindowSize size = shell::ClientSize(form.GetVariant());
  setFixedSize(size.width, size.height);
  setWindowTitle(QString::fromStdString(form.Caption()));
  form.OnCaptionChanged = [this] { setWindowTitle(QString::fromStdString(m_form.Caption())); };

  // Creation order is stacking order: a later control lies over an earlier one.
  for (ui::Control* control : form.Controls().All()) {
    QWidget* parent = this;
    if (control->Parent() != nullptr) parent = m_widgets.at(control->Parent());
    QWidget* widget = MakeControlWidget(*control, parent);
    m_widgets[control] = widget;
    m_controls[widget] = control;
    if (TakesFocus(*control)) {
      widget->installEventFilter(this);
    } else if (control->Kind() != ui::ControlKind::SpeedButton) {
      widget->setFocusPolicy(Qt::NoFocus);
    }
  }
  form.Controls().Subscribe(
      [this](ui::Control& control, ui::Property property) { Changed(control, property); });
}

QWidget* MainWindow::Widget(const std::string& name) const {
  const ui::Control* control = m_form.Controls().Find(name);
  if (control == nullptr) return nullptr;
  auto it = m_widgets.find(control);
  return it == m_widgets.end() ? nullptr : it->second;
}

void MainWindow::Changed(ui::Control& control, ui::Property property) {
  if (property == ui::Property::Focus) {
    FocusChanged();
    return;
  }
  auto it = m_widgets.find(&control);
  if (it != m_widgets.end()) RefreshControlWidget(control, *it->second, property);
}

void MainWindow::FocusChanged() {
  ui::Control* focus = m_form.Controls().Focus();
  QWidget* target = this;
  if (focus != nullptr) {
    auto it = m_widgets.find(focus);
    if (it != m_widgets.end()) target = it->second;
  }
  if (!target->hasFocus()) target->setFocus(Qt::OtherFocusReason);
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // The start-up activation must not wait for the window system: a desktop that
  // prevents focus stealing, or an X server without a window manager, never
  // activates the window. It runs once the window is on screen, so that a message
  // box it shows stands over it; the form ignores every later call.
  QMetaObject::invokeMethod(
      this, [this] { m_form.Activated(); }, Qt::QueuedConnection);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  auto it = m_controls.find(watched);
  if (it != m_controls.end()) {
    if (event->type() == QEvent::FocusIn) it->second->SetFocus();
    if (event->type() == QEvent::KeyPress && HandleKey(static_cast<QKeyEvent*>(event))) {
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void MainWindow::focusInEvent(QFocusEvent* event) {
  m_form.Controls().SetFocus(nullptr);
  QWidget::focusInEvent(event);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  if (!HandleKey(event)) QWidget::keyPressEvent(event);
}

bool MainWindow::HandleKey(QKeyEvent* event) {
  const int key = event->key();
  // Tab and Backtab move the focus as usual.
  if (key == Qt::Key_Tab || key == Qt::Key_Backtab) return false;
  const Qt::KeyboardModifiers modifiers = event->modifiers();
  const ui::KeyChord chord{VirtualKey(key, modifiers), modifiers.testFlag(Qt::ControlModifier),
                           modifiers.testFlag(Qt::ShiftModifier)};
  if (chord.key != 0 && !modifiers.testFlag(Qt::AltModifier) && m_form.ShortcutKey(chord)) {
    return true;
  }
  ui::Control* focus = m_form.Controls().Focus();
  if (focus != nullptr) {
    // With a control focused, the arrows step between controls and Enter presses the
    // focused button before the control's own key handling sees them.
    if (key == Qt::Key_Left || key == Qt::Key_Up) return focusNextPrevChild(false), true;
    if (key == Qt::Key_Right || key == Qt::Key_Down) return focusNextPrevChild(true), true;
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && IsButton(*focus)) {
      if (!event->isAutoRepeat()) focus->Click();
      return true;
    }
  }
  bool consumed = false;
  int code = VirtualKey(key, event->modifiers());
  if (code != 0) {
    m_form.KeyDown(code);
    consumed = code == 0;
  }
  if (!event->modifiers().testFlag(Qt::AltModifier)) {
    for (const QChar c : event->text()) {
      if (c.isNull()) continue;
      int character = c.unicode();
      m_form.KeyPress(character);
      consumed = consumed || character == 0;
    }
  }
  return consumed;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!m_closed) {
    if (!m_form.FormCloseQuery()) {
      event->ignore();
      return;
    }
    m_closed = true;
    m_form.FormClose();
  }
  event->accept();
  if (OnClosed) OnClosed();
}

}  // namespace gui
