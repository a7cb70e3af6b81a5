// The table dialog on Qt: the text above, a table of rows under column titles, the
// value box and the action buttons beside it, a note line, and "OK"/"Cancel" (or
// "Close"). Every button hands the table's state to the core and shows what comes
// back; the dialog itself decides nothing.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include "ui/dialogs.h"

namespace gui {

class QtTableDialog : public QDialog {
 public:
  QtTableDialog(const ui::TableRequest& request, QWidget* parent = nullptr);

  // The table's state as the user left it: the cells, the selection, the value box.
  ui::TableState State() const;

 private:
  void Show(const ui::TableState& state);
  void Act(std::size_t action);
  void Ok();

  ui::TableRequest m_request;
  QLabel* m_text;
  QTableWidget* m_table;
  QLineEdit* m_value = nullptr;
  QLabel* m_note;
};

}  // namespace gui
