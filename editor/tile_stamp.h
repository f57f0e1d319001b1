#pragma once

#include <vector>

#include "level/level_records.h"

struct leveldata;

// A rectangle of map cells, columns c0..c1 and rows r0..r1 inclusive.
struct CellRect {
  int c0 = 0, r0 = 0, c1 = 0, r1 = 0;

  // The rectangle spanned by two corner cells in any order.
  static CellRect Spanning(int ca, int ra, int cb, int rb);
  int Width() const { return c1 - c0 + 1; }
  int Height() const { return r1 - r0 + 1; }
  bool Contains(int c, int r) const { return c >= c0 && c <= c1 && r >= r0 && r <= r1; }
};

// The Tile Map tool's brush: one map entry, or a stamp of many laid out in rows.
struct TileStamp {
  int w = 1, h = 1;
  std::vector<QBR1TileEntry> cells{QBR1TileEntry{}};  // row by row, w * h entries

  // A stamp of one entry.
  static TileStamp Single(QBR1TileEntry entry);
  // The entries of the level's map in `rect` (cells outside the level read as entry 0).
  static TileStamp Capture(const leveldata& lvl, const CellRect& rect);

  const QBR1TileEntry& At(int c, int r) const { return cells[static_cast<std::size_t>(r) * w + c]; }
  // The entry that lands on cell (c, r) when the stamp repeats from cell (ac, ar).
  const QBR1TileEntry& Tiled(int c, int r, int ac, int ar) const;
  // Mirrors the stamp left-right (H) or top-bottom (V): its layout and each entry's bit.
  void MirrorH();
  void MirrorV();
};

// Cells of the level's (first) map, and whether (c, r) lies inside it.
bool LevelHoldsCell(const leveldata& lvl, int c, int r);

// Writes the stamp, repeated from cell (ac, ar), into every cell of `rect` that
// lies in the level; returns how many cells changed. Part of the caller's edit.
int FillCells(const leveldata& lvl, const CellRect& rect, const TileStamp& stamp, int ac, int ar);

// Fills the 4-connected cells around (c, r) that hold the same entry as it,
// with the stamp repeated from (c, r); returns how many cells changed (0 when
// (c, r) lies outside the level).
int FloodFillCells(const leveldata& lvl, int c, int r, const TileStamp& stamp);
