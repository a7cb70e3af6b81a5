#include "ui/dialogs.h"

namespace ui {

std::string MessageDlgTitle(DialogIcon type) {
  switch (type) {
    case DialogIcon::Warning:
      return "Warning";
    case DialogIcon::Error:
      return "Error";
    case DialogIcon::Information:
      return "Information";
    case DialogIcon::Question:
      return "Confirm";
    case DialogIcon::None:
      break;
  }
  return {};
}

}  // namespace ui
