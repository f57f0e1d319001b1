#pragma once

#include <vector>

#include "level/list_pool.h"
#include "level/rom_access.h"
#include "rom/globaldata.h"

// Every table and data block the level decoders read from the image, named
// for messages: the level tables, each level's camera record, name (up to its
// end mark, at most 64 bytes), palette and tile map (level 0x27's second map
// too), the tile map base table, each archetype's tile set and graphics, the
// banana shape pointer table and the shapes the banana lists use, the banana
// graphics and palette, and for the object definitions the lists use their
// palettes, animation table entries, sprite pointers and sprite data. The
// object and banana lists themselves are not among them (QBR1_ListPlaces).

// The blocks of `rom` that meet one of `windows`, each once (the first level
// or definition that reads it names it), in no particular order. Level records
// are read from `rom` through the game configuration in force; a graphics
// stream is decompressed only when it may reach a window.
std::vector<NamedRange> QBR1_ReadBlocksMeeting(const RomView& rom, const globaldata& g,
                                               const std::vector<ByteRange>& windows);
