#pragma once

#include <ostream>
#include <string>
#include <vector>

// One viewable level as the level list shows it.
struct LevelListRow {
  int id;
  std::string name;
  int archetype, tile_w, tile_h;
};

// The viewable levels (0-229 without 0x5C and 0x5E) of the loaded image with
// the configuration in force, in id order.
std::vector<LevelListRow> QBR1_LevelList();

// Writes one line per viewable level id (0-229 without 0x5C and 0x5E) of the
// loaded image with the configuration in force: "0xNN<TAB>name<TAB>archetype<TAB>tile_w<TAB>tile_h",
// bytes of the name below 0x20 or above 0x7E written as "\xNN" (upper-case hex digits).
void QBR1_WriteLevelList(std::ostream& out);
