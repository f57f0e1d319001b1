#include "editor/classes.h"

#include "level/ex_gfx_QBR1.h"
#include "level/level_records.h"
#include "level/rom_access.h"
#include "shell/base/functions.h"

namespace {

constexpr int kGridDark = 0x020202;
constexpr int kGridLight = 0x0A0A0A;

}  // namespace

CMLayer::CMLayer(leveldata& lvl) { QBR1_FillTilesVector(tileset, lvl); }

CMLayer::~CMLayer() {
  for (BITMAP*& tile : tileset) Nullify(tile);
  Nullify(picture);
}

void CMLayer::Proc(Hex32 x, Hex32 y, const ViewFrame& frame) {
  stx = static_cast<Hex16>(x >> 5);
  sty = static_cast<Hex16>(y >> 5);
  spx = static_cast<Hex16>(x & 31);
  spy = static_cast<Hex16>(y & 31);
  // One column more than fits on either side of a partly shown tile, and
  // rows down to the status bar.
  w_squares = (frame.w - frame.ox) / 32 + 2;
  h_squares = (frame.h - frame.oy - 4) / 32 + 1;
}

void CMLayer::DrawEntry(BITMAP* dest, int sx, int sy) {
  cntile = mapdata & 0x3FFF;
  // Tile 0 is empty; numbers past the decoded tile list come from a map we
  // cannot trust and are skipped.
  if (cntile == 0 || cntile >= static_cast<Hex32>(tileset.size())) return;
  BITMAP* tile = tileset[cntile];
  if (tile == nullptr) return;
  switch ((mapdata >> 14) & 3) {
    case 0: draw_sprite(dest, tile, sx, sy); break;
    case 1: draw_sprite_h_flip(dest, tile, sx, sy); break;
    case 2: draw_sprite_v_flip(dest, tile, sx, sy); break;
    default: draw_sprite_vh_flip(dest, tile, sx, sy); break;
  }
}

void CMLayer::ReadSquares(leveldata& lvl, int cols, int rows) {
  entries.clear();
  for (int xx = 0; xx < cols; ++xx) {
    for (int yy = 0; yy < rows; ++yy) {
      const int col = stx + xx;
      const int row = sty + yy;
      timaddr = lvl.sequencing == 0 ? lvl.tilemap + 2 * (16 * col + row) : lvl.tilemap + 2 * (64 * row + col);
      if (lvl.ID == kQBR1TwoMapLevel) entries.push_back(QBR1_Word(timaddr + lvl.size + 0x200));
      entries.push_back(QBR1_Word(timaddr));
    }
  }
}

void CMLayer::DrawSquares(BITMAP* dest, int cols, int rows, int ox, int oy, bool two_maps) {
  std::size_t next = 0;
  for (int xx = 0; xx < cols; ++xx) {
    for (int yy = 0; yy < rows; ++yy) {
      const int sx = 32 * xx + ox;
      const int sy = 32 * yy + oy;
      rectfill(dest, sx, sy, sx + 31, sy + 31, (((stx + xx) ^ (sty + yy)) & 1) ? kGridLight : kGridDark);
      if (two_maps) {
        mapdata = entries[next++];
        DrawEntry(dest, sx, sy);
      }
      mapdata = entries[next++];
      DrawEntry(dest, sx, sy);
    }
  }
}

void CMLayer::SquaresInLevel(const leveldata& lvl, int& cols, int& rows) const {
  // The walk stops at the level's last column and row.
  cols = 0;
  rows = 0;
  while (cols < w_squares && stx + cols != lvl.tile_w) ++cols;
  while (rows < h_squares && sty + rows != lvl.tile_h) ++rows;
}

void CMLayer::PaintedArea(const leveldata& lvl, const ViewFrame& frame, int& x, int& y, int& w, int& h) const {
  int cols = 0, rows = 0;
  if (shown) SquaresInLevel(lvl, cols, rows);
  x = frame.ox - spx;
  y = frame.oy - spy;
  w = 32 * cols;
  h = 32 * rows;
}

void CMLayer::Draw(BITMAP* dest, leveldata& lvl, const ViewFrame& frame) {
  if (!shown) return;
  int cols = 0, rows = 0;
  SquaresInLevel(lvl, cols, rows);
  if (cols == 0 || rows == 0) return;
  const bool two_maps = lvl.ID == kQBR1TwoMapLevel;
  const int ox = frame.ox - spx;
  const int oy = frame.oy - spy;
  ReadSquares(lvl, cols, rows);
  if (!keepPicture) {
    DrawSquares(dest, cols, rows, ox, oy, two_maps);
    return;
  }
  const bool same_size = picture != nullptr && picture->w == 32 * cols && picture->h == 32 * rows;
  if (!same_size) {
    Nullify(picture);
    picture = create_bitmap_ex(32, 32 * cols, 32 * rows);
    picture_entries.clear();
    if (picture == nullptr) {
      DrawSquares(dest, cols, rows, ox, oy, two_maps);
      return;
    }
  }
  if (!same_size || picture_stx != stx || picture_sty != sty || picture_entries != entries) {
    DrawSquares(picture, cols, rows, 0, 0, two_maps);
    picture_stx = stx;
    picture_sty = sty;
    picture_entries = entries;
  }
  blit(picture, dest, 0, 0, ox, oy, picture->w, picture->h);
}
