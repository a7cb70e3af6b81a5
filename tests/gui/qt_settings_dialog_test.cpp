// Guards the Qt settings dialog: its caption, size and place, the three pages with
// their labels and lists, "Ok" as the default button, "Cancel" answering Escape, and
// the dialog staying open with its values when the core refuses them.
#include "gui/qt_settings_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <memory>

#include "gui_harness.h"
#include "serial/comm_port_driver.h"
#include "serial/settings_dialog.h"
#include "testing/memory_port.h"
#include "testing/scripted_dialogs.h"
#include "testing/virtual_clock.h"

namespace {

struct DialogBench {
  QComboBox& List(const char* name) { return *dialog.findChild<QComboBox*>(name); }
  QPushButton& Button(const char* name) { return *dialog.findChild<QPushButton*>(name); }

  QApplication& app = gui_test::App();
  ui::VirtualClock clock;
  ui::ScriptedDialogs dialogs;
  serial::TCommPortDriver driver{
      clock, std::make_unique<serial::MemoryPort>(std::make_shared<serial::MemoryDevice>())};
  serial::TSettingsForm form{
      driver, dialogs, {{"/dev/serial/by-id/usb-X-port0", "usb-X-port0 (ttyUSB0)"}}, "/nowhere"};
  gui::QtSettingsDialog dialog{form.Request()};
};

TEST(QtSettingsDialog, IsASettingsBoxOf314By206CentredOnTheDesktop) {
  DialogBench b;
  EXPECT_EQ(b.dialog.windowTitle(), "Settings");
  EXPECT_EQ(b.dialog.size(), QSize(314, 206));
  EXPECT_EQ(b.dialog.minimumSize(), b.dialog.maximumSize());
  const QRect desktop = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_LE((b.dialog.geometry().center() - desktop.center()).manhattanLength(), 1);
}

// Run at every display scale (QT_SCALE_FACTOR 1 to 2, see tests/CMakeLists.txt).
TEST(QtSettingsDialog, ShowsItsThreeTabsWholeOnOneRowAndStartsInPortName) {
  DialogBench b;
  b.dialog.show();
  auto* pages = b.dialog.findChild<QTabWidget*>("SettingsPageControl");
  QTabBar* tabs = pages->tabBar();
  EXPECT_EQ(b.dialog.size(), QSize(314, 206)) << "the design size stays";
  for (QAbstractButton* arrow : tabs->findChildren<QAbstractButton*>()) {
    EXPECT_FALSE(arrow->isVisible()) << "a scroll arrow shows";
  }
  for (int i = 0; i < pages->count(); ++i) {
    const QRect tab = tabs->tabRect(i);
    EXPECT_EQ(tab.top(), tabs->tabRect(0).top()) << "tab " << i << " is on another row";
    EXPECT_GE(tab.left(), 0);
    EXPECT_LE(tabs->mapTo(pages, tab.topRight()).x(), pages->width()) << "tab " << i << " is cut";
    EXPECT_LT(tabs->fontMetrics().horizontalAdvance(pages->tabText(i)), tab.width())
        << pages->tabText(i).toStdString() << " does not fit its tab";
  }
  EXPECT_EQ(b.dialog.focusWidget(), &b.List("PortComboBox"));
}

TEST(QtSettingsDialog, HasThreePagesWithTheLabelsAndListsOfTheSettings) {
  DialogBench b;
  auto* pages = b.dialog.findChild<QTabWidget*>("SettingsPageControl");
  ASSERT_NE(pages, nullptr);
  ASSERT_EQ(pages->count(), 3);
  EXPECT_EQ(pages->tabText(0), "Base Settings");
  EXPECT_EQ(pages->tabText(1), "Flow Control");
  EXPECT_EQ(pages->tabText(2), "Device Control");
  EXPECT_EQ(pages->currentIndex(), 0);

  QStringList labels;
  for (const QLabel* label : b.dialog.findChildren<QLabel*>()) labels << label->text();
  for (const char* text : {"Port name:", "Baud rate:", "Data bits:", "Parity:", "Stop bits:",
                           "Hardware flow:", "Software flow:", "DTR control:", "Device check:"}) {
    EXPECT_TRUE(labels.contains(text)) << text;
  }

  QComboBox& port = b.List("PortComboBox");
  EXPECT_TRUE(port.isEditable());
  ASSERT_EQ(port.count(), 17);
  EXPECT_EQ(port.itemText(0), "\\\\.\\COM1");
  EXPECT_EQ(port.itemText(16), "usb-X-port0 (ttyUSB0)");
  EXPECT_EQ(port.currentText(), "\\\\.\\COM2");
  QComboBox& baud = b.List("BaudRateComboBox");
  EXPECT_TRUE(baud.isEditable());
  EXPECT_EQ(baud.count(), 18);
  EXPECT_EQ(baud.currentText(), "9600");
  struct Expected {
    const char* name;
    QStringList items;
    int index;
  };
  for (const Expected& e : {Expected{"DataBitsComboBox", {"5", "6", "7", "8"}, 3},
                            Expected{"ParityComboBox", {"None", "Odd", "Even", "Mark", "Space"}, 0},
                            Expected{"StopBitsComboBox", {"1", "1.5", "2"}, 0},
                            Expected{"HwFlowComboBox", {"None", "None but RTS on", "RTS/CTS"}, 1},
                            Expected{"SwFlowComboBox", {"None", "XON/XOFF"}, 0},
                            Expected{"DTRControlComboBox", {"Standard", "Keep off"}, 0},
                            Expected{"DevCheckComboBox", {"Yes", "No"}, 1}}) {
    QComboBox& list = b.List(e.name);
    EXPECT_FALSE(list.isEditable()) << e.name;
    QStringList items;
    for (int i = 0; i < list.count(); ++i) items << list.itemText(i);
    EXPECT_EQ(items, e.items) << e.name;
    EXPECT_EQ(list.currentIndex(), e.index) << e.name;
  }
}

TEST(QtSettingsDialog, OkIsTheDefaultButtonAndARefusedOkKeepsTheDialogOpen) {
  DialogBench b;
  EXPECT_TRUE(b.Button("OkButton").isDefault());
  EXPECT_EQ(b.Button("OkButton").text(), "Ok");
  EXPECT_EQ(b.Button("CancelButton").text(), "Cancel");
  b.dialog.show();

  b.List("BaudRateComboBox").setCurrentText("abc");
  b.Button("OkButton").click();
  EXPECT_TRUE(b.dialog.isVisible());
  ASSERT_EQ(b.dialogs.History().size(), 1u);
  EXPECT_EQ(b.dialogs.History().back().text, "Please, enter a valid baud rate.");
  EXPECT_EQ(b.List("BaudRateComboBox").currentText(), "abc");

  b.List("BaudRateComboBox").setCurrentText("460800");
  b.List("ParityComboBox").setCurrentIndex(2);
  b.Button("OkButton").click();
  EXPECT_FALSE(b.dialog.isVisible());
  EXPECT_EQ(b.dialog.result(), QDialog::Accepted);
  EXPECT_EQ(b.driver.BaudRateValue(), 460800u);
  EXPECT_EQ(b.driver.Parity(), serial::TParity::ptEVEN);
}

TEST(QtSettingsDialog, EscapeCancelsWithoutTouchingTheDriver) {
  DialogBench b;
  b.dialog.show();
  b.List("BaudRateComboBox").setCurrentText("38400");
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&b.dialog, &escape);
  EXPECT_FALSE(b.dialog.isVisible());
  EXPECT_EQ(b.dialog.result(), QDialog::Rejected);
  EXPECT_EQ(b.driver.BaudRateValue(), 9600u);
}

}  // namespace
