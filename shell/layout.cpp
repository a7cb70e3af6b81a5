#include "shell/layout.h"

#include "shell/layout_parts.h"

namespace shell {

WindowSize ClientSize(ui::Variant variant) {
  return variant == ui::Variant::Palunor ? WindowSize{773, 393} : WindowSize{756, 393};
}

// Areas are created in this order so that the stacking is right: the options panel
// comes after the gauge panel because, when shown, it lies over the advance gauge.
std::vector<ui::ControlSpec> LayoutTable(ui::Variant variant) {
  Rows rows;
  AddCommandColumn(rows);
  AddStatusArea(rows);
  AddChart(rows, variant);
  AddGauges(rows);
  AddOptionsPanel(rows);
  AddDiagnostics(rows, variant);
  return rows;
}

}  // namespace shell
