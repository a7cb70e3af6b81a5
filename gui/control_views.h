// One widget per kind of control, each mirroring its ui::Control and handing the
// user's actions back to it: labels and images pass mouse presses, moves and
// releases (the pressed widget keeps the mouse until release, as a captured marker
// does), buttons their clicks, the check box its clicks without toggling itself,
// and the up-down its two arrows.
#pragma once

#include <QCheckBox>
#include <QFont>
#include <QLabel>
#include <QWidget>

#include "ui/control.h"

namespace gui {

// Makes the widget of a control inside `parent` at the control's bounds, in its
// present state.
QWidget* MakeControlWidget(ui::Control& control, QWidget* parent);

// Brings the widget up to date with one changed property of its control.
void RefreshControlWidget(ui::Control& control, QWidget& widget, ui::Property property);

// The Qt font of a design font; "LcdD" is the bundled seven-segment font.
QFont ToQFont(const ui::Font& font);

// Registers the bundled fonts once; safe to call again.
void LoadBundledFonts();

// A label: text with the design's font, colour, alignment and background, and the
// mouse events the markers are dragged with.
class LabelView : public QLabel {
 public:
  LabelView(ui::Control& control, QWidget* parent);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  ui::Control& m_control;
};

// An image control: its canvas, or its picture stretched over it.
class ImageView : public QLabel {
 public:
  ImageView(ui::Control& control, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  ui::Control& m_control;
};

// A check box whose mark follows the model: a click asks the control, and the
// control's Checked change sets the mark.
class CheckBoxView : public QCheckBox {
 public:
  CheckBoxView(ui::Control& control, QWidget* parent);

 protected:
  void nextCheckState() override;

 private:
  ui::Control& m_control;
};

}  // namespace gui
