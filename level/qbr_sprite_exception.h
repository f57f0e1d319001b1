#pragma once

#include "level/compsprite.h"
#include "platform/allegro_include.h"

// Marks a game-configuration key that is not defined (no 16-bit value is this).
constexpr int kQBR1Undefined = 0x10000;

// Crops a decoded sprite canvas (reference point at pixel (128, 128)) to its
// non-zero pixels and packs it into a new CompSprite the caller owns; a canvas
// without such pixels gives an empty record (w = h = 0). Takes over and destroys input.
CompSprite* Rw_Bitmap2CompSprite(BITMAP* input);

// Applies the game configuration's overrides for object definition object_zo
// and animation object_ani to object_spr and object_pal; true for a compound object.
bool QBR1_SpriteExceptions(int& object_zo, int& object_ani, int& object_pal, int& object_spr);
