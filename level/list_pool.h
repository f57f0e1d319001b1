#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "level/rom_access.h"
#include "rom/globaldata.h"

// Where the levels' object and banana lists lie, and the pool of bytes they
// may grow into: the places the lists use (each list once, however many level
// ids share it) and the free ranges the game configuration declares, which may
// hold lists of their kind. Pure functions over an image and its table offsets.

enum class ListKind { Objects, Bananas };

// Bytes `first` to `last` of the image, both included.
struct ByteRange {
  long long first = 0;
  long long last = -1;

  long long Size() const { return last - first + 1; }
  bool Meets(const ByteRange& o) const { return first <= o.last && o.first <= last; }
  bool operator==(const ByteRange&) const = default;
};

// One stored list and the pointer words that name it.
struct ListPlace {
  long long offset = 0;
  std::size_t records = 0;
  long long bytes = 0;              // its records and the bytes of its end record the walk reads
  std::vector<int> ids;             // level ids whose list this is, ascending
  std::vector<long long> pointers;  // file offsets of the pointer words that hold `offset`, ascending

  ByteRange Range() const { return {offset, offset + bytes - 1}; }
};

// Size of one record, and the bytes of an end record the walks read (the
// kind byte of an object, the shape word of a banana group).
long long QBR1_ListRecordSize(ListKind kind);
long long QBR1_ListEndBytes(ListKind kind);
// "object" or "banana", for messages.
const char* QBR1_ListKindName(ListKind kind);

// The 64 KiB a list's pointer word can reach: the object map bank, or the
// window of the banana pointer table's relative words.
ByteRange QBR1_ListReach(const globaldata& g, ListKind kind);
// The pointer word that places a list at `offset` (inside the reach).
unsigned QBR1_ListPointerValue(const globaldata& g, ListKind kind, long long offset);

// Every list of levels 0-229 in `rom`, one entry per offset, sorted by offset.
std::vector<ListPlace> QBR1_ListPlaces(const RomView& rom, const globaldata& g, ListKind kind);

// A table of the level table, named for messages.
struct NamedRange {
  std::string name;
  ByteRange range;
};
// The tables that locate the levels' data (theme, camera, name, object and
// banana pointer tables), as far as levels 0-229 use them.
std::vector<NamedRange> QBR1_LevelTables(const RomView& rom, const globaldata& g);

// The free ranges declared for both kinds of list.
struct FreeSpaceDeclaration {
  std::vector<ByteRange> objects;
  std::vector<ByteRange> bananas;

  std::vector<ByteRange>& Of(ListKind kind) { return kind == ListKind::Objects ? objects : bananas; }
  const std::vector<ByteRange>& Of(ListKind kind) const { return kind == ListKind::Objects ? objects : bananas; }
};

// Drops every declared range that lies outside the image or its kind's reach,
// or overlaps a block the decoders read (QBR1_ReadBlocksMeeting), a list it
// does not hold whole (or any list of the other kind) or another declared
// range, and returns one message naming each range refused and what it meets.
std::vector<std::string> QBR1_CheckFreeSpace(const RomView& rom, const globaldata& g, FreeSpaceDeclaration& decl);

// Merged, ascending ranges of bytes.
struct ListPool {
  std::vector<ByteRange> ranges;

  long long Size() const;
  // The range of the pool that holds `offset`, or an empty range.
  ByteRange RunAt(long long offset) const;
};

// The pool of one kind: the places of `lists` and the declared ranges. Built
// from the lists of the image as it is, its free bytes are the same before a
// save and after the saved file opens again.
ListPool QBR1_BuildListPool(const std::vector<ListPlace>& lists, const std::vector<ByteRange>& declared);

// The runs of the pool that no list of `lists` uses; the list at `except`
// (when not -1) counts as not there.
std::vector<ByteRange> QBR1_FreeRuns(const ListPool& pool, const std::vector<ListPlace>& lists, long long except = -1);
// Bytes of the pool some list of `lists` uses.
long long QBR1_PoolBytesInUse(const ListPool& pool, const std::vector<ListPlace>& lists);
// The lowest offset of `free` where `bytes` bytes fit, or -1.
long long QBR1_FirstFit(const std::vector<ByteRange>& free, long long bytes);

// The gaps between consecutive lists of the kind that no pointer reaches and no
// decoder block, list or declared range uses (places earlier moves freed):
// candidates the user may declare.
std::vector<ByteRange> QBR1_UnreachedGaps(const RomView& rom, const globaldata& g, ListKind kind,
                                          const FreeSpaceDeclaration& decl);
// Runs of at least `min_run` equal bytes inside the kind's reach that no
// decoder block, list (of either kind), declared range or unreached gap uses:
// candidates the user may declare. The program never stores a list there
// unless they are declared.
std::vector<ByteRange> QBR1_FreeSpaceCandidates(const RomView& rom, const globaldata& g, ListKind kind,
                                                const FreeSpaceDeclaration& decl, long long min_run = 256);
