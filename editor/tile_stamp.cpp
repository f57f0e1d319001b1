#include "editor/tile_stamp.h"

#include <algorithm>

#include "level/leveldata.h"
#include "level/rom_access.h"
#include "rom/image_edits.h"

namespace {

constexpr long long kMaxFloodCells = 1 << 22;

int Mod(int v, int m) { return ((v % m) + m) % m; }

// Writes `entry` into cell (c, r) where the cell shows it; true when the word changed.
bool WriteCell(const leveldata& lvl, int c, int r, const QBR1TileEntry& entry) {
  const long long at = QBR1_EntryOffsetToWrite(lvl, c, r, entry.Word());
  if (at < 0 || QBR1_Word(at) == entry.Word()) return false;
  return QBR1_WriteWord(static_cast<std::size_t>(at), static_cast<unsigned short>(entry.Word()));
}

}  // namespace

CellRect CellRect::Spanning(int ca, int ra, int cb, int rb) {
  return {std::min(ca, cb), std::min(ra, rb), std::max(ca, cb), std::max(ra, rb)};
}

TileStamp TileStamp::Single(QBR1TileEntry entry) { return {1, 1, {entry}}; }

TileStamp TileStamp::Capture(const leveldata& lvl, const CellRect& rect) {
  TileStamp s{rect.Width(), rect.Height(), {}};
  s.cells.reserve(static_cast<std::size_t>(s.w) * s.h);
  for (int r = rect.r0; r <= rect.r1; ++r) {
    for (int c = rect.c0; c <= rect.c1; ++c) {
      const long long at = QBR1_ShownEntryOffset(lvl, c, r);
      s.cells.push_back(at < 0 ? QBR1TileEntry{} : QBR1TileEntry::FromWord(QBR1_Word(at)));
    }
  }
  return s;
}

const QBR1TileEntry& TileStamp::Tiled(int c, int r, int ac, int ar) const { return At(Mod(c - ac, w), Mod(r - ar, h)); }

void TileStamp::MirrorH() {
  for (int r = 0; r < h; ++r) {
    std::reverse(cells.begin() + static_cast<std::ptrdiff_t>(r) * w, cells.begin() + static_cast<std::ptrdiff_t>(r + 1) * w);
  }
  for (QBR1TileEntry& e : cells) e.hflip = !e.hflip;
}

void TileStamp::MirrorV() {
  for (int r = 0; r < h / 2; ++r) {
    std::swap_ranges(cells.begin() + static_cast<std::ptrdiff_t>(r) * w, cells.begin() + static_cast<std::ptrdiff_t>(r + 1) * w,
                     cells.begin() + static_cast<std::ptrdiff_t>(h - 1 - r) * w);
  }
  for (QBR1TileEntry& e : cells) e.vflip = !e.vflip;
}

bool LevelHoldsCell(const leveldata& lvl, int c, int r) { return c >= 0 && r >= 0 && c < lvl.tile_w && r < lvl.tile_h; }

int FillCells(const leveldata& lvl, const CellRect& rect, const TileStamp& stamp, int ac, int ar) {
  const int c0 = std::max(rect.c0, 0), r0 = std::max(rect.r0, 0);
  const int c1 = std::min(rect.c1, lvl.tile_w - 1), r1 = std::min(rect.r1, lvl.tile_h - 1);
  int changed = 0;
  for (int r = r0; r <= r1; ++r) {
    for (int c = c0; c <= c1; ++c) changed += WriteCell(lvl, c, r, stamp.Tiled(c, r, ac, ar));
  }
  return changed;
}

int FloodFillCells(const leveldata& lvl, int c, int r, const TileStamp& stamp) {
  if (!LevelHoldsCell(lvl, c, r) || QBR1_MapEntryOffset(lvl, c, r) < 0) return 0;
  const int w = lvl.tile_w, h = lvl.tile_h;
  // A level table can claim any size; a real map has far fewer cells than this.
  if (static_cast<long long>(w) * h > kMaxFloodCells) return 0;
  auto word = [&](int cc, int rr) { return QBR1_Word(QBR1_ShownEntryOffset(lvl, cc, rr)); };
  const unsigned target = word(c, r);
  // Collect the region first, then write: a stamp may hold the target entry itself.
  std::vector<unsigned char> seen(static_cast<std::size_t>(w) * h, 0);
  std::vector<int> todo{r * w + c}, region;
  seen[static_cast<std::size_t>(r) * w + c] = 1;
  while (!todo.empty()) {
    const int at = todo.back();
    todo.pop_back();
    region.push_back(at);
    const int cc = at % w, rr = at / w;
    const int next[4][2] = {{cc - 1, rr}, {cc + 1, rr}, {cc, rr - 1}, {cc, rr + 1}};
    for (const auto& n : next) {
      if (!LevelHoldsCell(lvl, n[0], n[1])) continue;
      const std::size_t i = static_cast<std::size_t>(n[1]) * w + n[0];
      if (seen[i] || QBR1_MapEntryOffset(lvl, n[0], n[1]) < 0 || word(n[0], n[1]) != target) continue;
      seen[i] = 1;
      todo.push_back(n[1] * w + n[0]);
    }
  }
  int changed = 0;
  for (int at : region) changed += WriteCell(lvl, at % w, at / w, stamp.Tiled(at % w, at / w, c, r));
  return changed;
}
