#include "level/snesbitmap.h"

#include <algorithm>

#include "level/ex_gfx_QBR1.h"
#include "level/rom_access.h"

unsigned long snespal2rgba(unsigned short c) { return QBR1_Colour(c); }

long long QBR1_SpriteData(int n) {
  const RomView rom = CurrentRom();
  const long long at = kQBR1SpritePtrTable + n;
  const unsigned long entry = rom.Word(at) | (static_cast<unsigned long>(rom.Word(at + 2)) << 16);
  return static_cast<long long>((entry - 0xC00000UL) & 0xFFFFFF);
}

namespace {

// Copies an 8x8 character of colour indexes onto the canvas at (x, y), opaquely, clipped.
void PlaceCharacter(BITMAP* canvas, int x, int y, const std::uint8_t idx[64]) {
  for (int r = 0; r < 8; ++r) {
    if (y + r >= canvas->h) return;
    auto* row = reinterpret_cast<std::uint32_t*>(canvas->line[y + r]);
    for (int c = 0; c < 8 && x + c < canvas->w; ++c) row[x + c] = idx[8 * r + c];
  }
}

}  // namespace

BITMAP* RE_QBR1_SptiteRaw(int param_spritenumber) {
  BITMAP* canvas = create_bitmap_ex(32, kQBR1SpriteCanvas, kQBR1SpriteCanvas);
  if (!canvas) return nullptr;
  clear_to_color(canvas, 0);
  const long long d = QBR1_SpriteData(param_spritenumber);
  if (d == 0) return canvas;
  const RomView rom = CurrentRom();
  const int na = rom.Byte(d), nb = rom.Byte(d + 1), firstB = rom.Byte(d + 2);
  const int nc = rom.Byte(d + 3), firstC = rom.Byte(d + 4);
  const long long g = d + 8 + 2LL * (na + nb + nc);
  auto character = [&](long long n, std::uint8_t idx[64]) { QBR1_DecodeCharacter(rom, g + 32 * n, idx); };
  std::uint8_t idx[64];
  int part = 0;
  // Large parts sit on a sheet of 16 characters, eight parts per double row; the
  // last, partly filled double row is only as wide as its parts plus the first small group.
  const int lastRowWidth = 2 * (na % 8) + nb;
  for (int i = 0; i < na; ++i, ++part) {
    const int x = rom.Byte(d + 8 + 2 * part), y = rom.Byte(d + 9 + 2 * part);
    const long long top = 32LL * (i / 8) + 2 * (i % 8);
    const long long below = i / 8 < na / 8 ? 16 : lastRowWidth;
    const long long cells[4] = {top, top + 1, top + below, top + below + 1};
    for (int k = 0; k < 4; ++k) {
      character(cells[k], idx);
      PlaceCharacter(canvas, x + 8 * (k % 2), y + 8 * (k / 2), idx);
    }
  }
  for (const auto& [count, first] : {std::pair{nb, firstB}, std::pair{nc, firstC}}) {
    for (int j = 0; j < count; ++j, ++part) {
      character(first + j, idx);
      PlaceCharacter(canvas, rom.Byte(d + 8 + 2 * part), rom.Byte(d + 9 + 2 * part), idx);
    }
  }
  return canvas;
}

namespace {

std::uint32_t AddColour(std::uint32_t dst, std::uint32_t src) {
  std::uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const std::uint32_t sum = ((dst >> shift) & 0xFF) + ((src >> shift) & 0xFF);
    out |= std::min<std::uint32_t>(sum, 255) << shift;
  }
  return out;
}

// The one drawing walk of compressed sprites; `combine` says how a colour meets the destination.
template <typename Combine>
void DrawCompSprite(CompSprite* src, BITMAP* dest, short dx, short dy, short flip, unsigned long pal, Combine combine) {
  if (!src || !dest || src->w == 0 || src->h == 0 || !src->line) return;
  const bool hflip = flip == 1 || flip == 3;
  const bool vflip = flip == 2 || flip == 3;
  const CompSpriteBox box = PlaceCompSprite(*src, dx, dy, flip);
  const RomView rom = CurrentRom();
  std::uint32_t colours[16];
  colours[0] = 0xFF00FF;
  for (int i = 1; i < 16; ++i) colours[i] = QBR1_Colour(rom.Word(static_cast<long long>(pal & 0x3FFFFF) + 2 * (i - 1)));
  const int dx0 = box.x0, dy0 = box.y0;
  const int x0 = std::max(dx0, 0), x1 = std::min(box.x1, dest->w);
  const int y0 = std::max(dy0, 0), y1 = std::min(box.y1, dest->h);
  for (int y = y0; y < y1; ++y) {
    const int sy = vflip ? src->h - 1 - (y - dy0) : y - dy0;
    const unsigned char* srow = src->line[sy];
    auto* drow = reinterpret_cast<std::uint32_t*>(dest->line[y]);
    for (int x = x0; x < x1; ++x) {
      const int sx = hflip ? src->w - 1 - (x - dx0) : x - dx0;
      const unsigned v = (srow[sx / 2] >> (4 * (sx & 1))) & 15;
      if (v != 0) drow[x] = combine(drow[x], colours[v]);
    }
  }
}

}  // namespace

void Rw_drawvh_qbrpal(CompSprite* src, BITMAP* dest, short dx, short dy, short flip, unsigned long pal) {
  DrawCompSprite(src, dest, dx, dy, flip, pal, [](std::uint32_t, std::uint32_t c) { return c; });
}

void Rw_drawvh_qbrpal_add(CompSprite* src, BITMAP* dest, short dx, short dy, short flip, unsigned long pal) {
  DrawCompSprite(src, dest, dx, dy, flip, pal, AddColour);
}

void Ub_Draw_Gradient(BITMAP* dest, int x, int y, int w, int h, unsigned long c, unsigned long p, bool o) {
  if (!dest) return;
  for (int k = 0; k < w; ++k) {
    vline(dest, x + k, y, y + h - 1, static_cast<int>(static_cast<std::uint32_t>(c)));
    c = static_cast<std::uint32_t>(o ? c + p : c - p);
  }
}
