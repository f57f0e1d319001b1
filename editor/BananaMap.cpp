#include "editor/classes.h"

#include <cstdint>

#include "gfx/ex_graphics.h"
#include "level/ex_gfx_QBR1.h"
#include "rom/globaldata.h"
#include "shell/base/functions.h"

namespace {

constexpr int kSets = 5;

// The first of the cells placed 8 pixels apart from pixel `at` on whose 16
// pixels reach past pixel 0: the cells before it are drawn nowhere.
int FirstCellShown(int at) { return at + 16 > 0 ? 0 : (-at - 16) / 8 + 1; }

}  // namespace

CBananaMap::CBananaMap(leveldata& lvl) : groups(QBR1_ReadBananaMap(lvl)) { ReloadBananas(0); }

CBananaMap::~CBananaMap() {
  for (BITMAP*& picture : tileset) Nullify(picture);
}

void CBananaMap::ReloadBananas(int n) {
  if (n < 0 || n >= kSets) return;
  for (int i = 0; i < 8; ++i) {
    Nullify(tileset[i]);
    // Summed unsigned: a configured offset near the top of the int range wraps
    // to a position outside the image (which reads as 0) instead of overflowing.
    const auto graphics = static_cast<std::uint32_t>(qbr1gbl.BananaGraphics + 64u * (16u * n + i));
    tileset[i] = RE_QBR1_16SpriteRaw_bmp(static_cast<int>(graphics), static_cast<int>(qbr1gbl.BananaPalette), true);
  }
}

void CBananaMap::Proc(Hex32, Hex32, const InputSnapshot& in) {
  if (global_bimg_counter_adv == 0) {
    global_bimg_counter = (global_bimg_counter + 1) & 7;
    global_bimg_counter_adv = 1;
  } else if (global_bimg_counter_adv == 3) {
    global_bimg_counter_adv = 0;
  } else {
    ++global_bimg_counter_adv;
  }
  if (in.alt && in.Held(KEY_B)) {
    for (int digit = 0; digit < kSets; ++digit) {
      if (in.Held(KEY_0_PAD + digit)) ReloadBananas(digit);
    }
  }
}

void CBananaMap::Draw(BITMAP* dest, Hex32 x, Hex32 y, const ViewFrame& frame) {
  if (!shown) return;
  for (const QBR1BananaGroup& g : groups) {
    const int sx = g.x - x;
    const int sy = g.y - y;
    if (sx > frame.w) break;  // groups are sorted by x: none further right is visible
    // Only cells inside the window are looked at: a damaged shape may claim
    // 255 x 255 cells, and a band of a whole level's picture shows few rows.
    for (int c = FirstCellShown(sx + frame.ox); c < g.columns && 8 * c + sx <= frame.w; ++c) {
      for (int r = FirstCellShown(sy + frame.oy); r < g.rows && 8 * r + sy + frame.oy < frame.h; ++r) {
        if (!QBR1_BananaCell(g, c, r)) continue;
        BITMAP* picture = tileset[((g.x / 8) + (g.y / 8) + global_bimg_counter + c + r) & 7];
        // The program's own masked copy instead of the drawing library's (a whole level has
        // hundreds of thousands of cells): the frames hold only the transparent 0x00FF00FF and
        // opaque console colours, whose channels never reach 0xFF, so the pixels it skips
        // are exactly those masked_blit skips.
        Rw_draw_at(picture, dest, 8 * c + sx + frame.ox, 8 * r + sy + frame.oy);
      }
    }
  }
}
