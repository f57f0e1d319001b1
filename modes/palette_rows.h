#pragma once

#include <string>
#include <vector>

#include "level/leveldata.h"

// The palettes of a level as rows of 16 swatches: the level palette (8 rows
// of its 128 colours), the banana palette and each object palette the level
// uses (one row each). Swatch 0 of every row is the transparent colour: the
// level never shows it, and banana and object palettes do not store it.
struct PaletteRow {
  std::string name;           // "Level 0-15", "Bananas", "Objects"
  long long base = 0;         // file offset of the word of swatch 0 (stores_first) or of swatch 1
  bool stores_first = false;  // whether the image stores a word for swatch 0

  // File offset of the word of swatch i (1-15); -1 for swatch 0 and anything outside 1-15.
  long long Swatch(int i) const;
  // File offset shown for the row: where its words start.
  long long Start() const { return base; }
};

// The rows of level `lvl` (as Get_QBR1_LevelDataStruct fills it).
std::vector<PaletteRow> QBR1_PaletteRows(const leveldata& lvl);
