#pragma once

#include <cstdint>
#include <vector>

#include "codec/char_codec.h"
#include "level/compsprite.h"
#include "level/leveldata.h"
#include "level/rom_access.h"
#include "platform/allegro_include.h"

// Number of 32x32 tiles of each archetype 0-13.
extern const std::uint16_t QBR1_Data_TISNumTiles[14];

// Archetypes whose low four bits are this store their characters uncompressed.
constexpr int kQBR1PlainArchetype = 12;
// Bytes of an uncompressed character block.
constexpr int kQBR1PlainGFXSize = 0x84A0;
// Ceiling of one decompression (see codec/char_codec.h).
constexpr std::size_t kQBR1MaxRawGFX = kCharMaxRaw;

// The transparent colour of decoded graphics: magenta with alpha 0, the mask colour.
constexpr std::uint32_t kQBR1Transparent = 0x00FF00FF;

// 32-bit colour (alpha 255) of a 15-bit console colour.
inline std::uint32_t QBR1_Colour(unsigned c) {
  return 0xFF000000u | ((c & 0x1Fu) << 19) | (((c >> 5) & 0x1Fu) << 11) | (((c >> 10) & 0x1Fu) << 3);
}

// Decodes the four-bit planar 8x8 character at offset o of rom into 64 colour
// indexes (row by row); bytes outside rom count as 0.
void QBR1_DecodeCharacter(const RomView& rom, long long o, std::uint8_t out[64]);

// Decompresses the character stream at g of rom and appends it to out: plain
// when `plain` (kQBR1PlainGFXSize bytes, fewer where the image ends), else the
// compressed block of codec/char_codec.h. Stops at the end marker, when the
// stream or a copy source runs out, or at kQBR1MaxRawGFX.
void QBR1_Decompress(const RomView& rom, long long g, bool plain, std::vector<unsigned char>& out);

// Appends the decoded characters of lvl (its tilegfx and archetype) to out_gfx.
void RE_QBR1_RawGFX(std::vector<unsigned char>& out_gfx, const leveldata& lvl);

// The 256-entry colour table of a level palette at offset pal: entries 16p are
// transparent, as are 128-255.
std::vector<std::uint32_t> QBR1_LevelColours(long long pal);

// Clears out and fills it with the level's 32x32 tiles (tile t at index t); the
// caller owns the bitmaps. An archetype outside 0-13 gives no tiles.
void QBR1_FillTilesVector(std::vector<BITMAP*>& out, const leveldata& lvl);

// A new 16x16 sprite from the sheet at param_offset (characters 0, 1, 16, 17)
// in the 15 colours at param_palette, mirrored left-right when hflip; caller owns it.
BITMAP* RE_QBR1_16SpriteRaw_bmp(int param_offset, int param_palette, bool hflip);
