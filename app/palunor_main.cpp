// Palunor: the older program, QZR controllers only, a fixed 8000 RPM axis.
#include "gui/qt_platform.h"

int main(int argc, char** argv) {
  return gui::RunProgram(ui::Variant::Palunor, argc, argv);
}
