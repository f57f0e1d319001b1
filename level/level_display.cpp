#include "level/level_display.h"

#include <iostream>

#include "level/leveldata.h"
#include "shell/base/functions.h"

void QBR1_WriteLevelList(std::ostream& out) {
  for (int id = kQBR1FirstLevel; id <= kQBR1LastLevel; ++id) {
    if (QBR1_IsHiddenLevel(id)) continue;
    leveldata lvl;
    Get_QBR1_LevelDataStruct(id, lvl);
    out << "0x" << int2hexstr(id, 2) << '\t';
    out.write(lvl.name.data(), static_cast<std::streamsize>(lvl.name.size()));
    out << '\t' << lvl.archetype << '\t' << lvl.tile_w << '\t' << lvl.tile_h << '\n';
  }
}
