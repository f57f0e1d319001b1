#pragma once

#include <array>
#include <cstdint>
#include <vector>

// Procedural art of the demo image: characters, palettes, banana frames and
// sprite models, all as colour indexes (0 transparent) plus 15-bit colours.

// A small deterministic generator (xorshift32): the same seed, the same art on every platform.
class DemoRng {
 public:
  explicit DemoRng(std::uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  // A number in [0, n).
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }

 private:
  std::uint32_t state_;
};

using DemoChar = std::array<std::uint8_t, 64>;  // 8x8 colour indexes, row by row

// A 15-bit console colour from 5-bit channels.
constexpr std::uint16_t DemoColour(int r, int g, int b) {
  return static_cast<std::uint16_t>((r & 31) | (g & 31) << 5 | (b & 31) << 10);
}

// The look of a level: which colours its eight palettes hold.
enum class DemoTheme { Meadow, Castle, SkyTower, Crystal };

// The level's 128 colours (eight palettes of 16; entry 16p is never shown).
std::array<std::uint16_t, 128> DemoLevelPalette(DemoTheme theme);

// Characters shared by every archetype; the tile kinds below name them.
struct DemoCharSet {
  std::vector<DemoChar> chars;  // character n; 0 is empty
  int sky[12] = {};             // sky bands, top to bottom (palette 1)
  int cloud[4] = {};            // a 16x16 cloud over sky bands 5 and 6 (palette 1)
  int grass[4] = {};            // grass tops over sky (palette 0)
  int dirt[4] = {};             // earth (palette 0)
  int flower[2] = {};           // flowers over sky (palette 0)
  int brick[2] = {};            // brick wall (palette 2)
  int stone[4] = {};            // a bevelled 16x16 stone block (palette 0)
  int plank = 0;                // wooden plank row (palette 0)
  int waterTop = 0;             // water surface (palette 3)
  int water = 0;                // water body (palette 3)
};

// Draws the shared characters.
DemoCharSet DemoMakeChars(DemoRng& rng);

// A tile definition word: character number, palette, mirroring.
constexpr std::uint16_t DemoTileWord(int ch, int pal, bool h = false, bool v = false) {
  return static_cast<std::uint16_t>((ch & 0x3FF) | (pal & 7) << 10 | (h ? 0x4000 : 0) | (v ? 0x8000 : 0));
}

using DemoTileDef = std::array<std::uint16_t, 16>;  // word k: column k % 4, row k / 4

// Tile kinds every tile set begins with (index = tile number).
enum DemoTileKind {
  kTileEmpty,
  kTileSkyTop,
  kTileSkyMid,
  kTileSkyLow,
  kTileCloud,
  kTileGrass,
  kTileDirt,
  kTileBrick,
  kTileStone,
  kTilePlank,
  kTileWaterTop,
  kTileWater,
  kTileFlowers,
  kTileBrickDark,
  kTileKinds
};

// count tile definitions: the kinds above, then variants of them with other
// palettes and every mirror combination.
std::vector<DemoTileDef> DemoMakeTileSet(const DemoCharSet& cs, int count, DemoRng& rng);

// Banana graphic set n (0-4), frame i (0-7): 16x16 colour indexes.
std::array<std::uint8_t, 256> DemoBananaFrame(int set, int frame);
// The bananas' 15 colours (indexes 1-15).
std::array<std::uint16_t, 15> DemoBananaPalette();

// A sprite model: colour indexes on a w x h sheet with its reference point,
// cut into 16x16 large parts and two groups of 8x8 small parts.
struct DemoSpriteModel {
  int w = 0, h = 0;
  std::vector<std::uint8_t> pixels;  // row by row
  int refX = 0, refY = 0;
  struct Part {
    int x, y;  // top-left on the sheet
  };
  std::vector<Part> large, smallB, smallC;
};

enum class DemoSpriteKind { Snail, Totem, Bee, Crab };
DemoSpriteModel DemoMakeSprite(DemoSpriteKind kind);
// 15 colours for a sprite's palette, by variant.
std::array<std::uint16_t, 15> DemoSpritePalette(int variant);
