// Guards the window's texts in both programs (in every state that shows a different
// text, no label, button or check box text is wider than its room, and no two visible
// texts overlap) and the settings dialog's on each of its pages. Run at every display
// scale (QT_SCALE_FACTOR 1 to 2, see tests/CMakeLists.txt).
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <string>
#include <vector>

#include "gui/qt_settings_dialog.h"
#include "protocol/catalogue.h"
#include "serial/settings_dialog.h"
#include "testing/memory_port.h"
#include "testing/scripted_dialogs.h"
#include "testing/virtual_clock.h"
#include "tests/gui/gui_harness.h"

namespace {

using gui_test::GuiForm;

class WindowTexts : public ::testing::TestWithParam<ui::Variant> {};

INSTANTIATE_TEST_SUITE_P(BothPrograms, WindowTexts,
                         ::testing::Values(ui::Variant::Palunor6, ui::Variant::Palunor));

// A text as the window paints it, in window coordinates.
struct Shown {
  std::string name;
  QRect text;
};

// Point markers stand on the curve and the selection marker on a point marker: their
// "o" overlaps by design and is left out of the overlap check.
bool IsMarker(const ui::Control& control) {
  return control.Name().rfind("Lb", 0) == 0 && control.Caption() == "o";
}

class TextCheck {
 public:
  TextCheck(GuiForm& gui, std::string state) : m_gui(gui), m_state(std::move(state)) {}

  void Run() {
    std::vector<Shown> shown;
    for (ui::Control* control : m_gui.form.Controls().All()) {
      QWidget& widget = m_gui.Widget(control->Name());
      if (!widget.isVisibleTo(m_gui.window.get())) continue;
      QRect text;
      if (auto* label = qobject_cast<QLabel*>(&widget)) {
        if (control->Kind() != ui::ControlKind::Label || label->text().isEmpty()) continue;
        text = LabelText(*label);
      } else if (auto* box = qobject_cast<QCheckBox*>(&widget)) {
        CheckRoom(*control, ButtonTextWidth(*box, false),
                  Contents(*box, QStyle::SE_CheckBoxContents).width());
        continue;
      } else if (auto* button = qobject_cast<QPushButton*>(&widget)) {
        CheckRoom(*control, ButtonTextWidth(*button, !button->icon().isNull()),
                  Contents(*button, QStyle::SE_PushButtonContents).width());
        continue;
      } else {
        continue;
      }
      // Label33 traces the bytes of whole replies for diagnosis; a curve reply's trace
      // is longer than the window is wide.
      if (control->Name() != "Label33" && !QRect(QPoint(), widget.size()).contains(text)) {
        ADD_FAILURE() << m_state << ": " << control->Name() << " \"" << control->Caption()
                      << "\" needs " << text.width() << " x " << text.height() << ", has "
                      << widget.width() << " x " << widget.height();
      }
      if (!IsMarker(*control) && !Covered(*control, widget, text)) {
        const QRect ink = Ink(*qobject_cast<QLabel*>(&widget), text);
        CheckNotUnderAControl(*control, widget, ink);
        shown.push_back(
            {control->Name(), ink.translated(widget.mapTo(m_gui.window.get(), QPoint()))});
      }
    }
    for (std::size_t i = 0; i < shown.size(); ++i) {
      for (std::size_t j = i + 1; j < shown.size(); ++j) {
        if (shown[i].text.intersects(shown[j].text)) {
          ADD_FAILURE() << m_state << ": " << shown[i].name << " overlaps " << shown[j].name;
        }
      }
    }
  }

 private:
  // A panel made after the label and stacked over it hides the label's text there, as
  // the options panel hides the advance gauge.
  bool Covered(const ui::Control& label, QWidget& widget, const QRect& text) {
    const QPoint centre = widget.mapTo(m_gui.window.get(), text.center());
    bool after = false;
    for (ui::Control* control : m_gui.form.Controls().All()) {
      if (control == &label) {
        after = true;
        continue;
      }
      if (!after || control->Kind() != ui::ControlKind::Panel) continue;
      QWidget& panel = m_gui.Widget(control->Name());
      if (!panel.isVisibleTo(m_gui.window.get()) || panel.isAncestorOf(&widget)) continue;
      if (QRect(panel.mapTo(m_gui.window.get(), QPoint()), panel.size()).contains(centre)) {
        return true;
      }
    }
    return false;
  }

