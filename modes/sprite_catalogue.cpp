#include "modes/sprite_catalogue.h"

#include <algorithm>
#include <cstdint>

#include "level/level_objects.h"
#include "level/leveldata.h"
#include "level/qbr_sprite_exception.h"
#include "level/rom_access.h"
#include "level/snesbitmap.h"

ObjectSpriteUse QBR1_ObjectSprite(int zo) {
  QBR1ObjectScript script = QBR1_WalkObjectScripts(zo);
  QBR1_SpriteExceptions(zo, script.ani, script.pal, script.spr);
  return {script.spr, script.pal};
}

namespace {

// The object map of level id as the level view reads it.
std::vector<QBR1ObjectRecord> ObjectsOf(int id) {
  leveldata lvl;
  Get_QBR1_LevelDataStruct(id, lvl);
  return QBR1_ReadObjectMap(lvl);
}

}  // namespace

ObjectSpriteUse QBR1_FirstObjectSprite(int id) {
  for (const QBR1ObjectRecord& object : ObjectsOf(id)) {
    const ObjectSpriteUse use = QBR1_ObjectSprite(object.zo);
    if (use.spr != 0) return use;
  }
  return {};
}

std::vector<int> QBR1_LevelObjectPalettes(int id) {
  std::vector<int> palettes;
  std::map<int, bool> seen_zo;
  for (const QBR1ObjectRecord& object : ObjectsOf(id)) {
    if (seen_zo[object.zo]) continue;
    seen_zo[object.zo] = true;
    const int pal = QBR1_ObjectSprite(object.zo).pal;
    if (pal != 0) palettes.push_back(pal);
  }
  std::sort(palettes.begin(), palettes.end());
  palettes.erase(std::unique(palettes.begin(), palettes.end()), palettes.end());
  return palettes;
}

bool QBR1_SpriteGivesPixels(int n) {
  const long long d = QBR1_SpriteData(n);
  if (d == 0) return false;
  const RomView rom = CurrentRom();
  if (!rom.Contains(d) || rom.Byte(d) + rom.Byte(d + 1) + rom.Byte(d + 3) == 0) return false;
  BITMAP* canvas = RE_QBR1_SptiteRaw(n);
  if (canvas == nullptr) return false;
  bool pixels = false;
  for (int y = 0; y < canvas->h && !pixels; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(canvas->line[y]);
    pixels = std::any_of(row, row + canvas->w, [](std::uint32_t v) { return v != 0; });
  }
  destroy_bitmap(canvas);
  return pixels;
}

int QBR1_StepSprite(int from, int direction) {
  if (direction == 0) return -1;
  const int step = direction > 0 ? 4 : -4;
  // A number between two valid ones steps to the neighbour in the asked direction.
  int n = from - from % 4 + (direction < 0 && from % 4 != 0 ? 4 : 0) + step;
  for (; n >= kFirstSpriteNumber && n <= kLastSpriteNumber; n += step)
    if (QBR1_SpriteGivesPixels(n)) return n;
  return -1;
}

const std::vector<int>& SpritePaletteIndex::For(int n) const {
  const auto it = by_sprite.find(n);
  return it != by_sprite.end() && !it->second.empty() ? it->second : all;
}

SpritePaletteIndex BuildSpritePaletteIndex() {
  SpritePaletteIndex index;
  std::map<int, ObjectSpriteUse> by_zo;
  for (int id = kQBR1FirstLevel; id <= kQBR1LastLevel; ++id) {
    if (QBR1_IsHiddenLevel(id)) continue;
    leveldata lvl;
    lvl.objects = Get_QBR1_LevelObjectMap(id);
    for (const QBR1ObjectRecord& object : QBR1_ReadObjectMap(lvl)) {
      auto found = by_zo.find(object.zo);
      if (found == by_zo.end()) found = by_zo.emplace(object.zo, QBR1_ObjectSprite(object.zo)).first;
      const ObjectSpriteUse use = found->second;
      if (use.pal == 0) continue;
      index.all.push_back(use.pal);
      if (use.spr == 0) continue;
      std::vector<int>& list = index.by_sprite[use.spr];
      if (std::find(list.begin(), list.end(), use.pal) == list.end()) list.push_back(use.pal);
    }
  }
  std::sort(index.all.begin(), index.all.end());
  index.all.erase(std::unique(index.all.begin(), index.all.end()), index.all.end());
  return index;
}

int CyclePalette(const std::vector<int>& list, int current, int step) {
  if (list.empty()) return current;
  const auto it = std::find(list.begin(), list.end(), current);
  if (it == list.end()) return list.front();
  const long long size = static_cast<long long>(list.size());
  long long at = (it - list.begin()) + (step > 0 ? 1 : -1);
  at = ((at % size) + size) % size;
  return list[static_cast<std::size_t>(at)];
}
