#include "gui/control_views.h"

#include <QFontDatabase>
#include <QFrame>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/pictures.h"
#include "gui/qt_canvas.h"

namespace gui {

namespace {

// The design's default face; any sans-serif of the platform stands in for it.
const std::string kDesignFace = "MS Sans Serif";
const std::string kLcdFace = "LcdD";
QString g_lcd_family;

ui::MouseButton ToMouseButton(Qt::MouseButton button) {
  switch (button) {
    case Qt::RightButton:
      return ui::MouseButton::Right;
    case Qt::MiddleButton:
      return ui::MouseButton::Middle;
    default:
      return ui::MouseButton::Left;
  }
}

void Press(ui::Control& control, QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  control.MouseDown(ToMouseButton(event->button()), at.x(), at.y());
}

void Move(ui::Control& control, QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  control.MouseMove(at.x(), at.y());
}

// A release ends a drag; a left release over the control is also its click.
void Release(ui::Control& control, QWidget& widget, QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  control.MouseUp(ToMouseButton(event->button()), at.x(), at.y());
  if (event->button() == Qt::LeftButton && widget.rect().contains(at)) control.Click();
}

Qt::Alignment ToAlignment(ui::Align align) {
  switch (align) {
    case ui::Align::Right:
      return Qt::AlignRight | Qt::AlignTop;
    case ui::Align::Center:
      return Qt::AlignHCenter | Qt::AlignTop;
    case ui::Align::Left:
      break;
  }
  return Qt::AlignLeft | Qt::AlignTop;
}

Qt::CursorShape ToCursor(ui::Cursor cursor) {
  switch (cursor) {
    case ui::Cursor::Hand:
    case ui::Cursor::Pointing:
      return Qt::PointingHandCursor;
    case ui::Cursor::Arrow:
    case ui::Cursor::Default:
      break;
  }
  return Qt::ArrowCursor;
}

// Colours of the active and inactive window; disabled text keeps the platform's grey.
void SetColour(QWidget& widget, QPalette::ColorRole role, ui::Color color) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Active, role, ToQColor(color));
  palette.setColor(QPalette::Inactive, role, ToQColor(color));
  if (role != QPalette::WindowText) palette.setColor(QPalette::Disabled, role, ToQColor(color));
  widget.setPalette(palette);
}

void SetBackground(QWidget& widget, ui::Color color) {
  SetColour(widget, QPalette::Window, color);
  widget.setAutoFillBackground(true);
}

QIcon GlyphIcon(ui::Picture picture) {
  const QImage glyph = Glyph(picture);
  return glyph.isNull() ? QIcon() : QIcon(QPixmap::fromImage(glyph));
}

QFrame* MakeFrame(const ui::ControlSpec& design, QWidget* parent) {
  auto* frame = new QFrame(parent);
  if (design.bevel == ui::BevelStyle::None) {
    frame->setFrameShape(QFrame::NoFrame);
  } else {
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(design.bevel == ui::BevelStyle::Raised ? QFrame::Raised : QFrame::Sunken);
    frame->setLineWidth(1);
  }
  if (design.kind == ui::ControlKind::Panel) SetBackground(*frame, design.color);
  return frame;
}

QWidget* MakeUpDown(ui::Control& control, QWidget* parent) {
  auto* box = new QWidget(parent);
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  for (bool up : {true, false}) {
    auto* arrow = new QToolButton(box);
    arrow->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
    arrow->setFocusPolicy(Qt::NoFocus);
    arrow->setAutoRepeat(true);
    arrow->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    arrow->setObjectName(up ? "up" : "down");
    QObject::connect(arrow, &QToolButton::clicked, [&control, up] { control.UpDownClick(up); });
    layout->addWidget(arrow);
  }
  return box;
}

}  // namespace

void LoadBundledFonts() {
  if (!g_lcd_family.isEmpty()) return;
  const int id = QFontDatabase::addApplicationFont(":/fonts/DSEG7Classic-Bold.ttf");
  const QStringList families = QFontDatabase::applicationFontFamilies(id);
  if (!families.isEmpty()) g_lcd_family = families.constFirst();
}

QFont ToQFont(const ui::Font& font) {
  QFont qt_font;
  if (font.family == kLcdFace) {
    LoadBundledFonts();
    if (!g_lcd_family.isEmpty()) qt_font.setFamily(g_lcd_family);
  } else if (font.family != kDesignFace) {
    qt_font.setFamily(QString::fromStdString(font.family));
  }
  qt_font.setPixelSize(font.height);
  qt_font.setBold(font.bold);
  qt_font.setItalic(font.italic);
  return qt_font;
}

LabelView::LabelView(ui::Control& control, QWidget* parent) : QLabel(parent), m_control(control) {
  const ui::ControlSpec& design = control.Design();
  setTextFormat(Qt::PlainText);
  setAlignment(ToAlignment(design.align));
  setWordWrap(design.word_wrap);
  // Hovering over a marker selects its point, so moves count without a button held.
  setMouseTracking(true);
  if (!design.transparent) SetBackground(*this, design.color);
}

void LabelView::mousePressEvent(QMouseEvent* event) {
  Press(m_control, event);
}

void LabelView::mouseMoveEvent(QMouseEvent* event) {
  Move(m_control, event);
}

void LabelView::mouseReleaseEvent(QMouseEvent* event) {
  Release(m_control, *this, event);
}