  // A button or an up-down made after the label lies over it: its text must stop
  // short of them.
  void CheckNotUnderAControl(const ui::Control& label, QWidget& widget, const QRect& ink) {
    const QRect place = ink.translated(widget.pos());
    bool after = false;
    for (ui::Control* control : m_gui.form.Controls().All()) {
      if (control == &label) {
        after = true;
        continue;
      }
      const ui::ControlKind kind = control->Kind();
      if (!after || control->Parent() != label.Parent() || kind == ui::ControlKind::Label ||
          kind == ui::ControlKind::Image || kind == ui::ControlKind::Panel) {
        continue;
      }
      QWidget& over = m_gui.Widget(control->Name());
      if (over.isVisibleTo(m_gui.window.get()) && over.geometry().intersects(place)) {
        ADD_FAILURE() << m_state << ": " << label.Name() << " \"" << label.Caption()
                      << "\" is under " << control->Name();
      }
    }
  }

  // The rectangle the label's text takes inside the label, as QLabel lays it out.
  static QRect LabelText(const QLabel& label) {
    int flags = static_cast<int>(label.alignment());
    if (label.wordWrap()) flags |= Qt::TextWordWrap;
    return label.fontMetrics().boundingRect(label.contentsRect(), flags, label.text());
  }

  // What a one-line text inks: titles stacked closer than their line height, as
  // "Advance" over "Degree", touch only where their letters do.
  static QRect Ink(const QLabel& label, const QRect& text) {
    if (label.wordWrap()) return text;
    const QFontMetrics metrics = label.fontMetrics();
    return metrics.tightBoundingRect(label.text())
        .translated(text.left(), text.top() + metrics.ascent());
  }

  static int ButtonTextWidth(const QAbstractButton& button, bool with_icon) {
    QString text = button.text();
    text.remove('&');
    const int icon = with_icon ? button.iconSize().width() + 4 : 0;
    return button.fontMetrics().horizontalAdvance(text) + icon;
  }

  static QRect Contents(const QAbstractButton& button, QStyle::SubElement element) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    return button.style()->subElementRect(element, &option, &button);
  }

  void CheckRoom(const ui::Control& control, int needed, int room) {
    EXPECT_LE(needed, room) << m_state << ": " << control.Name() << " \"" << control.Caption()
                            << "\"";
  }

  GuiForm& m_gui;
  std::string m_state;
};

void Receive(GuiForm& gui, const std::string& bytes) {
  gui.form.CPDrvReceiveData(gui.form.CPDrv(), reinterpret_cast<const std::uint8_t*>(bytes.data()),
                            static_cast<std::uint32_t>(bytes.size()));
}

// The controller's version reply: model, firmware in tenths, limits and channels.
std::string Version(const std::string& model, int tenths) {
  return model + static_cast<char>(tenths) + static_cast<char>(20) + static_cast<char>(18) + 'D';
}

std::string CurveReply(char voltage, char bypass) {
  std::string reply = "SD";
  reply += '\x07';
  for (int point = 0; point < 26; ++point) {
    reply += static_cast<char>(protocol::EncodePoint(static_cast<std::uint8_t>(point + 12)));
  }
  reply += 'A';
  reply += 'P';
  reply += voltage;
  reply += '\x0f';
  reply += bypass;
  return reply;
}

// The command lockout runs out, as a real Timer1 would let it.
void EndLockout(GuiForm& gui) {
  for (int tick = 0; tick < 8 && gui.form.Timer1().Enabled(); ++tick) gui.form.Timer1().Fire();
}

