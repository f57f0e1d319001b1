#include "level/new_records.h"

#include <cstdio>
#include <map>

#include "level/level_objects.h"
#include "level/leveldata.h"
#include "level/list_pool.h"

ObjectTemplate QBR1_ObjectTemplate(const RomView& rom, const globaldata& g, unsigned zo,
                                   const std::vector<QBR1RawObject>& level_records) {
  ObjectTemplate t;
  for (int id = kQBR1FirstLevel; id <= kQBR1LastLevel; ++id) {
    if (QBR1_IsHiddenLevel(id)) continue;
    const long long at = static_cast<long long>(rom.Word(static_cast<long long>(g.LvlOBJMapBank | g.LvlOBJMapTable) + 2LL * id) |
                                                g.LvlOBJMapBank);
    for (const QBR1RawObject& r : QBR1_ReadRawObjects(rom, at)) {
      if (r.Definition() != zo) continue;
      t.source = ObjectTemplate::Source::SameDefinition;
      t.level = id;
      t.kind = r.bytes[0];
      t.extra = r.bytes[1];
      return t;
    }
  }
  if (!level_records.empty()) {
    t.source = ObjectTemplate::Source::LevelFirst;
    t.kind = level_records.front().bytes[0];
    t.extra = level_records.front().bytes[1];
  }
  return t;
}

QBR1RawObject QBR1_NewObject(const ObjectTemplate& t, unsigned zo, int x, int y, int level_x) {
  QBR1RawObject r;
  r.bytes[0] = t.kind;
  r.bytes[1] = t.extra;
  r.SetDefinition(zo);
  r.SetPosition(x, y, level_x);
  return r;
}

std::string QBR1_ObjectTemplateText(const ObjectTemplate& t) {
  char text[96];
  switch (t.source) {
    case ObjectTemplate::Source::SameDefinition:
      std::snprintf(text, sizeof text, "kind %02X and byte 1 %02X from level 0x%02X", t.kind, t.extra, t.level);
      break;
    case ObjectTemplate::Source::LevelFirst:
      std::snprintf(text, sizeof text, "kind %02X and byte 1 %02X from this level's first object", t.kind, t.extra);
      break;
    default:
      std::snprintf(text, sizeof text, "kind %02X and byte 1 %02X: no object to copy them from", t.kind, t.extra);
      break;
  }
  return text;
}

std::vector<BananaShapeUse> QBR1_BananaShapesInUse(const RomView& rom, const globaldata& g) {
  std::map<int, BananaShapeUse> shapes;
  for (const ListPlace& list : QBR1_ListPlaces(rom, g, ListKind::Bananas)) {
    for (const QBR1RawBanana& r : QBR1_ReadRawBananas(rom, list.offset)) {
      BananaShapeUse& s = shapes[r.Shape()];
      if (s.groups++ > 0) continue;
      s.shape = r.Shape();
      s.offset = kQBR1BananaShapeTable + rom.Word(kQBR1BananaShapeTable + s.shape);
      s.columns = static_cast<int>(rom.Byte(s.offset));
      s.rows = static_cast<int>(rom.Byte(s.offset + 1));
      for (long long z = 0; z < static_cast<long long>(s.columns) * s.rows; ++z) {
        s.bananas += static_cast<int>((rom.Byte(s.offset + 2 + z / 8) >> (z & 7)) & 1);
      }
    }
  }
  std::vector<BananaShapeUse> out;
  for (const auto& [shape, use] : shapes) out.push_back(use);
  return out;
}

QBR1RawBanana QBR1_NewBananaGroup(int shape, int x, int y) {
  QBR1RawBanana r;
  r.bytes[0] = static_cast<unsigned char>(shape & 0xFE);
  r.bytes[1] = static_cast<unsigned char>((shape >> 8) & 0x03);
  r.SetPosition(x, y);
  return r;
}
