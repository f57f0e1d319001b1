#include "level/list_pool.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "level/level_records.h"
#include "level/leveldata.h"
#include "level/read_blocks.h"

namespace {

long long Wide(unsigned long v) { return static_cast<long long>(v); }

std::string Hex6(long long v) {
  char text[24];
  std::snprintf(text, sizeof text, "%06llX", v);
  return text;
}

std::string RangeText(const ByteRange& r) { return Hex6(r.first) + "-" + Hex6(r.last); }

const char* KeyName(ListKind kind) { return kind == ListKind::Objects ? "Objects" : "Bananas"; }

// `ranges` sorted and joined where they meet or touch.
std::vector<ByteRange> Merged(std::vector<ByteRange> ranges) {
  std::sort(ranges.begin(), ranges.end(), [](const ByteRange& a, const ByteRange& b) { return a.first < b.first; });
  std::vector<ByteRange> out;
  for (const ByteRange& r : ranges) {
    if (r.Size() <= 0) continue;
    if (!out.empty() && r.first <= out.back().last + 1) {
      out.back().last = std::max(out.back().last, r.last);
    } else {
      out.push_back(r);
    }
  }
  return out;
}

// The parts of `from` that `taken` (merged, ascending) leaves.
std::vector<ByteRange> Subtract(const std::vector<ByteRange>& from, const std::vector<ByteRange>& taken) {
  std::vector<ByteRange> out;
  for (const ByteRange& r : from) {
    long long at = r.first;
    for (const ByteRange& t : taken) {
      if (t.last < at || t.first > r.last) continue;
      if (t.first > at) out.push_back({at, t.first - 1});
      at = std::max(at, t.last + 1);
    }
    if (at <= r.last) out.push_back({at, r.last});
  }
  return out;
}

long long OffsetOfObjects(const RomView& rom, const globaldata& g, int id, long long& pointer) {
  pointer = Wide(g.LvlOBJMapBank | g.LvlOBJMapTable) + 2LL * id;
  return Wide(rom.Word(pointer) | g.LvlOBJMapBank);
}

long long OffsetOfBananas(const RomView& rom, const globaldata& g, int id, long long& pointer) {
  pointer = Wide(g.LvlBNAMapTable2) + 2LL * rom.Byte(Wide(g.LvlBNAMapTable1) + id);
  return Wide(g.LvlBNAMapTable2) + rom.Word(pointer);
}

std::size_t RecordsAt(const RomView& rom, ListKind kind, long long offset) {
  return kind == ListKind::Objects ? QBR1_ReadRawObjects(rom, offset).size() : QBR1_ReadRawBananas(rom, offset).size();
}

std::string ListText(ListKind kind, const ListPlace& p) {
  char id[16];
  std::snprintf(id, sizeof id, "0x%02X", p.ids.empty() ? 0 : p.ids.front());
  return std::string("the ") + QBR1_ListKindName(kind) + " list of level " + id + " (" + RangeText(p.Range()) + ")";
}

}  // namespace

long long QBR1_ListRecordSize(ListKind kind) { return kind == ListKind::Objects ? 8 : 4; }

long long QBR1_ListEndBytes(ListKind kind) {
  return static_cast<long long>(kind == ListKind::Objects ? kQBR1ObjectEndBytes : kQBR1BananaEndBytes);
}

const char* QBR1_ListKindName(ListKind kind) { return kind == ListKind::Objects ? "object" : "banana"; }

ByteRange QBR1_ListReach(const globaldata& g, ListKind kind) {
  const long long base = kind == ListKind::Objects ? Wide(g.LvlOBJMapBank) : Wide(g.LvlBNAMapTable2);
  return {base, base + 0xFFFF};
}

unsigned QBR1_ListPointerValue(const globaldata& g, ListKind kind, long long offset) {
  return static_cast<unsigned>((offset - QBR1_ListReach(g, kind).first) & 0xFFFF);
}

std::vector<ListPlace> QBR1_ListPlaces(const RomView& rom, const globaldata& g, ListKind kind) {
  std::map<long long, ListPlace> places;
  for (int id = kQBR1FirstLevel; id <= kQBR1LastLevel; ++id) {
    long long pointer = 0;
    const long long offset = kind == ListKind::Objects ? OffsetOfObjects(rom, g, id, pointer)
                                                       : OffsetOfBananas(rom, g, id, pointer);
    ListPlace& p = places[offset];
    if (p.ids.empty()) {
      p.offset = offset;
      p.records = RecordsAt(rom, kind, offset);
      p.bytes = static_cast<long long>(p.records) * QBR1_ListRecordSize(kind) + QBR1_ListEndBytes(kind);
    }
    p.ids.push_back(id);
    if (std::find(p.pointers.begin(), p.pointers.end(), pointer) == p.pointers.end()) p.pointers.push_back(pointer);
  }
  std::vector<ListPlace> out;
  for (auto& [offset, p] : places) {
    std::sort(p.pointers.begin(), p.pointers.end());
    out.push_back(std::move(p));
  }
  return out;
}

