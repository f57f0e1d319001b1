#include "level/level_display.h"

#include <iostream>

#include "level/leveldata.h"
#include "rom/headless_open.h"

void QBR1_WriteLevelList(std::ostream& out) {
  static const char kHex[] = "0123456789ABCDEF";
  for (int id = kQBR1FirstLevel; id <= kQBR1LastLevel; ++id) {
    if (QBR1_IsHiddenLevel(id)) continue;
    leveldata lvl;
    Get_QBR1_LevelDataStruct(id, lvl);
    out << "0x" << kHex[id >> 4] << kHex[id & 15] << '\t';
    out.write(lvl.name.data(), static_cast<std::streamsize>(lvl.name.size()));
    out << '\t' << lvl.archetype << '\t' << lvl.tile_w << '\t' << lvl.tile_h << '\n';
  }
}

int RunListCommand(const std::string& romPath) {
  if (!LoadRomHeadless(romPath)) return 1;
  QBR1_WriteLevelList(std::cout);
  std::cout.flush();
  return 0;
}
