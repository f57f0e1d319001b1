#pragma once

// A rectangle of pixels, [x0, x1) x [y0, y1).
struct LevelBox {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  bool Contains(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
  bool Meets(const LevelBox& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};
