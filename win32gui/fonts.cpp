#include "win32gui/fonts.h"

#include <algorithm>

#include "win32gui/resource_ids.h"
#include "win32gui/text.h"

namespace win32gui {

namespace {

const std::string kDesignFace = "MS Sans Serif";
const std::string kLcdFace = "LcdD";
constexpr wchar_t kBundledText[] = L"DejaVu Sans Condensed";
constexpr wchar_t kBundledLcd[] = L"DSEG7 Classic";
// The seven-segment digits are far wider than the design's LCD face: narrowed to tall
// digits, as on an LCD, five of them ("11000") fit the 37 px of the RPM read-out while
// they keep most of the design's height.
constexpr int kLcdStretch = 40;

// The face, em height and horizontal squeeze a design font is shown with.
struct FontChoice {
  std::wstring face;
  int em_pixels = 0;  // at 96 DPI
  int stretch = 100;  // per cent of the face's natural width
};

void AddFontResourceData(int id) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (info == nullptr) return;
  HGLOBAL data = LoadResource(module, info);
  if (data == nullptr) return;
  DWORD installed = 0;
  AddFontMemResourceEx(LockResource(data), SizeofResource(module, info), nullptr, &installed);
}

LOGFONTW MakeLogFont(const FontChoice& choice, const ui::Font& font, int dpi) {
  LOGFONTW log{};
  log.lfHeight = -std::max(1, MulDiv(choice.em_pixels, dpi, 96));
  log.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  log.lfItalic = font.italic ? TRUE : FALSE;
  log.lfCharSet = DEFAULT_CHARSET;
  log.lfOutPrecision = OUT_TT_PRECIS;
  log.lfQuality = DEFAULT_QUALITY;
  const std::size_t length = std::min(choice.face.size(), std::size_t{LF_FACESIZE - 1});
  std::copy_n(choice.face.c_str(), length, log.lfFaceName);
  return log;
}

FontChoice DesignFace(const ui::Font& font) {
  FontChoice choice;
  // A design height is the whole character cell, leading included; the em of the
  // bundled faces fills it with less leading.
  choice.em_pixels = std::max(1, (font.height * 7 + 4) / 8);
  if (font.family == kLcdFace) {
    choice.face = kBundledLcd;
    choice.stretch = kLcdStretch;
  } else if (font.family == kDesignFace) {
    choice.face = kBundledText;
  } else {
    choice.face = Wide(font.family);
  }
  return choice;
}

}  // namespace

void LoadBundledFonts() {
  static const bool loaded = [] {
    for (int id : {PALUNOR_FONT_LCD, PALUNOR_FONT_TEXT, PALUNOR_FONT_TEXT_BOLD,
                   PALUNOR_FONT_TEXT_BOLD_OBLIQUE}) {
      AddFontResourceData(id);
    }
    return true;
  }();
  (void)loaded;
}

int FontStretch(const ui::Font& font) {
  return DesignFace(font).stretch;
}

FontCache::~FontCache() {
  for (const auto& [key, font] : m_fonts) DeleteObject(font);
}

HFONT FontCache::Get(const ui::Font& font, int dpi) {
  const Key key{font.family, font.height, font.bold, font.italic, dpi};
  const auto it = m_fonts.find(key);
  if (it != m_fonts.end()) return it->second;
  LoadBundledFonts();
  const FontChoice choice = DesignFace(font);
  const LOGFONTW log = MakeLogFont(choice, font, dpi);
  HFONT made = CreateFontIndirectW(&log);
  m_fonts[key] = made;
  return made;
}

}  // namespace win32gui
