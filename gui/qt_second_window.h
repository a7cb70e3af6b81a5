// The second window on Qt: a resizable top-level widget with the core's buttons, a
// view of its canvas that reports the pointer, the wheel and dragging, and a status
// line. It opens beside the main window the first time and where the user left it
// afterwards, in this run and the next.
#pragma once

#include <QLabel>
#include <QPointer>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "gui/qt_canvas.h"
#include "ui/second_window.h"

class QHBoxLayout;

namespace gui {

class CanvasView;

class QtSecondWindow : public QWidget, public ui::SecondWindow {
 public:
  // `place_file` keeps the window's place and size between runs; `beside` is the
  // window it opens next to when it has none.
  QtSecondWindow(std::filesystem::path place_file, QWidget* beside);
  ~QtSecondWindow() override;

  void Show() override;
  bool Visible() const override { return isVisible(); }
  void SetTitle(const std::string& title) override;
  void SetButtons(const std::vector<std::string>& captions) override;
  void SetStatus(const std::string& text) override;
  ui::Canvas& GetCanvas() override;
  std::string PngBytes() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void KeepPlace();

  std::filesystem::path m_place_file;
  QPointer<QWidget> m_beside;
  bool m_placed = false;
  QHBoxLayout* m_buttons = nullptr;
  CanvasView* m_view = nullptr;
  QLabel* m_status = nullptr;
};

class QtWindowFactory : public ui::WindowFactory {
 public:
  // `config_dir`: the folder the windows' places are kept in; by default the user's
  // configuration folder as it is when a window is made.
  explicit QtWindowFactory(std::filesystem::path config_dir = {})
      : m_config_dir(std::move(config_dir)) {}
  std::unique_ptr<ui::SecondWindow> MakeWindow(const std::string& name) override;
  // The main window the second windows open beside.
  void SetAnchor(QWidget* window) { m_anchor = window; }

 private:
  std::filesystem::path m_config_dir;
  QPointer<QWidget> m_anchor;
};

}  // namespace gui