ImageView::ImageView(ui::Control& control, QWidget* parent) : QLabel(parent), m_control(control) {
  if (auto* canvas = dynamic_cast<QtCanvas*>(control.GetCanvas())) {
    canvas->OnChanged = [this] { update(); };
  }
}

void ImageView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (m_control.GetPicture() != ui::Picture::None) {
    PaintPicture(painter, m_control.GetPicture(), rect());
  } else if (auto* canvas = dynamic_cast<QtCanvas*>(m_control.GetCanvas());
             canvas != nullptr && canvas->Drawn()) {
    painter.drawImage(0, 0, canvas->Image());
  }
}

void ImageView::mousePressEvent(QMouseEvent* event) {
  Press(m_control, event);
}

void ImageView::mouseMoveEvent(QMouseEvent* event) {
  Move(m_control, event);
}

void ImageView::mouseReleaseEvent(QMouseEvent* event) {
  Release(m_control, *this, event);
}

CheckBoxView::CheckBoxView(ui::Control& control, QWidget* parent)
    : QCheckBox(parent), m_control(control) {}

void CheckBoxView::nextCheckState() {
  m_control.Click();
  // The model may refuse the click; the mark shows what the model holds.
  setChecked(m_control.Checked());
}

namespace {

// A label grows to show its whole text, as the platform's self-sizing labels do: the
// design's fonts are narrower than the ones standing in for them here. The edge the
// text is aligned to stays where the design has it.
void PlaceWidget(ui::Control& control, QWidget& widget) {
  QRect place(control.Left(), control.Top(), control.Width(), control.Height());
  const ui::ControlSpec& design = control.Design();
  if (design.kind == ui::ControlKind::Label && !design.word_wrap) {
    const int needed =
        widget.fontMetrics().horizontalAdvance(QString::fromStdString(control.Caption())) + 1;
    const int extra = needed - place.width();
    if (extra > 0) {
      if (design.align == ui::Align::Right) place.setLeft(place.left() - extra);
      if (design.align == ui::Align::Center) place.setLeft(place.left() - extra / 2);
      place.setWidth(needed);
    }
  }
  widget.setGeometry(place);
}

}  // namespace

QWidget* MakeControlWidget(ui::Control& control, QWidget* parent) {
  const ui::ControlSpec& design = control.Design();
  QWidget* widget = nullptr;
  switch (design.kind) {
    case ui::ControlKind::Panel:
    case ui::ControlKind::Bevel:
      widget = MakeFrame(design, parent);
      break;
    case ui::ControlKind::Button:
    case ui::ControlKind::BitButton: {
      auto* button = new QPushButton(parent);
      button->setIconSize(QSize(16, 16));
      QObject::connect(button, &QPushButton::clicked, [&control] { control.Click(); });
      widget = button;
      break;
    }
    case ui::ControlKind::SpeedButton: {
      auto* button = new QToolButton(parent);
      button->setFocusPolicy(Qt::NoFocus);
      button->setIconSize(QSize(16, 16));
      QObject::connect(button, &QToolButton::clicked, [&control] { control.Click(); });
      widget = button;
      break;
    }
    case ui::ControlKind::Label:
      widget = new LabelView(control, parent);
      break;
    case ui::ControlKind::Image:
      widget = new ImageView(control, parent);
      break;
    case ui::ControlKind::CheckBox:
      widget = new CheckBoxView(control, parent);
      break;
    case ui::ControlKind::UpDown:
      widget = MakeUpDown(control, parent);
      break;
  }
  widget->setObjectName(QString::fromStdString(design.name));
  widget->setCursor(ToCursor(design.cursor));
  if (!design.hint.empty()) widget->setToolTip(QString::fromStdString(design.hint));
  for (ui::Property property :
       {ui::Property::Font, ui::Property::Caption, ui::Property::Bounds, ui::Property::Enabled,
        ui::Property::Checked, ui::Property::Picture, ui::Property::Visible}) {
    RefreshControlWidget(control, *widget, property);
  }
  return widget;
}

void RefreshControlWidget(ui::Control& control, QWidget& widget, ui::Property property) {
  const QString caption = QString::fromStdString(control.Caption());
  switch (property) {
    case ui::Property::Caption:
      if (auto* label = qobject_cast<QLabel*>(&widget)) {
        if (control.Kind() == ui::ControlKind::Label) {
          label->setText(caption);
          PlaceWidget(control, widget);
        }
      } else if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
        if (control.Kind() != ui::ControlKind::SpeedButton) button->setText(caption);
      }
      break;
    case ui::Property::Visible:
      widget.setVisible(control.Visible());
      break;
    case ui::Property::Enabled:
      widget.setEnabled(control.Enabled());
      break;
    case ui::Property::Bounds:
      PlaceWidget(control, widget);
      break;
    case ui::Property::Font:
      if (control.Kind() != ui::ControlKind::Panel && control.Kind() != ui::ControlKind::Bevel) {
        widget.setFont(ToQFont(control.GetFont()));
        SetColour(widget, QPalette::WindowText, control.FontColor());
        SetColour(widget, QPalette::ButtonText, control.FontColor());
        if (control.Kind() == ui::ControlKind::Label) PlaceWidget(control, widget);
      }
      break;
    case ui::Property::Checked:
      if (auto* box = qobject_cast<QCheckBox*>(&widget)) box->setChecked(control.Checked());
      break;
    case ui::Property::Picture:
      if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
        button->setIcon(GlyphIcon(control.GetPicture()));
      } else {
        widget.update();
      }
      break;
    case ui::Property::Position:
    case ui::Property::Focus:
      break;
  }
}

}  // namespace gui
