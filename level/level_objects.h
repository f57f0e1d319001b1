#pragma once

#include <vector>

#include "level/leveldata.h"

// Readers of a level's object and banana maps and of the object scripts. The
// game trusts its scripts; these walks are bounded so a script that jumps in a
// loop, or a map without its end record, ends instead of stalling a frame.

// Most commands one script walk follows before giving up.
constexpr int kQBR1MaxScriptSteps = 0x4000;
// Most records a map walk reads: the game reads a map inside one 64 KiB bank,
// so a map without its end record (or a hostile map pointer into a large image)
// ends after one bank's worth of records.
constexpr int kQBR1MaxObjectRecords = 0x10000 / 8;
constexpr int kQBR1MaxBananaGroups = 0x10000 / 4;

// File offsets of the script banks and the animation table.
constexpr long long kQBR1ObjectScriptBank = 0x350000;
constexpr long long kQBR1ObjectPaletteBank = 0x3C0000;
constexpr long long kQBR1AnimationBank = 0x3E0000;
constexpr long long kQBR1AnimationTable = 0x3E8572;
// File offset of the banana shape pointer table.
constexpr long long kQBR1BananaShapeTable = 0x38D631;

// What an object's definition script and its first animation frame give.
struct QBR1ObjectScript {
  int pal = 0;  // file offset of the palette (bank 0x3C), 0 when none
  int ani = 0;  // animation number, 0 when none
  int spr = 0;  // sprite number of the first frame, 0 when none
};

// Follows the definition script at zo (bank 0x35) for its palette and
// animation, then the animation script for its first frame.
QBR1ObjectScript QBR1_WalkObjectScripts(int zo);

// The sprite of the first frame of animation ani, 0 when the script ends first.
int QBR1_AnimationSprite(int ani);

// One record of a level's object map, in level coordinates.
struct QBR1ObjectRecord {
  int kind = 0;  // never 0 (0 ends the map)
  int x = 0;     // stored x - the level's x, as a signed 16-bit difference
  int y = 0;     // 0x200 - stored height, as a signed 16-bit difference
  int zo = 0;    // object definition address
};

// The object map of lvl up to its end record (at most kQBR1MaxObjectRecords records).
std::vector<QBR1ObjectRecord> QBR1_ReadObjectMap(const leveldata& lvl);

// One banana group of a level.
struct QBR1BananaGroup {
  int shape = 0;       // byte offset into the shape pointer table (never 0)
  int x = 0;           // level x in pixels
  int y = 0;           // level y in pixels
  long long grid = 0;  // file offset of the shape (columns, rows, bit grid)
  int columns = 0;
  int rows = 0;
};

// The banana map of lvl up to its end record (at most kQBR1MaxBananaGroups groups).
std::vector<QBR1BananaGroup> QBR1_ReadBananaMap(const leveldata& lvl);

// Whether cell (c, r) of the group's shape holds a banana.
bool QBR1_BananaCell(const QBR1BananaGroup& g, int c, int r);
