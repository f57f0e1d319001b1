#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "level/leveldata.h"
#include "level/rom_access.h"

// Readers and writers of the stored records the editor changes: object
// records, banana group records and tile map entries. Positions are level
// pixels; every record keeps the bits the editor does not change.

// ---- Object records (8 bytes: kind, unused, x word, height word, definition) ----

// The stored x word of level x `x` in a level whose camera start is `level_x`.
unsigned QBR1_EncodeObjectX(int x, int level_x);
// The level x of stored word `word`: the 16-bit difference from `level_x`, signed,
// so that every x a level can hold (and a little left of it) survives a round trip.
int QBR1_DecodeObjectX(unsigned word, int level_x);
// The stored height word of level y `y` (0x200 - y, kept to 16 bits).
unsigned QBR1_EncodeObjectHeight(int y);
// The level y of stored height `word`: 0x200 - word as a signed 16-bit
// difference, so vertical levels taller than 512 pixels round-trip too.
int QBR1_DecodeObjectHeight(unsigned word);
// Lowest and highest level coordinate an object position can be stored with.
constexpr int kQBR1ObjectCoordMin = -0x8000;
constexpr int kQBR1ObjectCoordMax = 0x7FFF;

// One stored object record, byte for byte.
struct QBR1RawObject {
  std::array<unsigned char, 8> bytes{};

  int Kind() const { return bytes[0]; }
  unsigned XWord() const { return bytes[2] | (bytes[3] << 8); }
  unsigned HeightWord() const { return bytes[4] | (bytes[5] << 8); }
  unsigned Definition() const { return bytes[6] | (bytes[7] << 8); }
  // Level position of the record in a level whose camera start is `level_x`.
  int X(int level_x) const { return QBR1_DecodeObjectX(XWord(), level_x); }
  int Y() const { return QBR1_DecodeObjectHeight(HeightWord()); }
  // Stores a level position; the kind, byte 1 and the definition stay.
  void SetPosition(int x, int y, int level_x);
  void SetDefinition(unsigned zo);
};

// ---- Banana group records (4 bytes: word 0 = bit 0, shape bits 1-9, y units bits 10-15;
//      word 2 = bits 0-1, x bits 2-15) ----

// Highest level x and y a banana group can be stored at.
constexpr int kQBR1BananaXMax = 0x3FFF;
constexpr int kQBR1BananaYMax = 8 * 0x3F;

// One stored banana group record, byte for byte.
struct QBR1RawBanana {
  std::array<unsigned char, 4> bytes{};

  unsigned Word0() const { return bytes[0] | (bytes[1] << 8); }
  unsigned Word2() const { return bytes[2] | (bytes[3] << 8); }
  int Shape() const { return static_cast<int>(Word0() & 0x3FE); }
  int X() const { return static_cast<int>(Word2() >> 2); }
  int Y() const { return 8 * static_cast<int>(Word0() >> 10); }
  // Stores level x (0-0x3FFF) and level y (rounded down to 8 pixels, 0-0x1F8);
  // the shape, bit 0 of word 0 and bits 0-1 of word 2 stay.
  void SetPosition(int x, int y);
};

// ---- Tile map entries (bits 0-13 tile, 14 horizontal mirror, 15 vertical mirror) ----

struct QBR1TileEntry {
  int tile = 0;
  bool hflip = false;
  bool vflip = false;

  static QBR1TileEntry FromWord(unsigned word) {
    return {static_cast<int>(word & 0x3FFF), (word & 0x4000) != 0, (word & 0x8000) != 0};
  }
  unsigned Word() const {
    return (static_cast<unsigned>(tile) & 0x3FFF) | (hflip ? 0x4000u : 0u) | (vflip ? 0x8000u : 0u);
  }
  bool operator==(const QBR1TileEntry&) const = default;
};

// File offset of the map entry of column `col`, row `row` of the level's
// (first) map; -1 outside the level.
long long QBR1_MapEntryOffset(const leveldata& lvl, int col, int row);

// The level whose picture shows its map over a second one, stored size + 0x200
// bytes after it.
constexpr int kQBR1TwoMapLevel = 0x27;
// File offset of the entry the level shows at column `col`, row `row`: its
// map's, except where level 0x27's map holds none there and the second map
// does (the view, the status line and a pick show and take what is seen); -1
// outside the level.
long long QBR1_ShownEntryOffset(const leveldata& lvl, int col, int row);
// Where `word` is written into that cell so that the cell shows the change:
// the level's map (drawn on top), except that clearing a cell (word 0) of
// level 0x27 clears the entry it shows, the second map's where its map holds none.
long long QBR1_EntryOffsetToWrite(const leveldata& lvl, int col, int row, unsigned word);

// ---- Lists ----

// The records of the object list at `offset` up to its end record (at most
// kQBR1MaxObjectRecords).
std::vector<QBR1RawObject> QBR1_ReadRawObjects(const RomView& rom, long long offset);
// The groups of the banana list at `offset` up to its end record (at most kQBR1MaxBananaGroups).
std::vector<QBR1RawBanana> QBR1_ReadRawBananas(const RomView& rom, long long offset);

// The bytes the object walk reads of an end record (its kind byte), and of a
// banana end record (its shape word).
constexpr std::size_t kQBR1ObjectEndBytes = 1;
constexpr std::size_t kQBR1BananaEndBytes = 2;
