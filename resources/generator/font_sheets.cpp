#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "resources/generator/art.h"

namespace {

constexpr uint32_t kGlyphInk = 0xFFFFFF;  // the menu font is recoloured when loaded
constexpr uint32_t kLabelInk = 0xC8C8C8;  // micro and digit fonts keep their colour

// A glyph's picture: its art on magenta in a cell of the given size.
Canvas GlyphCell(const GlyphArt& glyph, int width, int height, int x, int y, uint32_t ink) {
  Canvas cell(width, height);
  DrawArt(cell, x, y + glyph.top, glyph.rows, {{'#', ink}});
  return cell;
}

[[noreturn]] void Fail(const char* what, int code) {
  std::fprintf(stderr, "font art: %s (character %d)\n", what, code);
  std::exit(1);
}

// Lays the 96 cells out in rows of `per_row` boxes, each box one pixel of
// yellow around its cell; neighbouring boxes share their separator.
Canvas Sheet(int width, int height, const std::vector<Canvas>& cells, int per_row) {
  Canvas sheet(width, height, kYellow);
  int y = 0;
  for (size_t first = 0; first < cells.size(); first += size_t(per_row)) {
    int x = 0;
    int row_h = 0;
    for (size_t i = first; i < cells.size() && i < first + size_t(per_row); ++i) {
      sheet.Copy(cells[i], 0, 0, cells[i].w, cells[i].h, x + 1, y + 1);
      x += cells[i].w + 1;
      row_h = std::max(row_h, cells[i].h);
    }
    if (x + 1 > width) Fail("row wider than the sheet", int(first) + 32);
    y += row_h + 1;
  }
  if (y + 1 > height) Fail("rows taller than the sheet", 0);
  return sheet;
}

std::map<int, const GlyphArt*> ByCode(const std::vector<GlyphArt>& glyphs) {
  std::map<int, const GlyphArt*> map;
  for (const GlyphArt& g : glyphs) map[g.code] = &g;
  return map;
}

// Micro glyph for a character; lower case uses the capitals.
const GlyphArt& MicroGlyph(int code) {
  static const std::map<int, const GlyphArt*> micro = ByCode(MicroGlyphs());
  if (code >= 'a' && code <= 'z') code -= 32;
  auto it = micro.find(code);
  if (it == micro.end()) Fail("no micro glyph", code);
  return *it->second;
}

}  // namespace

Canvas MenuFontSheet() {
  std::vector<Canvas> cells;
  const auto glyphs = ByCode(MenuGlyphs());
  for (int code = 32; code < 128; ++code) {
    auto it = glyphs.find(code);
    if (it == glyphs.end()) Fail("no menu glyph", code);
    const GlyphArt& g = *it->second;
    for (const std::string& row : g.rows)
      if (row.size() != g.rows[0].size()) Fail("ragged menu glyph", code);
    // 12 rows: two above the cap line, nine of art, one below the descenders.
    cells.push_back(GlyphCell(g, int(g.rows[0].size()), 12, 0, 2, kGlyphInk));
  }
  return Sheet(177, 79, cells, 16);
}

Canvas MicroFontSheet() {
  std::vector<Canvas> cells;
  for (int code = 32; code < 128; ++code) {
    const GlyphArt& g = MicroGlyph(code);
    cells.push_back(GlyphCell(g, int(g.rows[0].size()) + 1, 6, 0, 0, kLabelInk));
  }
  return Sheet(145, 55, cells, 16);
}

Canvas DigitFontSheet() {
  const auto digits = ByCode(DigitGlyphs());
  std::vector<Canvas> cells;
  for (int code = 32; code < 128; ++code) {
    auto it = digits.find(code);
    if (it != digits.end()) {
      cells.push_back(GlyphCell(*it->second, 5, 8, 0, 0, kLabelInk));
    } else {
      // Other characters: the micro glyph standing on the digits' baseline.
      cells.push_back(GlyphCell(MicroGlyph(code), 5, 8, 0, 2, kLabelInk));
    }
  }
  return Sheet(145, 37, cells, 24);
}

int MenuTextWidth(const std::string& text) {
  static const std::map<int, const GlyphArt*> glyphs = ByCode(MenuGlyphs());
  int width = 0;
  for (unsigned char ch : text) {
    auto it = glyphs.find(ch);
    if (it != glyphs.end()) width += int(it->second->rows[0].size());
  }
  return width;
}

int DrawMenuText(Canvas& canvas, int x, int y, const std::string& text, int scale, uint32_t colour, int tracking) {
  static const std::map<int, const GlyphArt*> glyphs = ByCode(MenuGlyphs());
  const int start = x;
  for (unsigned char ch : text) {
    auto it = glyphs.find(ch);
    if (it == glyphs.end()) continue;
    const GlyphArt& g = *it->second;
    for (size_t r = 0; r < g.rows.size(); ++r)
      for (size_t c = 0; c < g.rows[r].size(); ++c)
        if (g.rows[r][c] == '#') canvas.Fill(x + int(c) * scale, y + (g.top + int(r)) * scale, scale, scale, colour);
    x += (int(g.rows[0].size()) + tracking) * scale;
  }
  return x - start;
}
