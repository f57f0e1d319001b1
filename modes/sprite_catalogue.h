#pragma once

#include <cstdint>
#include <map>
#include <vector>

// Which sprites the image holds and which palettes its objects draw them
// with: what the sprite viewer steps through.

// Sprite numbers are byte offsets into the pointer table, multiples of 4; 0 means no sprite.
constexpr int kFirstSpriteNumber = 4;
constexpr int kLastSpriteNumber = 0xFFFC;

// The sprite and palette an object shows after the configuration's overrides.
struct ObjectSpriteUse {
  int spr = 0;  // 0: the object shows no sprite
  int pal = 0;  // file offset of its 15 colours, 0 when none
};

// What object definition `zo` shows: its scripts, then the overrides.
ObjectSpriteUse QBR1_ObjectSprite(int zo);

// The first object of level `id` (in map order) that shows a sprite; spr 0 when none does.
ObjectSpriteUse QBR1_FirstObjectSprite(int id);

// The object palettes of level `id`: every palette its objects draw with
// (after overrides), in increasing file offset, each once.
std::vector<int> QBR1_LevelObjectPalettes(int id);

// Whether sprite n decodes to at least one visible pixel.
bool QBR1_SpriteGivesPixels(int n);

// The next sprite number after `from` (direction > 0) or before it (< 0)
// that gives pixels, within kFirstSpriteNumber..kLastSpriteNumber; -1 when none.
int QBR1_StepSprite(int from, int direction);

// The palettes the objects of every level draw each sprite with, in order of
// first use, and all object palettes in increasing offset.
struct SpritePaletteIndex {
  std::map<int, std::vector<int>> by_sprite;
  std::vector<int> all;

  // The palettes to cycle for sprite n: those used with it, else all of them.
  const std::vector<int>& For(int n) const;
};

// Walks every level's object map of the loaded image.
SpritePaletteIndex BuildSpritePaletteIndex();

// The palette after (step > 0) or before (step < 0) `current` in `list`,
// wrapping; the first of the list when `current` is not in it; `current` for an empty list.
int CyclePalette(const std::vector<int>& list, int current, int step);
