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

namespace {

// The name with every byte outside printable ASCII (below 0x20, above 0x7E) as "\xNN", so that a
// damaged name can neither break the list's lines and columns nor send control codes to a terminal.
std::string Printable(const std::string& name) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 0x20 && c <= 0x7E) {
      out.push_back(ch);
    } else {
      out += {'\\', 'x', kHex[c >> 4], kHex[c & 0xF]};
    }
  }
  return out;
}

}  // namespace

void QBR1_WriteLevelList(std::ostream& out) {
  for (const LevelListRow& row : QBR1_LevelList()) {
    out << "0x" << int2hexstr(row.id, 2) << '\t' << Printable(row.name);
    out << '\t' << row.archetype << '\t' << row.tile_w << '\t' << row.tile_h << '\n';
  }
}
