#pragma once

#include <vector>

// What the loaded image holds that the extraction writes: its levels, the
// archetypes they use and the sprites their objects draw.

// The level ids the editor can show (0-229 without the two hidden ones), ascending.
std::vector<int> QBR1_ViewableLevels();

// The archetypes of the viewable levels, ascending, each once.
std::vector<int> QBR1_UsedArchetypes();

// One sprite that an object draws, with its first use: the first object, in
// level order and then map order, whose look gives this sprite number.
struct QBR1SpriteUse {
  int spr = 0;    // sprite number after the configuration's overrides (never 0)
  int pal = 0;    // palette of the first use (file offset, after the overrides)
  int level = 0;  // level of the first use
};

// Every sprite number an object of a viewable level draws, ascending.
std::vector<QBR1SpriteUse> QBR1_SpriteUses();
