#include "extract/extract_survey.h"

#include <map>
#include <set>

#include "level/level_objects.h"
#include "level/leveldata.h"
#include "level/qbr_sprite_exception.h"

std::vector<int> QBR1_ViewableLevels() {
  std::vector<int> ids;
  for (int id = kQBR1FirstLevel; id <= kQBR1LastLevel; ++id)
    if (!QBR1_IsHiddenLevel(id)) ids.push_back(id);
  return ids;
}

std::vector<int> QBR1_UsedArchetypes() {
  std::set<int> used;
  for (int id : QBR1_ViewableLevels()) used.insert(Get_QBR1_LevelArchetype(id));
  return {used.begin(), used.end()};
}

std::vector<QBR1SpriteUse> QBR1_SpriteUses() {
  struct Look {
    int spr, pal;
  };
  // The look of an object depends only on its definition address, and a damaged
  // image repeats addresses whose script walks run to their step limit: each
  // address is walked once.
  std::map<int, Look> looks;
  std::map<int, QBR1SpriteUse> uses;
  for (int id : QBR1_ViewableLevels()) {
    leveldata lvl;
    Get_QBR1_LevelDataStruct(id, lvl);
    for (const QBR1ObjectRecord& object : QBR1_ReadObjectMap(lvl)) {
      auto found = looks.find(object.zo);
      if (found == looks.end()) {
        QBR1ObjectScript script = QBR1_WalkObjectScripts(object.zo);
        int zo = object.zo;
        QBR1_SpriteExceptions(zo, script.ani, script.pal, script.spr);
        found = looks.emplace(object.zo, Look{script.spr, script.pal}).first;
      }
      const Look& look = found->second;
      if (look.spr != 0) uses.try_emplace(look.spr, QBR1SpriteUse{look.spr, look.pal, id});
    }
  }
  std::vector<QBR1SpriteUse> list;
  for (const auto& [spr, use] : uses) list.push_back(use);
  return list;
}
