// Palunor6: both controller models, the RPM axis chosen by the firmware version.
#include "win32gui/win32_platform.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show_command) {
  return win32gui::RunProgram(ui::Variant::Palunor6, show_command);
}
