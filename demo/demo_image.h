#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "codec/char_codec.h"

// A picture in 32-bit colours (0xAARRGGBB); 0x00FF00FF is transparent.
struct DemoPicture {
  int w = 0;
  int h = 0;
  std::vector<std::uint32_t> pixels;  // row by row

  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * w + x]; }
};

// One banana group as placed in the level.
struct DemoBananaGroup {
  int x = 0;  // level x in pixels
  int y = 0;  // level y in pixels (a multiple of 8)
  int columns = 0;
  int rows = 0;
  std::vector<bool> cells;  // cell (c, r) at c * rows + r; true holds a banana

  bool Cell(int c, int r) const { return cells[static_cast<std::size_t>(c) * rows + r]; }
};

// One object as the level view should show it.
struct DemoObject {
  int x = 0;              // level x of the reference point
  int y = 0;              // level y of the reference point
  int zo = 0;             // object definition address (bank 0x35)
  int ani = 0;            // animation number the definition script gives (0 when none)
  int spr = 0;            // sprite drawn, after the configuration's override (0 when none)
  int pal = 0;            // file offset of the palette drawn with, after overrides
  bool compound = false;  // drawn as a labelled marker
  bool flipped = false;   // "OBJs_DisplayFlipped"
  std::string name;       // "OBJs_Names0001"
  DemoPicture sprite;     // the sprite in its palette, unmirrored (empty when spr is 0)
  int refX = 0;           // reference point inside `sprite`
  int refY = 0;
};

// One level as built: what the decoders should find for its id.
struct DemoLevel {
  int id = 0;
  std::string name;
  int archetype = 0;
  int sequencing = 0;
  int x = 0;  // camera start
  int tile_w = 0;
  int tile_h = 0;
  int size = 0;
  long paletteOffset = 0;                // file offset of its 128 colours
  long mapOffset = 0;                    // file offset of its first map entry
  std::vector<std::uint16_t> map;        // entry of column c, row r at r * tile_w + c
  std::vector<std::uint16_t> underMap;   // level 0x27 only: the map drawn underneath
  std::array<std::uint16_t, 128> palette{};  // the level's 128 colours as stored
  std::vector<DemoPicture> tiles;        // tile t as the level's colours show it
  std::vector<DemoBananaGroup> bananas;  // sorted by x
  std::vector<DemoObject> objects;       // sorted by x

  std::uint16_t MapAt(int c, int r) const { return map[static_cast<std::size_t>(r) * tile_w + c]; }
};

// One archetype's graphics as built.
struct DemoArchetype {
  int archetype = 0;
  long gfx = 0;                           // file offset of the characters as stored (compressed unless plain)
  long pointer = -1;                      // file offset of the 3-byte pointer to them ([ThemeGraphicsPointer]), or -1
  std::vector<unsigned char> characters;  // the 8x8 characters, 32 bytes each, as decompression should give them
  std::vector<std::uint16_t> tileWords;   // the tile definitions as stored, 16 words per tile
};

// Bytes first to last (both included) of the image.
struct DemoRange {
  long first = 0;
  long last = 0;
};

// The seed of the demo image `--demo` opens; GameConfig/QBR Demo.INI holds its configuration text.
inline constexpr unsigned kDemoImageSeed = 1;

// The synthetic image, its game configuration and the description of both.
struct DemoImage {
  std::vector<unsigned char> rom;                          // 4 MiB, tables at the default offsets
  std::string config;                                      // game configuration text (Allegro configuration format)
  std::vector<DemoLevel> levels;                           // in increasing id order
  std::vector<DemoArchetype> archetypes;                   // the archetypes the levels use, ascending
  std::array<std::array<DemoPicture, 8>, 5> bananaFrames;  // set n, frame i, unmirrored
  CharCompressionStats compression;                        // summed over the compressed archetypes
  std::vector<DemoRange> freeObjects;                      // free space declared for object lists ([FreeSpace])
  std::vector<DemoRange> freeBananas;                      // free space declared for banana lists
  std::vector<DemoRange> freeGraphics;                     // free space declared for graphics that grow

  // The built level with this id, or nullptr.
  const DemoLevel* Level(int id) const;
};

// Size of the demo image.
constexpr std::size_t kDemoImageSize = 0x400000;
// Name every level that was not built carries.
extern const char* const kDemoUnbuiltName;

// Builds the demo image from seed: the same seed always gives the same bytes.
DemoImage BuildDemoImage(std::uint32_t seed);
