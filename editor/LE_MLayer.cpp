#include "editor/classes.h"

#include "level/ex_gfx_QBR1.h"
#include "level/rom_access.h"
#include "shell/functions.h"

namespace {

constexpr int kGridDark = 0x020202;
constexpr int kGridLight = 0x0A0A0A;
// The level whose picture has a second map underneath, stored after the first.
constexpr int kTwoMapLevel = 0x27;

}  // namespace

CMLayer::CMLayer(leveldata& lvl) { QBR1_FillTilesVector(tileset, lvl); }

CMLayer::~CMLayer() {
  for (BITMAP*& tile : tileset) Nullify(tile);
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

void CMLayer::Draw(BITMAP* dest, leveldata& lvl, const ViewFrame& frame) {
  for (int xx = 0; xx < w_squares && stx + xx != lvl.tile_w; ++xx) {
    for (int yy = 0; yy < h_squares && sty + yy != lvl.tile_h; ++yy) {
      const int col = stx + xx;
      const int row = sty + yy;
      const int sx = 32 * xx - spx + frame.ox;
      const int sy = 32 * yy - spy + frame.oy;
      rectfill(dest, sx, sy, sx + 31, sy + 31, ((col ^ row) & 1) ? kGridLight : kGridDark);

      timaddr = lvl.sequencing == 0 ? lvl.tilemap + 2 * (16 * col + row)
                                    : lvl.tilemap + 2 * (64 * row + col);
      if (lvl.ID == kTwoMapLevel) {
        mapdata = QBR1_Word(timaddr + lvl.size + 0x200);
        DrawEntry(dest, sx, sy);
      }
      mapdata = QBR1_Word(timaddr);
      DrawEntry(dest, sx, sy);
    }
  }
}
