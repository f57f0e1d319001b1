#pragma once

#include <cstdint>

#include "level/compsprite.h"
#include "platform/allegro_include.h"

// File offset of the sprite pointer table; a sprite number is a byte offset into it.
constexpr long long kQBR1SpritePtrTable = 0x3BCC9C;
// Side of a decoded sprite canvas; the reference point is its pixel (128, 128).
constexpr int kQBR1SpriteCanvas = 256;

// 32-bit colour (alpha 255) of a console colour; bit 15 is ignored.
unsigned long snespal2rgba(unsigned short c);

// File offset of the data of sprite n, 0 when the table holds no sprite.
long long QBR1_SpriteData(int n);

// A new 256x256 canvas holding sprite n as colour indexes 0-15 (0 transparent);
// empty when the table has no sprite. The caller owns it.
BITMAP* RE_QBR1_SptiteRaw(int param_spritenumber);

// Draws src with its reference point at (dx, dy) through the 15 colours at
// pal & 0x3FFFFF; flip 1 mirrors left-right, 2 top-bottom, 3 both. Null src or dest draws nothing.
void Rw_drawvh_qbrpal(CompSprite* src, BITMAP* dest, short dx, short dy, short flip, unsigned long pal);

// As Rw_drawvh_qbrpal, but adds each colour to the destination per channel
// (saturating at 255; the result's alpha is 0).
void Rw_drawvh_qbrpal_add(CompSprite* src, BITMAP* dest, short dx, short dy, short flip, unsigned long pal);

// Fills w columns of height h from (x, y), column k in colour c + k*p (o) or c - k*p.
void Ub_Draw_Gradient(BITMAP* dest, int x, int y, int w, int h, unsigned long c, unsigned long p, bool o);
