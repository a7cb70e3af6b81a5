#include "gui/qt_preferences_dialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace gui {

QtPreferencesDialog::QtPreferencesDialog(const ui::PreferencesValues& values, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle("Preferences");
  auto* layout = new QVBoxLayout(this);
  m_ask_before_closing =
      new QCheckBox("&Ask before closing with curves the controller does not hold", this);
  m_confirm_writes = new QCheckBox("&Confirm Send and REC EEPR with the points that differ", this);
  m_backups = new QCheckBox("&Back up the controller's curves", this);
  layout->addWidget(m_ask_before_closing);
  layout->addWidget(m_confirm_writes);
  layout->addWidget(m_backups);

  auto* folder_label = new QLabel("Backup &folder:", this);
  layout->addWidget(folder_label);
  auto* folder_row = new QHBoxLayout;
  m_folder = new QLineEdit(QString::fromStdString(values.backup_folder), this);
  // With its buddy the label shows "f" as the access key (Alt+F) instead of a literal "&".
  folder_label->setBuddy(m_folder);
  auto* browse = new QPushButton("B&rowse...", this);
  browse->setAutoDefault(false);
  connect(browse, &QPushButton::clicked, this, [this] {
    const QString folder =
        QFileDialog::getExistingDirectory(this, "Backup folder", m_folder->text());
    if (!folder.isEmpty()) m_folder->setText(folder);
  });
  folder_row->addWidget(m_folder, 1);
  folder_row->addWidget(browse);
  layout->addLayout(folder_row);
  connect(m_backups, &QCheckBox::toggled, m_folder, &QWidget::setEnabled);
  connect(m_backups, &QCheckBox::toggled, browse, &QWidget::setEnabled);

  m_ask_before_closing->setChecked(values.ask_before_closing);
  m_confirm_writes->setChecked(values.confirm_writes);
  m_backups->setChecked(values.backups);
  m_folder->setEnabled(values.backups);
  browse->setEnabled(values.backups);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

ui::PreferencesValues QtPreferencesDialog::Values() const {
  ui::PreferencesValues values;
  values.ask_before_closing = m_ask_before_closing->isChecked();
  values.confirm_writes = m_confirm_writes->isChecked();
  values.backups = m_backups->isChecked();
  values.backup_folder = m_folder->text().toStdString();
  return values;
}

}  // namespace gui
