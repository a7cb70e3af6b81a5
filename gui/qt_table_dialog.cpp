#include "gui/qt_table_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

namespace gui {

namespace {

bool Editable(const ui::TableRequest& request, std::size_t column) {
  return column < request.editable.size() && request.editable[column];
}

bool AnyEditable(const ui::TableRequest& request) {
  for (bool editable : request.editable) {
    if (editable) return true;
  }
  return false;
}

}  // namespace

QtTableDialog::QtTableDialog(const ui::TableRequest& request, QWidget* parent)
    : QDialog(parent), m_request(request) {
  setWindowTitle(QString::fromStdString(request.title));
  auto* layout = new QVBoxLayout(this);
  m_text = new QLabel(this);
  m_text->setWordWrap(true);
  layout->addWidget(m_text);

  auto* middle = new QHBoxLayout;
  m_table = new QTableWidget(this);
  m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_table->setSelectionMode(QAbstractItemView::ContiguousSelection);
  m_table->verticalHeader()->setVisible(false);
  m_table->horizontalHeader()->setStretchLastSection(true);
  middle->addWidget(m_table, 1);

  if (!request.actions.empty() || !request.value_label.empty()) {
    auto* side = new QVBoxLayout;
    if (!request.value_label.empty()) {
      side->addWidget(new QLabel(QString::fromStdString(request.value_label), this));
      m_value = new QLineEdit(this);
      side->addWidget(m_value);
    }
    for (std::size_t i = 0; i < request.actions.size(); ++i) {
      auto* button = new QPushButton(QString::fromStdString(request.actions[i]), this);
      button->setAutoDefault(false);
      connect(button, &QPushButton::clicked, this, [this, i] { Act(i); });
      side->addWidget(button);
    }
    side->addStretch(1);
    middle->addLayout(side);
  }
  layout->addLayout(middle, 1);

  m_note = new QLabel(this);
  m_note->setWordWrap(true);
  layout->addWidget(m_note);

  auto* buttons = new QDialogButtonBox(this);
  if (request.ok_caption.empty()) {
    buttons->addButton(QDialogButtonBox::Close);
  } else {
    buttons->addButton(QString::fromStdString(request.ok_caption), QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    // A double click on a row chooses it when there is nothing to type in.
    if (!AnyEditable(request)) {
      connect(m_table, &QTableWidget::cellDoubleClicked, this, [this] { Ok(); });
    }
  }
  connect(buttons, &QDialogButtonBox::accepted, this, [this] { Ok(); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);

  Show(request.state);
  resize(560, 480);
}

void QtTableDialog::Show(const ui::TableState& state) {
  m_text->setText(QString::fromStdString(state.text));
  m_text->setVisible(!state.text.empty());
  m_note->setText(QString::fromStdString(state.note));
  if (m_value != nullptr) m_value->setText(QString::fromStdString(state.value));

  m_table->clear();
  m_table->setColumnCount(static_cast<int>(state.columns.size()));
  m_table->setRowCount(static_cast<int>(state.rows.size()));
  QStringList titles;
  for (const std::string& column : state.columns) titles << QString::fromStdString(column);
  m_table->setHorizontalHeaderLabels(titles);
  for (std::size_t r = 0; r < state.rows.size(); ++r) {
    for (std::size_t c = 0; c < state.rows[r].size() && c < state.columns.size(); ++c) {
      auto* cell = new QTableWidgetItem(QString::fromStdString(state.rows[r][c]));
      Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
      if (Editable(m_request, c)) flags |= Qt::ItemIsEditable;
      cell->setFlags(flags);
      m_table->setItem(static_cast<int>(r), static_cast<int>(c), cell);
    }
  }
  m_table->resizeColumnsToContents();
  if (state.first_row >= 0 && state.last_row >= state.first_row &&
      state.last_row < m_table->rowCount()) {
    m_table->setRangeSelected(
        QTableWidgetSelectionRange(state.first_row, 0, state.last_row, m_table->columnCount() - 1),
        true);
    m_table->scrollToItem(m_table->item(state.first_row, 0));
  }
}

ui::TableState QtTableDialog::State() const {
  ui::TableState state = m_request.state;
  state.text = m_text->text().toStdString();
  state.note = m_note->text().toStdString();
  if (m_value != nullptr) state.value = m_value->text().toStdString();
  state.columns.clear();
  for (int c = 0; c < m_table->columnCount(); ++c) {
    const QTableWidgetItem* header = m_table->horizontalHeaderItem(c);
    state.columns.push_back(header != nullptr ? header->text().toStdString() : std::string());
  }
  state.rows.assign(static_cast<std::size_t>(m_table->rowCount()), {});
  for (int r = 0; r < m_table->rowCount(); ++r) {
    for (int c = 0; c < m_table->columnCount(); ++c) {
      const QTableWidgetItem* cell = m_table->item(r, c);
      state.rows[static_cast<std::size_t>(r)].push_back(cell != nullptr ? cell->text().toStdString()
                                                                        : std::string());
    }
  }
  state.first_row = state.last_row = -1;
  const QList<QTableWidgetSelectionRange> ranges = m_table->selectedRanges();
  if (!ranges.isEmpty()) {
    state.first_row = ranges.front().topRow();
    state.last_row = ranges.front().bottomRow();
  }
  return state;
}

void QtTableDialog::Act(std::size_t action) {
  if (!m_request.act) return;
  ui::TableState state = State();
  m_request.act(action, state);
  Show(state);
}

void QtTableDialog::Ok() {
  if (m_request.ok_caption.empty()) return;
  ui::TableState state = State();
  if (m_request.ok && !m_request.ok(state)) {
    Show(state);
    return;
  }
  m_request.state = state;
  accept();
}

}  // namespace gui
