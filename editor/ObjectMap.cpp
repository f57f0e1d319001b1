#include "editor/classes.h"

#include "editor/object_box.h"
#include "level/qbr_sprite_exception.h"
#include "level/snesbitmap.h"
#include "platform/config_lock.h"
#include "editor/view_transform.h"
#include "resources/skin.h"
#include "shell/base/functions.h"

namespace {

constexpr int kMarkerColour = -1;
constexpr int kLabelColour = 0x400060;

void DrawMarker(BITMAP* dest, int px, int py) {
  hline(dest, px, py, px + 3, kMarkerColour);
  vline(dest, px, py, py + 3, kMarkerColour);
}

// The sprite of number `spr`, decoded and compressed.
CompSprite* DecodeSprite(int spr) { return Rw_Bitmap2CompSprite(RE_QBR1_SptiteRaw(spr)); }

}  // namespace

CObjectMap::CObjectMap(leveldata& lvl)
    : sprites(new CompSprite*[kCacheSize]()), records(QBR1_ReadObjectMap(lvl)), looks(records.size()) {}

CObjectMap::~CObjectMap() {
  for (int i = 0; i < kCacheSize; ++i) Nullify(sprites[i]);
  delete[] sprites;
}

void CObjectMap::Proc(Hex32, Hex32, const InputSnapshot& in) {
  mirrored = in.MirrorsObjects();
  mouse_x = in.wx;
  mouse_y = in.wy;
}

const ObjectLook& CObjectMap::Look(std::size_t record) {
  if (looks[record]) return *looks[record];
  return looks[record].emplace(LookOfDefinition(records[record].zo));
}

void CObjectMap::Draw(BITMAP* dest, Hex32 x, Hex32 y, const ViewFrame& frame, ObjectOverlay overlay) {
  if (!shown) return;
  for (std::size_t b = 0; b < records.size(); ++b) {
    const QBR1ObjectRecord& object = records[b];
    const int sx = object.x - x;
    const int sy = object.y - y;
    if (sx > frame.w + 64) break;  // records are sorted by x: none further right is visible
    if (sx < -64) continue;
    const int px = sx + frame.ox;
    const int py = sy + frame.oy;
    const ObjectLook& look = Look(b);

    if (look.spr != 0) {
      bool flip = look.flipped;
      if (overlay != ObjectOverlay::Hidden && mirrored) flip = !flip;
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
    if (overlay == ObjectOverlay::Shown) DrawOverlay(dest, b, px, py, frame.w);
  }
}

void CObjectMap::DrawOverlays(BITMAP* dest, int window_w) {
  if (!shown) return;
  for (std::size_t b = 0; b < records.size(); ++b) {
    int px = 0, py = 0;
    LevelToWindow(records[b].x, records[b].y, px, py);
    // The widest thing drawn right of the reference point is a 160-pixel label,
    // the hover square reaches 16 pixels left of it.
    if (px > window_w + 64) break;
    if (px < -200) continue;
    DrawOverlay(dest, b, px, py, window_w);
  }
}

void CObjectMap::DrawOverlay(BITMAP* dest, std::size_t record, int px, int py, int window_w) {
  const QBR1ObjectRecord& object = records[record];
  if (Look(record).compound) {
    DrawMarker(dest, px, py);
    const LevelBox label = CompoundLabelBox(px, py);
    Ub_Draw_Gradient(dest, label.x0, label.y0, label.x1 - label.x0, label.y1 - label.y0, kLabelColour, 1, true);
    textprintf_ex(dest, NMenuFont[2], label.x0 + 2, label.y0, -1, -1, "%04X - Compound Object", object.zo);
    return;
  }
  // The hover square: 32 x 32 level pixels just above the reference point, centred on it.
  int lx = 0, ly = 0;
  WindowToLevel(mouse_x, mouse_y, lx, ly);
  if (lx < object.x - 16 || lx >= object.x + 16 || ly < object.y - 32 || ly >= object.y) return;
  DrawMarker(dest, px, py);
  std::string desc;
  {
    ConfigGuard guard;
    desc = get_config_string("OBJs_Names0001", int2hexstr(object.zo, 4).c_str(), "No Definition");
  }
  const int width = helio_stringlength(desc) + 56;
  const int mx = mouse_x, my = mouse_y;
  int left = mx + 12;
  if (left + width > window_w - 16) left = window_w - width - 16;
  rectfill(dest, left, my + 16, left + width, my + 27, kLabelColour);
  textprintf_ex(dest, NMenuFont[2], left + 2, my + 16, -1, -1, "%04X - %s", object.zo, desc.c_str());
}