std::vector<NamedRange> QBR1_LevelTables(const RomView& rom, const globaldata& g) {
  const int levels = kQBR1LastLevel - kQBR1FirstLevel + 1;
  const long long nameIndex = Wide(g.LvlNameBank | g.LvlNameTable1);
  unsigned lastName = 0, lastBanana = 0;
  for (int id = kQBR1FirstLevel; id <= kQBR1LastLevel; ++id) {
    lastName = std::max(lastName, rom.Byte(nameIndex + id));
    lastBanana = std::max(lastBanana, rom.Byte(Wide(g.LvlBNAMapTable1) + id));
  }
  auto at = [](long long first, long long bytes) { return ByteRange{first, first + bytes - 1}; };
  return {
      {"theme table", at(Wide(g.ThemeFuncTable), 2LL * levels)},
      {"camera pointer table", at(Wide(g.LvlCamBank | g.LvlCamTable), 2LL * levels)},
      {"name index table", at(nameIndex, levels)},
      {"name pointer table", at(Wide(g.LvlNameBank | g.LvlNameTable2), 2LL * (lastName + 1))},
      {"object map pointer table", at(Wide(g.LvlOBJMapBank | g.LvlOBJMapTable), 2LL * levels)},
      {"banana index table", at(Wide(g.LvlBNAMapTable1), levels)},
      {"banana pointer table", at(Wide(g.LvlBNAMapTable2), 2LL * (lastBanana + 1))},
  };
}

std::vector<std::string> QBR1_CheckFreeSpace(const RomView& rom, const globaldata& g, FreeSpaceDeclaration& decl) {
  const std::vector<ListPlace> lists[2] = {QBR1_ListPlaces(rom, g, ListKind::Objects),
                                           QBR1_ListPlaces(rom, g, ListKind::Bananas)};
  const FreeSpaceDeclaration all = decl;
  std::vector<ByteRange> windows = all.objects;
  windows.insert(windows.end(), all.bananas.begin(), all.bananas.end());
  const std::vector<NamedRange> blocks = QBR1_ReadBlocksMeeting(rom, g, windows);
  std::vector<std::string> refusals;
  for (ListKind kind : {ListKind::Objects, ListKind::Bananas}) {
    std::vector<ByteRange> kept;
    const std::vector<ByteRange>& mine = all.Of(kind);
    for (std::size_t i = 0; i < mine.size(); ++i) {
      const ByteRange& r = mine[i];
      const ByteRange reach = QBR1_ListReach(g, kind);
      std::string why;
      if (r.first < 0 || r.last >= static_cast<long long>(rom.Size())) {
        why = "it lies outside the image";
      } else if (r.first < reach.first || r.last > reach.last) {
        why = std::string("the ") + QBR1_ListKindName(kind) + " pointers cannot reach it (they reach " +
              RangeText(reach) + ")";
      }
      for (const NamedRange& t : blocks) {
        if (why.empty() && r.Meets(t.range)) why = "it overlaps the " + t.name + " (" + RangeText(t.range) + ")";
      }
      // A list of its own kind wholly inside belongs to the pool (where a list
      // moved into it lies after a save); any other list it meets would be
      // overwritten by a list that grows into it.
      for (ListKind other : {ListKind::Objects, ListKind::Bananas}) {
        for (const ListPlace& p : lists[other == ListKind::Objects ? 0 : 1]) {
          const bool inside = other == kind && p.offset >= r.first && p.Range().last <= r.last;
          if (why.empty() && r.Meets(p.Range()) && !inside) why = "it overlaps " + ListText(other, p);
        }
      }
      for (ListKind other : {ListKind::Objects, ListKind::Bananas}) {
        const std::vector<ByteRange>& theirs = all.Of(other);
        for (std::size_t j = 0; j < theirs.size(); ++j) {
          if (why.empty() && !(other == kind && j == i) && r.Meets(theirs[j])) {
            why = std::string("it overlaps the declared range ") + KeyName(other) + " " + RangeText(theirs[j]);
          }
        }
      }
      if (why.empty()) {
        kept.push_back(r);
      } else {
        refusals.push_back(std::string("FreeSpace ") + KeyName(kind) + " " + RangeText(r) + " refused: " + why);
      }
    }
    decl.Of(kind) = std::move(kept);
  }
  return refusals;
}

