#include "editor/object_box.h"

#include <map>

#include "level/level_objects.h"
#include "level/qbr_sprite_exception.h"
#include "level/snesbitmap.h"
#include "platform/config_lock.h"
#include "rom/image_edits.h"
#include "shell/base/functions.h"

ObjectLook LookOfDefinition(int zo) {
  ObjectLook look;
  QBR1ObjectScript script = QBR1_WalkObjectScripts(zo);
  look.compound = QBR1_SpriteExceptions(zo, script.ani, script.pal, script.spr);
  look.spr = script.spr;
  look.pal = script.pal;
  ConfigGuard guard;
  look.flipped = get_config_int("OBJs_DisplayFlipped", int2hexstr(zo, 4).c_str(), 0) != 0;
  return look;
}

LevelBox CompoundLabelBox(int x, int y) { return {x + 1, y + 1, x + 161, y + 13}; }

LevelBox ObjectDrawnBox(const ObjectLook& look, const CompSprite* sprite, int x, int y, bool flip) {
  if (look.compound) return CompoundLabelBox(x, y);
  if (look.spr == 0 || sprite == nullptr) return {x - 16, y - 32, x + 16, y};
  const CompSpriteBox b = PlaceCompSprite(*sprite, x, y, flip ? 1 : 0);
  return {b.x0, b.y0, b.x1, b.y1};
}

namespace {

// The bounds of sprite spr (its rows left out), decoded once per image state.
const CompSprite& SpriteBounds(int spr) {
  static std::map<int, CompSprite> bounds;
  static unsigned long long seen = ~0ULL;
  const unsigned long long history = QBR1_Document().HistoryGeneration();
  if (history != seen) {
    bounds.clear();
    seen = history;
  }
  auto found = bounds.find(spr);
  if (found != bounds.end()) return found->second;
  CompSprite* sprite = Rw_Bitmap2CompSprite(RE_QBR1_SptiteRaw(spr));
  CompSprite geometry;
  if (sprite != nullptr) geometry = {sprite->cx, sprite->cy, sprite->w, sprite->h, nullptr};
  Nullify(sprite);
  return bounds.emplace(spr, geometry).first->second;
}

}  // namespace

LevelBox ObjectBox(int zo, int x, int y, bool view_mirrored) {
  const ObjectLook look = LookOfDefinition(zo);
  const CompSprite* sprite = look.spr != 0 && !look.compound ? &SpriteBounds(look.spr) : nullptr;
  return ObjectDrawnBox(look, sprite, x, y, look.flipped != view_mirrored);
}
