#pragma once

#include <string>
#include <vector>

#include "level/level_records.h"
#include "level/rom_access.h"
#include "rom/globaldata.h"

// What a record added by the editor is made from: an object's kind byte and
// byte 1 taken from a record of the image, and the banana shapes the image's
// groups use.

// Where the kind byte and byte 1 of a new object record come from.
struct ObjectTemplate {
  enum class Source {
    SameDefinition,  // a record of `level` with the same definition (the first in level-id order)
    LevelFirst,      // the first record of the level the object is added to
    Default,         // neither exists: kind 1, byte 1 0
  };
  Source source = Source::Default;
  int level = -1;  // the level id of the record copied (SameDefinition)
  unsigned char kind = 1;
  unsigned char extra = 0;
};

// The template for a new object of definition `zo` in a level whose records are `level_records`:
// the lists of levels 0-229 are searched in id order (the hidden ids left out).
ObjectTemplate QBR1_ObjectTemplate(const RomView& rom, const globaldata& g, unsigned zo,
                                   const std::vector<QBR1RawObject>& level_records);
// A new object record: the template's kind and byte 1, definition `zo`, at level point (x, y)
// of a level whose camera start is `level_x`.
QBR1RawObject QBR1_NewObject(const ObjectTemplate& t, unsigned zo, int x, int y, int level_x);
// What the status line says about where the template came from, e.g. "kind and byte 1 from level 0x05".
std::string QBR1_ObjectTemplateText(const ObjectTemplate& t);

// One banana shape the image's groups use.
struct BananaShapeUse {
  int shape = 0;         // the shape field (byte offset into the shape pointer table)
  long long offset = 0;  // file offset of the shape (columns, rows, bit grid)
  int columns = 0;
  int rows = 0;
  int bananas = 0;  // cells set in its grid
  int groups = 0;   // groups of the image's banana lists (each list once) that use it
};

// The shapes of every group of the image's banana lists, in increasing shape order.
std::vector<BananaShapeUse> QBR1_BananaShapesInUse(const RomView& rom, const globaldata& g);
// A new banana group of `shape` at level point (x, y): x in pixels, y rounded down to 8.
QBR1RawBanana QBR1_NewBananaGroup(int shape, int x, int y);
