#include "editor/classes.h"

#include <cstdio>

#include "editor/object_scripts.h"
#include "level/qbr_sprite_exception.h"
#include "level/rom_access.h"
#include "level/snesbitmap.h"
#include "platform/config_lock.h"
#include "resources/skin.h"
#include "shell/functions.h"

namespace {

constexpr int kRecordSize = 8;
// An object map lies inside one 64 KiB bank: no real list holds more records.
constexpr int kMaxRecords = 0x10000 / kRecordSize;
constexpr int kMarkerColour = -1;
constexpr int kLabelColour = 0x400060;

void DrawMarker(BITMAP* dest, int px, int py) {
  hline(dest, px, py, px + 3, kMarkerColour);
  vline(dest, px, py, py + 3, kMarkerColour);
}

// The sprite of number `spr`, decoded and compressed.
CompSprite* DecodeSprite(int spr) { return Rw_Bitmap2CompSprite(RE_QBR1_SptiteRaw(spr)); }

}  // namespace

CObjectMap::CObjectMap(leveldata&) : sprites(new CompSprite*[kCacheSize]()) {}

CObjectMap::~CObjectMap() {
  for (int i = 0; i < kCacheSize; ++i) Nullify(sprites[i]);
  delete[] sprites;
}

void CObjectMap::Proc(Hex32, Hex32) {}

const ObjectLook& CObjectMap::Look(int record_number, int zo) {
  if (record_number >= static_cast<int>(looks.size())) looks.resize(record_number + 1);
  if (looks[record_number]) return *looks[record_number];
  ObjectLook& look = looks[record_number].emplace();
  ObjectScript script = WalkObjectScripts(zo);
  look.compound = QBR1_SpriteExceptions(zo, script.ani, script.pal, script.spr);
  look.spr = script.spr;
  look.pal = script.pal;
  ConfigGuard guard;
  look.flipped = get_config_int("OBJs_DisplayFlipped", int2hexstr(zo, 4).c_str(), 0) != 0;
  return look;
}

void CObjectMap::Draw(BITMAP* dest, Hex32 x, Hex32 y, leveldata& lvl, const ViewFrame& frame,
                      ObjectOverlay overlay) {
  for (int b = 0, record = lvl.objects; b < kMaxRecords; ++b, record += kRecordSize) {
    if (QBR1_Byte(record) == 0) break;
    const int ox = QBR1_Word(record + 2) - lvl.x;
    const int oy = 0x200 - QBR1_Word(record + 4);
    const int zo = QBR1_Word(record + 6);
    const int sx = ox - x;
    const int sy = oy - y;
    if (sx > frame.w + 64) break;  // records are sorted by x: none further right is visible
    if (sx < -64) continue;
    const int px = sx + frame.ox;
    const int py = sy + frame.oy;

    const ObjectLook& look = Look(b, zo);

    if (look.spr != 0) {
      bool flip = look.flipped;
      if (overlay == ObjectOverlay::Shown && key[KEY_F]) flip = !flip;
      const unsigned index = static_cast<unsigned>(look.spr) / 4;
      if (index < static_cast<unsigned>(kCacheSize)) {
        if (sprites[index] == nullptr) sprites[index] = DecodeSprite(look.spr);
        Rw_drawvh_qbrpal(sprites[index], dest, px, py, flip, look.pal);
      } else {
        // Beyond the cache: decoded for this frame only.
        CompSprite* sprite = DecodeSprite(look.spr);
        Rw_drawvh_qbrpal(sprite, dest, px, py, flip, look.pal);
        Nullify(sprite);
      }
    }
    if (overlay == ObjectOverlay::Hidden) continue;

    if (look.compound) {
      DrawMarker(dest, px, py);
      Ub_Draw_Gradient(dest, px + 1, py + 1, 160, 12, kLabelColour, 1, true);
      textprintf_ex(dest, NMenuFont[2], px + 3, py + 1, -1, -1, "%04X - Compound Object", zo);
    } else if (IsMouseHover(px - 16, py - 32, 32, 32)) {
      DrawMarker(dest, px, py);
      std::string desc;
      {
        ConfigGuard guard;
        desc = get_config_string("OBJs_Names0001", int2hexstr(zo, 4).c_str(), "No Definition");
      }
      const int width = helio_stringlength(desc) + 56;
      int left = mouse_x + 12;
      if (left + width > frame.w - 16) left = frame.w - width - 16;
      rectfill(dest, left, mouse_y + 16, left + width, mouse_y + 27, kLabelColour);
      textprintf_ex(dest, NMenuFont[2], left + 2, mouse_y + 16, -1, -1, "%04X - %s", zo, desc.c_str());
    }
  }
}
