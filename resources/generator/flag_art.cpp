#include "resources/generator/art.h"

namespace {

constexpr uint32_t kFlagEdge = 0x101010;

// One 16x12 cell: a 14x10 flag with a dark edge, a magenta margin below.
Canvas FlagCell(int index) {
  Canvas f(14, 10, 0x808080);
  switch (index) {
    case 0:  // no region known: grey with a question mark
      f.VGradient(0, 0, 14, 10, 0x6A6A6A, 0x4A4A4A);
      DrawArt(f, 5, 1, {".##.", "#..#", "...#", "..#.", ".#..", "....", ".#.."}, {{'#', 0xE0E0E0}});
      break;
    case 1:  // United States: stripes and a blue canton
      for (int y = 0; y < 10; ++y) f.HLine(0, y, 14, (y % 2 == 0) ? 0xC8283C : 0xF0F0F0);
      f.Fill(0, 0, 6, 5, 0x2A3C8C);
      for (int y = 1; y < 5; y += 2)
        for (int x = 1; x < 6; x += 2) f.Set(x, y, 0xF0F0F0);
      break;
    case 2:  // Japan: red disc on white
      f.Fill(0, 0, 14, 10, 0xF4F4F4);
      DrawArt(f, 4, 2, {".####.", "######", "######", "######", "######", ".####."}, {{'#', 0xC8102E}});
      break;
    case 3:  // Europe: ring of gold stars on blue
      f.Fill(0, 0, 14, 10, 0x1C3C9C);
      DrawArt(f, 3, 1, {"...#....", ".#...#..", "........", "#.....#.", "........", ".#...#..", "...#...."},
              {{'#', 0xF8D820}});
      break;
    case 4:  // Germany
      f.Fill(0, 0, 14, 3, 0x1A1A1A);
      f.Fill(0, 3, 14, 4, 0xD01818);
      f.Fill(0, 7, 14, 3, 0xF8C800);
      break;
    case 5:  // France
      f.Fill(0, 0, 5, 10, 0x1E3C9C);
      f.Fill(5, 0, 4, 10, 0xF4F4F4);
      f.Fill(9, 0, 5, 10, 0xE02030);
      break;
    case 6:  // United Kingdom, simplified: crosses on blue
      f.Fill(0, 0, 14, 10, 0x1E2C7C);
      for (int i = 0; i < 10; ++i) {
        f.Set(i * 14 / 10, i, 0xF0F0F0);
        f.Set(13 - i * 14 / 10, i, 0xF0F0F0);
      }
      f.Fill(0, 3, 14, 4, 0xF0F0F0);
      f.Fill(5, 0, 4, 10, 0xF0F0F0);
      f.Fill(0, 4, 14, 2, 0xD01828);
      f.Fill(6, 0, 2, 10, 0xD01828);
      break;
  }
  return f;
}

}  // namespace

Canvas RegionFlagStrip() {
  Canvas s(112, 12);
  for (int i = 0; i < 7; ++i) {
    const int x = i * 16 + 1;
    s.Frame(x - 1, 0, 16, 12, kFlagEdge);
    s.Copy(FlagCell(i), 0, 0, 14, 10, x, 1);
    // round the flag's corners into the mask
    for (int cx : {0, 15})
      for (int cy : {0, 11}) s.Set(i * 16 + cx, cy, kMagenta);
  }
  return s;
}
