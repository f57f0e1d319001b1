#include "level/colour_rounding.h"

int Channel5From8(int c8) {
  if (c8 < 0) c8 = 0;
  const int v = (c8 + 4) / 8;
  return v > 31 ? 31 : v;
}

unsigned short Colour15FromRgb(int r, int g, int b) {
  return static_cast<unsigned short>(Channel5From8(r) | (Channel5From8(g) << 5) | (Channel5From8(b) << 10));
}
