// The port settings dialog on Qt: "Settings", 314 x 206, centred on the desktop, the
// pages "Base Settings", "Flow Control" and "Device Control" of a tab control, and
// "Ok" (the default button) and "Cancel" (Escape) beside them. "Ok" hands the values
// to the core, which keeps the dialog open when it refuses them.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QTabWidget>

#include "ui/dialogs.h"

namespace gui {

class QtSettingsDialog : public QDialog {
 public:
  QtSettingsDialog(const ui::SettingsRequest& request, QWidget* parent = nullptr);

  // The values the lists hold now.
  ui::SettingsValues Values() const;

  static constexpr int kWidth = 314;
  static constexpr int kHeight = 206;

 private:
  void OkButtonClick();
  // Shrinks the tab bar's font until the three tabs stand whole on one row.
  void FitTabs();

  ui::SettingsRequest m_request;
  QTabWidget* m_pages;
  QComboBox* m_port;
  QComboBox* m_baud;
  QComboBox* m_data_bits;
  QComboBox* m_parity;
  QComboBox* m_stop_bits;
  QComboBox* m_hw_flow;
  QComboBox* m_sw_flow;
  QComboBox* m_dtr;
  QComboBox* m_dev_check;
  QPushButton* m_ok;
  QPushButton* m_cancel;
};

}  // namespace gui