TEST_P(WindowTexts, NoTextIsClippedOrOverlapsAnotherInAnyState) {
  GuiForm gui(GetParam());
  gui.window->show();
  QCoreApplication::processEvents();
  TextCheck(gui, "start").Run();

  Receive(gui, Version("QZR", 61));
  EndLockout(gui);
  TextCheck(gui, "identified").Run();

  gui.form["btnAdvSet"].Click();
  TextCheck(gui, "options shown").Run();
  for (const char* reply : {"CH12", "CH05", "CHPF", "CHNF", "CHT", "CHS", "CHR"}) {
    Receive(gui, reply);
    EndLockout(gui);
    TextCheck(gui, std::string("reply ") + reply).Run();
  }

  gui.form["RDBut"].Click();
  Receive(gui, CurveReply(12, 20));
  Receive(gui, CurveReply(12, 20));
  EndLockout(gui);
  TextCheck(gui, "read").Run();

  // A curve reply damaged on the line: the status line says so.
  gui.form["RDBut"].Click();
  Receive(gui, CurveReply(12, 20).substr(0, 20) + CurveReply(12, 20).substr(21));
  EndLockout(gui);
  TextCheck(gui, "damaged reply").Run();

  gui.form["Button3"].Click();
  // Live frames at the lowest period the read-outs show: 11000 RPM on firmware 6.x.
  Receive(gui, std::string("\x1c\x20", 2));
  Receive(gui, std::string("\x0b\x40", 2));
  TextCheck(gui, "live data").Run();
  gui.form["Button3"].Click();
  EndLockout(gui);

  // No answer to the polls: the controller is declared lost.
  for (int tick = 0; tick < 30; ++tick) {
    gui.form.Timer3().Fire();
    EndLockout(gui);
  }
  TextCheck(gui, "lost").Run();
}

TEST(SettingsDialogTexts, NoTextIsClippedOrOverlapsAnotherOnAnyPage) {
  gui_test::App();
  ui::VirtualClock clock;
  ui::ScriptedDialogs dialogs;
  serial::TCommPortDriver driver{
      clock, std::make_unique<serial::MemoryPort>(std::make_shared<serial::MemoryDevice>())};
  serial::TSettingsForm form{
      driver, dialogs, {{"/dev/serial/by-id/usb-X-port0", "usb-X-port0 (ttyUSB0)"}}, "/nowhere"};
  gui::QtSettingsDialog dialog{form.Request()};
  dialog.show();
  auto* pages = dialog.findChild<QTabWidget*>("SettingsPageControl");
  const auto place = [&dialog](const QWidget* widget, QRect rect) {
    return rect.translated(widget->mapTo(&dialog, QPoint()));
  };
  for (int page = 0; page < pages->count(); ++page) {
    pages->setCurrentIndex(page);
    QCoreApplication::processEvents();
    const std::string name = pages->tabText(page).toStdString();
    const QRect tab = place(pages->tabBar(), pages->tabBar()->tabRect(page));
    EXPECT_LT(pages->tabBar()->fontMetrics().horizontalAdvance(pages->tabText(page)), tab.width())
        << name;
    EXPECT_TRUE(place(pages, pages->rect()).contains(tab)) << name << ": the tab is cut";

    std::vector<std::pair<std::string, QRect>> shown;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
      if (!label->isVisible()) continue;
      const QRect text = label->fontMetrics().boundingRect(
          label->contentsRect(), static_cast<int>(label->alignment()), label->text());
      EXPECT_TRUE(label->contentsRect().contains(text))
          << name << ": \"" << label->text().toStdString() << "\" needs " << text.width() << " x "
          << text.height() << " at " << text.x() << "," << text.y() << ", has "
          << label->contentsRect().width() << " x " << label->contentsRect().height();
      shown.emplace_back(label->text().toStdString(), place(label, text));
    }
    for (QComboBox* list : dialog.findChildren<QComboBox*>()) {
      if (list->isVisible())
        shown.emplace_back(list->objectName().toStdString(), place(list, list->rect()));
    }
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
      const int needed = button->fontMetrics().horizontalAdvance(button->text());
      EXPECT_LT(needed, button->width()) << button->text().toStdString();
      shown.emplace_back(button->text().toStdString(), place(button, button->rect()));
    }
    for (std::size_t i = 0; i < shown.size(); ++i) {
      EXPECT_TRUE(dialog.rect().contains(shown[i].second)) << name << ": " << shown[i].first;
      for (std::size_t j = i + 1; j < shown.size(); ++j) {
        EXPECT_FALSE(shown[i].second.intersects(shown[j].second))
            << name << ": " << shown[i].first << " overlaps " << shown[j].first;
      }
    }
  }
}

}  // namespace
