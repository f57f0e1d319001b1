#include "level/compsprite.h"

void Nullify(CompSprite*& sprite) {
  if (sprite != nullptr) {
    if (sprite->line != nullptr) {
      for (int y = 0; y < sprite->h; ++y) delete[] sprite->line[y];
      delete[] sprite->line;
    }
    delete sprite;
  }
  sprite = nullptr;
}

CompSpriteBox PlaceCompSprite(const CompSprite& sprite, int dx, int dy, int flip) {
  // Positions are 16-bit: a reference point stored left of the box wraps.
  const int x0 = static_cast<short>(dx - ((flip & 1) ? sprite.w - sprite.cx : sprite.cx));
  const int y0 = static_cast<short>(dy - sprite.cy);
  return {x0, y0, x0 + sprite.w, y0 + sprite.h};
}
