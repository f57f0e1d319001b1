#pragma once

#include <cstddef>
#include <vector>

#include "level/list_pool.h"
#include "level/rom_access.h"

// Room for the open image's object and banana lists: what a list may hold
// where it lies, and where it goes when it needs more. The pool is the places
// the lists use in the image as it is now, edits included, and the declared
// free space (QBR1_FreeSpace): a place a list moved out of leaves the pool, as
// it would after a save (QBR1_UnreachedGaps names it as a candidate).

// The file as opened, without its copier header (the loaded image when no
// opened file is kept).
RomView OpenedImageView();

// Records the list at `offset` may hold without moving: what it holds now
// (`records_now`) or, when the file as opened had a list of this kind there,
// what that list held; cut short where the pool ends or another list begins.
std::size_t HeldRecords(ListKind kind, long long offset, std::size_t records_now);

// Where a list now at `offset` that needs `bytes` bytes can be stored.
struct ListGrowth {
  long long offset = -1;            // the lowest place in the pool where it fits (its own counts free); -1: none
  long long missing = 0;            // when none fits: bytes the largest free place lacks
  std::vector<long long> pointers;  // the pointer words that hold `offset` now (every level id using the list)
};
ListGrowth PlanListGrowth(ListKind kind, long long offset, long long bytes);
