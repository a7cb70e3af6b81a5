// The main window on Qt: a fixed-size window with one widget per control of the
// form, bound both ways, and the window events (activation, closing, keys, focus)
// delivered to the form.
#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <string>

#include "shell/form.h"

namespace gui {

class MainWindow : public QWidget {
 public:
  explicit MainWindow(shell::TForm1& form);

  // The widget of the named control, or null.
  QWidget* Widget(const std::string& name) const;

  // Runs once the window has closed and the form has written its configuration.
  std::function<void()> OnClosed;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  void Changed(ui::Control& control, ui::Property property);
  void FocusChanged();
  // Delivers a key to the form after the keys the window itself handles; true when
  // the key was consumed and the widget must not see it.
  bool HandleKey(QKeyEvent* event);

  shell::TForm1& m_form;
  std::map<const ui::Control*, QWidget*> m_widgets;
  std::map<const QObject*, ui::Control*> m_controls;
  bool m_closed = false;
};

}  // namespace gui
