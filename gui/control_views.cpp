#include "gui/control_views.h"

#include <QFontDatabase>
#include <QFrame>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/pictures.h"
#include "gui/qt_canvas.h"

namespace gui {

namespace {

// The design's default face. A bundled narrow sans-serif stands in for it, so that
// every text fits its design place whatever fonts the desktop has.
const std::string kDesignFace = "MS Sans Serif";
const std::string kLcdFace = "LcdD";
QString g_lcd_family;
QString g_text_family;

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

// The design's text colour for the active and inactive window only: a disabled
// control keeps the platform's greyed text, or nobody could tell it from an enabled one.
void SetTextColour(QWidget& widget, QPalette::ColorRole role, ui::Color color) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Active, role, ToQColor(color));
  palette.setColor(QPalette::Inactive, role, ToQColor(color));
  widget.setPalette(palette);
}

// A background is the same whether the control is enabled or not.
void SetBackground(QWidget& widget, ui::Color color) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, ToQColor(color));
  widget.setPalette(palette);
  widget.setAutoFillBackground(true);
}

// The glyph, and for the disabled button the same lines in the platform's greyed
// text colour: the style's own disabled glyph keeps black lines nearly black.
QIcon GlyphIcon(ui::Picture picture, const QPalette& palette) {
  const QImage glyph = Glyph(picture);
  if (glyph.isNull()) return QIcon();
  QIcon icon(QPixmap::fromImage(glyph));
  QImage greyed = glyph.convertToFormat(QImage::Format_ARGB32);
  const QColor grey = palette.color(QPalette::Disabled, QPalette::ButtonText);
  for (int y = 0; y < greyed.height(); ++y) {
    for (int x = 0; x < greyed.width(); ++x) {
      const int alpha = qAlpha(greyed.pixel(x, y));
      if (alpha != 0) greyed.setPixel(x, y, qRgba(grey.red(), grey.green(), grey.blue(), alpha));
    }
  }
  icon.addPixmap(QPixmap::fromImage(greyed), QIcon::Disabled);
  return icon;
}

QFrame* MakeFrame(const ui::ControlSpec& design, QWidget* parent) {
  auto* frame = new QFrame(parent);
  if (design.kind == ui::ControlKind::Bevel) {
    // A bevel is a lowered box round the controls it groups.
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setLineWidth(1);
  } else if (design.bevel == ui::BevelStyle::None) {
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

QString AddFont(const QString& resource) {
  const QStringList families =
      QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFont(resource));
  return families.isEmpty() ? QString() : families.constFirst();
}

}  // namespace

void LoadBundledFonts() {
  if (!g_lcd_family.isEmpty()) return;
  g_lcd_family = AddFont(":/fonts/DSEG7Classic-Bold.ttf");
  g_text_family = AddFont(":/fonts/DejaVuSansCondensed.ttf");
  AddFont(":/fonts/DejaVuSansCondensed-Bold.ttf");
  AddFont(":/fonts/DejaVuSansCondensed-BoldOblique.ttf");
}

QFont ToQFont(const ui::Font& font) {
  LoadBundledFonts();
  QFont qt_font;
  // A design height is the whole character cell, leading included; a Qt pixel size
  // is the em, which the bundled faces fill with less leading.
  int pixels = (font.height * 7 + 4) / 8;
  if (font.family == kLcdFace) {
    // The seven-segment digits are far wider than the design's LCD face: narrowed to
    // tall digits, as on an LCD, five of them ("11000") fit the 37 px of the RPM
    // read-out while they keep most of the design's height.
    qt_font.setFamily(g_lcd_family);
    qt_font.setStretch(40);
    pixels = (font.height * 7 + 4) / 8;
  } else if (font.family == kDesignFace) {
    // The bundled face is the semi-condensed member of its family.
    qt_font.setFamily(g_text_family);
    qt_font.setStretch(QFont::SemiCondensed);
  } else {
    qt_font.setFamily(QString::fromStdString(font.family));
  }
  qt_font.setPixelSize(std::max(1, pixels));
  qt_font.setBold(font.bold);
  qt_font.setItalic(font.italic);
  return qt_font;
}

LabelView::LabelView(ui::Control& control, QWidget* parent) : QLabel(parent), m_control(control) {
  const ui::ControlSpec& design = control.Design();
  setTextFormat(Qt::PlainText);
  setAlignment(ToAlignment(design.align));
  // A right-aligned text stops 2 px short of the edge, where a control may follow (the
  // bypass time stands against its up-down): hinting may widen the text that much on
  // some desktops.
  if (design.align == ui::Align::Right) setIndent(2);
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

// Every control keeps its design place: the fonts are chosen so that the texts fit
// it, and a label that grew would cover its neighbours.
void PlaceWidget(ui::Control& control, QWidget& widget) {
  widget.setGeometry(control.Left(), control.Top(), control.Width(), control.Height());
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
        SetTextColour(widget, QPalette::WindowText, control.FontColor());
        SetTextColour(widget, QPalette::ButtonText, control.FontColor());
      }
      break;
    case ui::Property::Checked:
      if (auto* box = qobject_cast<QCheckBox*>(&widget)) box->setChecked(control.Checked());
      break;
    case ui::Property::Picture:
      if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
        button->setIcon(GlyphIcon(control.GetPicture(), button->palette()));
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
