// The fonts of the window's texts: the bundled faces, registered privately from the
// program's resources, standing in for the design's faces (a narrow sans-serif for
// "MS Sans Serif", tall narrow seven-segment digits for "LcdD"), so every text fits its
// design place whatever fonts the system has.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "ui/control.h"

namespace win32gui {

// Registers the bundled fonts once, for this process only; safe to call again. A
// program without them (a test) gets the system's nearest faces.
void LoadBundledFonts();

// How narrow a design font is drawn, in per cent of its face's natural width: the
// painter squeezes its text horizontally by this much.
int FontStretch(const ui::Font& font);

// GDI fonts for design fonts at a DPI, made once and kept until the cache goes.
class FontCache {
 public:
  FontCache() = default;
  ~FontCache();
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;

  HFONT Get(const ui::Font& font, int dpi);

 private:
  using Key = std::tuple<std::string, int, bool, bool, int>;
  std::map<Key, HFONT> m_fonts;
};

}  // namespace win32gui
