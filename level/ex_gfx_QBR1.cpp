#include "level/ex_gfx_QBR1.h"

const std::uint16_t QBR1_Data_TISNumTiles[14] = {586, 436, 254, 348, 213, 571, 291, 386, 393, 230, 128, 389, 124, 122};

namespace {

// Writes a decoded character into a 32-bit bitmap at (dx, dy), mirrored as
// asked, through a 16-colour table. The caller keeps the 8x8 cell inside b.
void PutCharacter(BITMAP* b, int dx, int dy, const std::uint8_t idx[64], const std::uint32_t* colours, bool hflip,
                  bool vflip) {
  for (int r = 0; r < 8; ++r) {
    auto* row = reinterpret_cast<std::uint32_t*>(b->line[dy + (vflip ? 7 - r : r)]) + dx;
    for (int c = 0; c < 8; ++c) row[hflip ? 7 - c : c] = colours[idx[8 * r + c]];
  }
}

BITMAP* NewClearedBitmap(int w, int h) {
  BITMAP* b = create_bitmap_ex(32, w, h);
  if (b) clear_to_color(b, kQBR1Transparent);
  return b;
}

}  // namespace

void QBR1_DecodeCharacter(const RomView& rom, long long o, std::uint8_t out[64]) {
  for (int r = 0; r < 8; ++r) {
    const unsigned p0 = rom.Byte(o + 2 * r), p1 = rom.Byte(o + 2 * r + 1);
    const unsigned p2 = rom.Byte(o + 2 * r + 16), p3 = rom.Byte(o + 2 * r + 17);
    for (int c = 0; c < 8; ++c) {
      const int bit = 7 - c;
      out[8 * r + c] = static_cast<std::uint8_t>(((p0 >> bit) & 1) | (((p1 >> bit) & 1) << 1) |
                                                 (((p2 >> bit) & 1) << 2) | (((p3 >> bit) & 1) << 3));
    }
  }
}

void QBR1_Decompress(const RomView& rom, long long g, bool plain, std::vector<unsigned char>& out) {
  if (plain) {
    for (long long o = g; o < g + kQBR1PlainGFXSize && rom.Contains(o); ++o) out.push_back(rom.Byte(o));
    return;
  }
  const std::string_view block = rom.Tail(g);
  QBR1_DecompressCharacters(reinterpret_cast<const unsigned char*>(block.data()), block.size(), out);
}

void RE_QBR1_RawGFX(std::vector<unsigned char>& out_gfx, const leveldata& lvl) {
  QBR1_Decompress(CurrentRom(), lvl.tilegfx, (lvl.archetype & 15) == kQBR1PlainArchetype, out_gfx);
}

std::vector<std::uint32_t> QBR1_LevelColours(long long pal) {
  const RomView rom = CurrentRom();
  std::vector<std::uint32_t> colours(256, kQBR1Transparent);
  for (int i = 0; i < 128; ++i) {
    if (i % 16 != 0) colours[i] = QBR1_Colour(rom.Word(pal + 2 * i));
  }
  return colours;
}

void QBR1_FillTilesVector(std::vector<BITMAP*>& out, const leveldata& lvl) {
  out.clear();
  if (lvl.archetype < 0 || lvl.archetype > 13) return;
  std::vector<unsigned char> gfx;
  RE_QBR1_RawGFX(gfx, lvl);
  const RomView chars(gfx.data(), gfx.size());
  const long long numChars = static_cast<long long>(gfx.size() / 32);
  const std::vector<std::uint32_t> colours = QBR1_LevelColours(lvl.palette);
  const RomView rom = CurrentRom();
  const int count = QBR1_Data_TISNumTiles[lvl.archetype];
  out.reserve(count);
  std::uint8_t idx[64];
  for (int t = 0; t < count; ++t) {
    BITMAP* tile = NewClearedBitmap(32, 32);
    if (!tile) break;
    for (int k = 0; k < 16; ++k) {
      const unsigned word = rom.Word(static_cast<long long>(lvl.tileset) + 32LL * t + 2 * k);
      long long n = word & 0x3FF;
      if (lvl.archetype == 6 && n != 0) n -= 0x115;
      if (lvl.archetype == 7 && n >= 0x355) n = 0;
      if (n < 0 || n >= numChars) n = 0;
      // With nothing decoded there is no character 0 either: the cell stays transparent.
      if (numChars == 0) continue;
      QBR1_DecodeCharacter(chars, 32 * n, idx);
      const unsigned p = (word >> 10) & 7;
      PutCharacter(tile, 8 * (k % 4), 8 * (k / 4), idx, &colours[16 * p], (word >> 14) & 1, (word >> 15) & 1);
    }
    out.push_back(tile);
  }
}

BITMAP* RE_QBR1_16SpriteRaw_bmp(int param_offset, int param_palette, bool hflip) {
  const RomView rom = CurrentRom();
  std::uint32_t colours[16];
  colours[0] = kQBR1Transparent;
  for (int i = 1; i < 16; ++i) colours[i] = QBR1_Colour(rom.Word(static_cast<long long>(param_palette) + 2 * (i - 1)));
  BITMAP* sprite = NewClearedBitmap(16, 16);
  if (!sprite) return nullptr;
  std::uint8_t idx[64];
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 2; ++x) {
      QBR1_DecodeCharacter(rom, static_cast<long long>(param_offset) + 32LL * (16 * y + x), idx);
      // Mirroring the whole sprite moves each character to the other column and mirrors it.
      PutCharacter(sprite, 8 * (hflip ? 1 - x : x), 8 * y, idx, colours, hflip, false);
    }
  }
  return sprite;
}
