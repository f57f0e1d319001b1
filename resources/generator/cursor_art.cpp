#include "resources/generator/art.h"

// Text-art tables keep their hand layout: one glyph or picture row per line.
// clang-format off

namespace {

constexpr uint32_t kInk = 0xFFFFFF;
constexpr uint32_t kEdge = 0x000000;

// Outlines every white shape pixel with black on its eight neighbours.
void Outline(Canvas& c) {
  Canvas copy = c;
  for (int y = 0; y < c.h; ++y)
    for (int x = 0; x < c.w; ++x) {
      if (copy.Get(x, y) != kMagenta) continue;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
          if (copy.Get(x + dx, y + dy) == kInk) c.Set(x, y, kEdge);
    }
}

// A double-headed arrow along one axis: shaft through `centre` (the focus
// point) from `from` to `to` along the axis, heads four pixels deep.
void DoubleArrow(Canvas& c, bool horizontal, int centre, int from, int to) {
  auto put = [&](int along, int across) {
    if (horizontal) c.Set(along, across, kInk);
    else c.Set(across, along, kInk);
  };
  for (int a = from; a <= to; ++a) put(a, centre);
  for (int d = 0; d < 4; ++d)
    for (int k = -d; k <= d; ++k) {
      put(from + d, centre + k);
      put(to - d, centre + k);
    }
}

}  // namespace

Canvas CursorSheet(int index) {
  Canvas c(32, 32);
  switch (index) {
    case 0:  // normal pointer, focus at the tip (0, 0)
      DrawArt(c, 0, 0,
              {"k...........", "kk..........", "kwk.........", "kwwk........", "kwwwk.......",
               "kwwwwk......", "kwwwwwk.....", "kwwwwwwk....", "kwwwwwwwk...", "kwwwwwwwwk..",
               "kwwwwwwwwwk.", "kwwwwwwkkkkk", "kwwwkwwk....", "kwwk.kwwk...", "kwk..kwwk...",
               "kk....kwwk..", "k.....kwwk..", ".......kwwk.", ".......kkk.."},
              {{'k', kEdge}, {'w', kInk}});
      return c;
    case 1:  // move: four heads around the focus (12, 12)
      DoubleArrow(c, true, 12, 1, 23);
      DoubleArrow(c, false, 12, 1, 23);
      break;
    case 2:  // horizontal resize, focus (12, 4)
      DoubleArrow(c, true, 4, 1, 23);
      break;
    case 3:  // vertical resize, focus (4, 12)
      DoubleArrow(c, false, 4, 1, 23);
      break;
    case 4:  // diagonal resize from top-left to bottom-right, focus (8, 8)
      for (int t = 1; t <= 15; ++t) c.Set(t, t, kInk);
      for (int y = 1; y <= 15; ++y)
        for (int x = 1; x <= 15; ++x)
          if ((x - 1) + (y - 1) <= 4 || (15 - x) + (15 - y) <= 4) c.Set(x, y, kInk);
      break;
  }
  Outline(c);
  return c;
}
// clang-format on
