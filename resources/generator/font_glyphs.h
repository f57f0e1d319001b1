#pragma once

#include <string>
#include <vector>

// One glyph drawn as text art: `rows` start at row `top` of the glyph's art
// area and are all as wide as the glyph.
struct GlyphArt {
  int code;
  int top;
  std::vector<std::string> rows;
};

// Characters 32-127 of the menu font; each glyph's width is its advance.
const std::vector<GlyphArt>& MenuGlyphs();
// Characters 32-127 (lower case excluded) of the 5-pixel micro font.
const std::vector<GlyphArt>& MicroGlyphs();
// 0-9 and A-F of the 7-pixel digit font.
const std::vector<GlyphArt>& DigitGlyphs();