long long ListPool::Size() const {
  long long n = 0;
  for (const ByteRange& r : ranges) n += r.Size();
  return n;
}

ByteRange ListPool::RunAt(long long offset) const {
  for (const ByteRange& r : ranges) {
    if (offset >= r.first && offset <= r.last) return r;
  }
  return {};
}

ListPool QBR1_BuildListPool(const std::vector<ListPlace>& lists, const std::vector<ByteRange>& declared) {
  std::vector<ByteRange> all = declared;
  for (const ListPlace& p : lists) all.push_back(p.Range());
  return {Merged(std::move(all))};
}

std::vector<ByteRange> QBR1_FreeRuns(const ListPool& pool, const std::vector<ListPlace>& lists, long long except) {
  std::vector<ByteRange> used;
  for (const ListPlace& p : lists) {
    if (p.offset != except) used.push_back(p.Range());
  }
  return Subtract(pool.ranges, Merged(std::move(used)));
}

long long QBR1_PoolBytesInUse(const ListPool& pool, const std::vector<ListPlace>& lists) {
  long long free = 0;
  for (const ByteRange& r : QBR1_FreeRuns(pool, lists)) free += r.Size();
  return pool.Size() - free;
}

long long QBR1_FirstFit(const std::vector<ByteRange>& free, long long bytes) {
  for (const ByteRange& r : free) {
    if (r.Size() >= bytes) return r.first;
  }
  return -1;
}

namespace {

// What no list may be stored over: the blocks the decoders read in the kind's
// reach, the lists of both kinds and the declared ranges, merged.
std::vector<ByteRange> TakenInReach(const RomView& rom, const globaldata& g, ListKind kind,
                                    const FreeSpaceDeclaration& decl) {
  std::vector<ByteRange> used;
  for (const NamedRange& t : QBR1_ReadBlocksMeeting(rom, g, {QBR1_ListReach(g, kind)})) used.push_back(t.range);
  for (ListKind k : {ListKind::Objects, ListKind::Bananas}) {
    for (const ListPlace& p : QBR1_ListPlaces(rom, g, k)) used.push_back(p.Range());
    for (const ByteRange& r : decl.Of(k)) used.push_back(r);
  }
  return Merged(std::move(used));
}

std::vector<ByteRange> GapsBetweenLists(const RomView& rom, const globaldata& g, ListKind kind,
                                        const std::vector<ByteRange>& taken) {
  std::vector<ByteRange> between;
  const std::vector<ListPlace> lists = QBR1_ListPlaces(rom, g, kind);
  const ByteRange reach = QBR1_ListReach(g, kind);
  for (std::size_t i = 1; i < lists.size(); ++i) {
    const ByteRange gap{lists[i - 1].Range().last + 1, lists[i].offset - 1};
    if (gap.Size() > 0 && gap.first >= reach.first && gap.last <= reach.last) between.push_back(gap);
  }
  return Subtract(between, taken);
}

}  // namespace

std::vector<ByteRange> QBR1_UnreachedGaps(const RomView& rom, const globaldata& g, ListKind kind,
                                          const FreeSpaceDeclaration& decl) {
  return GapsBetweenLists(rom, g, kind, TakenInReach(rom, g, kind, decl));
}

std::vector<ByteRange> QBR1_FreeSpaceCandidates(const RomView& rom, const globaldata& g, ListKind kind,
                                                const FreeSpaceDeclaration& decl, long long min_run) {
  std::vector<ByteRange> used = TakenInReach(rom, g, kind, decl);
  for (const ByteRange& gap : GapsBetweenLists(rom, g, kind, used)) used.push_back(gap);
  used = Merged(std::move(used));
  const ByteRange reach = QBR1_ListReach(g, kind);
  const long long last = std::min(reach.last, static_cast<long long>(rom.Size()) - 1);
  std::vector<ByteRange> out;
  for (long long at = reach.first; at <= last;) {
    long long end = at;
    while (end + 1 <= last && rom.Byte(end + 1) == rom.Byte(at)) ++end;
    if (end - at + 1 >= min_run) {
      for (const ByteRange& piece : Subtract({{at, end}}, used)) {
        if (piece.Size() >= min_run) out.push_back(piece);
      }
    }
    at = end + 1;
  }
  return out;
}
