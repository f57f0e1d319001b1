#include "level/level_display.h"

#include <iostream>

#include "level/leveldata.h"
#include "shell/base/functions.h"

std::vector<LevelListRow> QBR1_LevelList() {
  std::vector<LevelListRow> rows;
  for (int id = kQBR1FirstLevel; id <= kQBR1LastLevel; ++id) {
    if (QBR1_IsHiddenLevel(id)) continue;
    leveldata lvl;
    Get_QBR1_LevelDataStruct(id, lvl);
    rows.push_back({id, lvl.name, lvl.archetype, lvl.tile_w, lvl.tile_h});
  }
  return rows;
}

void QBR1_WriteLevelList(std::ostream& out) {
  for (const LevelListRow& row : QBR1_LevelList()) {
    out << "0x" << int2hexstr(row.id, 2) << '\t';
    out.write(row.name.data(), static_cast<std::streamsize>(row.name.size()));
    out << '\t' << row.archetype << '\t' << row.tile_w << '\t' << row.tile_h << '\n';
  }
}
