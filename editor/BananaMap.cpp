#include "editor/classes.h"

#include "level/ex_gfx_QBR1.h"
#include "level/rom_access.h"
#include "rom/globaldata.h"
#include "shell/functions.h"

namespace {

// Shape pointer table of the banana groups: entry at kShapeTable + shape
// holds p, and the shape lies at kShapeTable + p.
constexpr int kShapeTable = 0x38D631;
constexpr int kSets = 5;
// A banana map lies inside one 64 KiB bank, so no real list holds more groups;
// the bound keeps a damaged list from stalling the frame.
constexpr int kMaxGroups = 0x10000 / 4;

}  // namespace

CBananaMap::CBananaMap(leveldata&) { ReloadBananas(0); }

CBananaMap::~CBananaMap() {
  for (BITMAP*& picture : tileset) Nullify(picture);
}

void CBananaMap::ReloadBananas(int n) {
  if (n < 0 || n >= kSets) return;
  for (int i = 0; i < 8; ++i) {
    Nullify(tileset[i]);
    tileset[i] = RE_QBR1_16SpriteRaw_bmp(static_cast<int>(qbr1gbl.BananaGraphics) + 64 * (16 * n + i),
                                         static_cast<int>(qbr1gbl.BananaPalette), true);
  }
}

void CBananaMap::Proc(Hex32, Hex32) {
  if (global_bimg_counter_adv == 0) {
    global_bimg_counter = (global_bimg_counter + 1) & 7;
    global_bimg_counter_adv = 1;
  } else if (global_bimg_counter_adv == 3) {
    global_bimg_counter_adv = 0;
  } else {
    ++global_bimg_counter_adv;
  }
  if (key[KEY_ALT] && key[KEY_B]) {
    for (int digit = 0; digit < kSets; ++digit) {
      if (key[KEY_0_PAD + digit]) ReloadBananas(digit);
    }
  }
}

void CBananaMap::Draw(BITMAP* dest, Hex32 x, Hex32 y, leveldata& lvl, const ViewFrame& frame) {
  // The list ends with a zero shape; past the end of the image every read is
  // 0, so the walk ends there at the latest.
  for (int group = 0, record = lvl.bananas; group < kMaxGroups; ++group, record += 4) {
    const int word0 = QBR1_Word(record);
    const int shape = (word0 & 0x3FF) & ~1;
    if (shape == 0) break;
    const int gy = 8 * (word0 >> 10);
    const int gx = QBR1_Word(record + 2) >> 2;
    const int sx = gx - x;
    const int sy = gy - y;
    if (sx > frame.w) break;  // groups are sorted by x: none further right is visible

    const int at = kShapeTable + QBR1_Word(kShapeTable + shape);
    const int columns = QBR1_Byte(at);
    const int rows = QBR1_Byte(at + 1);
    // Only cells inside the window are looked at: a damaged shape may claim
    // 255 x 255 cells.
    for (int c = 0; c < columns && 8 * c + sx <= frame.w; ++c) {
      if (8 * c + sx + frame.ox + 16 <= 0) continue;
      for (int r = 0; r < rows && 8 * r + sy + frame.oy < frame.h; ++r) {
        if (8 * r + sy + frame.oy + 16 <= 0) continue;
        const int z = c * rows + (rows - 1 - r);
        if (!((QBR1_Byte(at + 2 + z / 8) >> (z & 7)) & 1)) continue;
        BITMAP* picture = tileset[((gx / 8) + (gy / 8) + global_bimg_counter + c + r) & 7];
        if (picture != nullptr) {
          masked_blit(picture, dest, 0, 0, 8 * c + sx + frame.ox, 8 * r + sy + frame.oy, 16, 16);
        }
      }
    }
  }
}
