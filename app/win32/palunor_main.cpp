// Palunor: the older program, QZR controllers only, a fixed 8000 RPM axis.
#include "win32gui/win32_platform.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show_command) {
  return win32gui::RunProgram(ui::Variant::Palunor, show_command);
}
