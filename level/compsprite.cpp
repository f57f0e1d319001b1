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
