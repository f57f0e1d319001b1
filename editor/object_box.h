#pragma once

#include "editor/level_box.h"
#include "level/compsprite.h"

// How an object looks in the level view and the box it is drawn in: the one
// measure the object map draws by and the Objects tool hits and outlines by.

// What the scripts and the game configuration say about one object definition.
struct ObjectLook {
  int spr = 0;
  int pal = 0;
  bool compound = false;
  bool flipped = false;  // "OBJs_DisplayFlipped"
};

// Walks the scripts of definition zo and applies the configuration's overrides.
ObjectLook LookOfDefinition(int zo);

// The label of a compound object whose reference point is (x, y).
LevelBox CompoundLabelBox(int x, int y);

// The box an object of `look` with its reference point at (x, y) is drawn in:
// a compound object's label box; otherwise the bounds of `sprite` (its
// decoded sprite) placed as the drawing places it, mirrored about x with
// `flip`; for an object without sprite (nothing drawn), the 32x32 square just
// above the reference point, centred on it, where its tooltip shows.
LevelBox ObjectDrawnBox(const ObjectLook& look, const CompSprite* sprite, int x, int y, bool flip);

// ObjectDrawnBox for definition zo at (x, y), mirrored as configured and once
// more with `view_mirrored` (the view's F key). Sprite bounds are remembered
// per sprite until an undo, redo or new image.
LevelBox ObjectBox(int zo, int x, int y, bool view_mirrored);
