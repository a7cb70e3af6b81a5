// Palunor6: both controller models, the RPM axis chosen by the firmware version.
#include "gui/qt_platform.h"

int main(int argc, char** argv) {
  return gui::RunProgram(ui::Variant::Palunor6, argc, argv);
}
