// Resource IDs shared by the programs' resource scripts and the code that loads them;
// plain macros, since the resource compiler reads this file too.
#pragma once

#define PALUNOR_ICON 1
#define PALUNOR_FONT_LCD 101
#define PALUNOR_FONT_TEXT 102
#define PALUNOR_FONT_TEXT_BOLD 103
#define PALUNOR_FONT_TEXT_BOLD_OBLIQUE 104
