#include <gtest/gtest.h>

#include "level/ex_gfx_QBR1.h"
#include "shell/base/functions.h"
#include "tests/level/level_support.h"

namespace {

using Bytes = std::vector<unsigned char>;

// A compressed block: 128 dictionary bytes (pair k = {k, 0x80 | k}) followed by the stream.
Bytes Block(const Bytes& stream) {
  Bytes b;
  for (int k = 0; k < 64; ++k)
    b.push_back(static_cast<unsigned char>(k)), b.push_back(static_cast<unsigned char>(0x80 | k));
  b.insert(b.end(), stream.begin(), stream.end());
  return b;
}

Bytes Decompress(const Bytes& block, bool plain = false) {
  Bytes out;
  QBR1_Decompress(RomView(block.data(), block.size()), 0, plain, out);
  return out;
}

TEST(DecompressTest, ControlForms) {
  struct Case {
    const char* what;
    Bytes stream;
    Bytes expected;
  };
  const Case cases[] = {
      {"literal run", {0x03, 1, 2, 3, 0}, {1, 2, 3}},
      {"fill", {0x44, 9, 0}, {9, 9, 9, 9}},
      {"fill of 0 consumes its operand", {0x40, 9, 0x01, 7, 0}, {7}},
      {"copy from the start", {0x02, 5, 6, 0x83, 0, 0, 0}, {5, 6, 5, 6, 5}},
      {"copy one behind the end repeats that byte", {0x02, 5, 6, 0x84, 1, 0, 0}, {5, 6, 6, 6, 6, 6}},
      {"overlapping copy repeats a pattern", {0x02, 1, 2, 0x85, 0, 0, 0}, {1, 2, 1, 2, 1, 2, 1}},
      {"copy of 0 consumes its position", {0x01, 4, 0x80, 0, 0, 0x01, 8, 0}, {4, 8}},
      {"dictionary pair, no operand", {0xC5, 0x01, 3, 0}, {5, 0x85, 3}},
      {"last dictionary pair", {0xFF, 0}, {63, 0xBF}},
      {"stream ends without marker", {0x01, 4}, {4}},
      {"literal run cut by the end of the data", {0x05, 1, 2}, {1, 2}},
      {"fill without its byte", {0x45}, {}},
      {"copy without its position", {0x01, 4, 0x82, 0}, {4}},
      {"copy source past the output", {0x01, 4, 0x83, 7, 0, 0x01, 9, 0}, {4}},
      {"copy source running out stops at the output's end", {0x01, 4, 0x82, 2, 0, 0}, {4}},
  };
  for (const Case& c : cases) EXPECT_EQ(Decompress(Block(c.stream)), c.expected) << c.what;
}

TEST(DecompressTest, DictionaryOutsideTheDataStopsTheStream) {
  const Bytes block = Block({0xC1, 0});
  Bytes out;
  // The stream starts inside the data but the dictionary would lie before its start.
  QBR1_Decompress(RomView(block.data() + 64, block.size() - 64), -64, false, out);
  EXPECT_TRUE(out.empty());
}

TEST(DecompressTest, RunawayStreamStopsAtTheCeiling) {
  Bytes stream;
  for (int i = 0; i < 20000; ++i) stream.push_back(0x7F), stream.push_back(1);
  const Bytes out = Decompress(Block(stream));
  EXPECT_EQ(out.size(), kQBR1MaxRawGFX);
}

TEST(DecompressTest, PlainArchetypesCopyTheirBlockWithoutDictionary) {
  Bytes data(0x9000);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<unsigned char>(i * 7);
  ASSERT_TRUE(StartHeadlessAllegro());
  LoadTestImage(data);
  for (int archetype : {12, 28}) {
    leveldata lvl;
    lvl.archetype = archetype;
    lvl.tilegfx = 0x10;
    Bytes out;
    RE_QBR1_RawGFX(out, lvl);
    ASSERT_EQ(out.size(), 33952u) << archetype;
    EXPECT_EQ(out.front(), data[0x10]);
    EXPECT_EQ(out.back(), data[0x10 + 33951]);
  }
  Bytes out;
  QBR1_Decompress(RomView(data.data(), 100), 10, true, out);
  EXPECT_EQ(out.size(), 90u);  // a plain block cut by the end of the image
}

// A level whose characters are plain (archetype 12 layout) is not usable for
// the adjustments, so these tests build compressed ones: every character is a
// literal run of 32 bytes.
class TilesTest : public ::testing::Test {
 protected:
  static constexpr long kGfx = 0x1000, kTiles = 0x18000, kPal = 0x20000;
  void SetUp() override {
    ASSERT_TRUE(StartHeadlessAllegro());
    image.assign(0x30000, 0);
    lvl.tilegfx = kGfx, lvl.tileset = kTiles, lvl.palette = kPal;
  }
  // Colour index of every pixel of character i as PutCharacters draws it.
  static int IndexOf(int i) { return i == 0 ? 0 : (i - 1) % 15 + 1; }
  // Characters 0..n-1, each of one colour index (IndexOf).
  void PutCharacters(int n) {
    Bytes raw;
    for (int i = 0; i < n; ++i) {
      const int idx = IndexOf(i);
      for (int b = 0; b < 32; ++b) {
        const int plane = (b & 1) + 2 * (b >= 16);
        raw.push_back((idx >> plane) & 1 ? 0xFF : 0x00);
      }
    }
    long at = kGfx + 128;
    for (std::size_t i = 0; i < raw.size(); i += 32) {
      w.Byte(at++, 32);
      for (int k = 0; k < 32; ++k) w.Byte(at++, raw[i + k]);
    }
    w.Byte(at, 0);
  }
  void PutColour(int entry, unsigned c) { w.Word(kPal + 2 * entry, c); }
  void SetWord(int tile, int k, unsigned v) { w.Word(kTiles + 32 * tile + 2 * k, v); }
  std::vector<BITMAP*> Build() {
    LoadTestImage(image);
    std::vector<BITMAP*> tiles;
    QBR1_FillTilesVector(tiles, lvl);
    return tiles;
  }
  static void Free(std::vector<BITMAP*>& tiles) {
    for (BITMAP*& b : tiles) Nullify(b);
    tiles.clear();
  }
  Bytes image;
  ImageWriter w{image};
  leveldata lvl;
};

TEST_F(TilesTest, CharacterNumberAdjustmentsByArchetype) {
  struct Case {
    int archetype;
    unsigned number;
    int shownIndex;  // colour index the tile's first pixel shows, 0 = transparent
  };
  // With 0x400 characters decoded every number is in range unless the adjustment moves it out.
  const Case cases[] = {
      {6, 0x000, 0},
      {6, 0x116, IndexOf(1)},
      {6, 0x114, 0},
      {6, 0x115, 0},
      {6, 0x3FF, IndexOf(0x3FF - 0x115)},
      {7, 0x354, IndexOf(0x354)},
      {7, 0x355, 0},
      {7, 0x3FF, 0},
      {0, 0x200, IndexOf(0x200)},
      {0, 0x3FF, IndexOf(0x3FF)},
  };
  PutCharacters(0x400);
  for (int i = 1; i < 16; ++i) PutColour(i, static_cast<unsigned>(i));  // red channel = index
  for (const Case& c : cases) {
    lvl.archetype = c.archetype;
    SetWord(0, 0, c.number);
    std::vector<BITMAP*> tiles = Build();
    ASSERT_EQ(tiles.size(), QBR1_Data_TISNumTiles[c.archetype]);
    const std::uint32_t expect =
        c.shownIndex == 0 ? kQBR1Transparent : QBR1_Colour(static_cast<unsigned>(c.shownIndex));
    EXPECT_EQ(Px(tiles[0], 0, 0), expect) << c.archetype << " " << std::hex << c.number;
    Free(tiles);
  }
}

TEST_F(TilesTest, NumbersBeyondTheDecodedCharactersBecomeCharacterZero) {
  PutCharacters(4);
  PutColour(1, 0x7FFF), PutColour(2, 0x001F), PutColour(3, 0x7C00);  // character 3: index 3
  SetWord(0, 0, 3);
  SetWord(0, 1, 4);
  SetWord(0, 2, 0x3FF);
  std::vector<BITMAP*> tiles = Build();
  EXPECT_EQ(Px(tiles[0], 0, 0), 0xFF0000F8u);  // character 3, colour 0x7C00
  EXPECT_EQ(Px(tiles[0], 8, 0), kQBR1Transparent);
  EXPECT_EQ(Px(tiles[0], 16, 0), kQBR1Transparent);
  Free(tiles);
}

TEST_F(TilesTest, PaletteEntryZeroIsTransparentAndColoursScaleByEight) {
  PutCharacters(2);
  for (int p = 0; p < 8; ++p) PutColour(16 * p, 0x7FFF);  // stored, yet never shown
  PutColour(16 * 5 + 1, 0x7FFF);
  SetWord(0, 0, 1 | (5 << 10));
  SetWord(0, 1, 0 | (5 << 10));
  std::vector<BITMAP*> tiles = Build();
  EXPECT_EQ(Px(tiles[0], 0, 0), 0xFFF8F8F8u);
  EXPECT_EQ(Px(tiles[0], 8, 0), kQBR1Transparent);
  Free(tiles);
  LoadTestImage(image);
  const std::vector<std::uint32_t> colours = QBR1_LevelColours(kPal);
  for (int i = 0; i < 256; ++i) {
    if (i % 16 == 0 || i >= 128) {
      EXPECT_EQ(colours[i], kQBR1Transparent) << i;
    }
  }
  EXPECT_EQ(colours[16 * 5 + 1], 0xFFF8F8F8u);
}

TEST_F(TilesTest, MirrorBitsFlipTheCharacterInItsCell) {
  // Character 1: only pixel (0, 0) set (index 1 in plane 0).
  long at = kGfx + 128;
  w.Byte(at++, 32);
  for (int b = 0; b < 32; ++b) w.Byte(at++, 0);
  w.Byte(at++, 32);
  w.Byte(at++, 0x80);
  for (int b = 1; b < 32; ++b) w.Byte(at++, 0);
  w.Byte(at, 0);
  PutColour(1, 0x001F);
  const unsigned words[4] = {0x0001, 0x4001, 0x8001, 0xC001};
  for (int k = 0; k < 4; ++k) SetWord(0, 5 * k, words[k]);  // cells (0,0) (1,1) (2,2) (3,3)
  std::vector<BITMAP*> tiles = Build();
  struct Case {
    int x, y;
  };
  const Case lit[] = {{0, 0}, {8 + 7, 8}, {16, 16 + 7}, {24 + 7, 24 + 7}};
  int count = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) count += Px(tiles[0], x, y) != kQBR1Transparent;
  EXPECT_EQ(count, 4);
  for (const Case& c : lit) EXPECT_EQ(Px(tiles[0], c.x, c.y), 0xFFF80000u) << c.x << "," << c.y;
  Free(tiles);
}

TEST_F(TilesTest, AllZeroDefinitionIsCharacterZeroWithPaletteZero) {
  PutCharacters(2);
  // Character 0 made visible: colour index 1 everywhere.
  long at = kGfx + 128;
  w.Byte(at++, 32);
  for (int b = 0; b < 32; ++b) w.Byte(at++, (b & 1) == 0 && b < 16 ? 0xFF : 0);
  w.Byte(at, 0);
  PutColour(1, 0x03E0);
  std::vector<BITMAP*> tiles = Build();
  for (int y = 0; y < 32; y += 7)
    for (int x = 0; x < 32; x += 7) EXPECT_EQ(Px(tiles[0], x, y), 0xFF00F800u);
  Free(tiles);
}

TEST_F(TilesTest, ArchetypeOutsideTheTableBuildsNoTiles) {
  PutCharacters(2);
  for (int archetype : {-1, 14, 255}) {
    lvl.archetype = archetype;
    std::vector<BITMAP*> tiles = Build();
    EXPECT_TRUE(tiles.empty()) << archetype;
  }
}

TEST_F(TilesTest, NothingDecodedGivesTransparentTiles) {
  SetWord(0, 0, 1);
  std::vector<BITMAP*> tiles = Build();
  ASSERT_EQ(tiles.size(), 586u);
  EXPECT_EQ(Px(tiles[0], 0, 0), kQBR1Transparent);
  Free(tiles);
}

TEST(BananaSpriteTest, SixteenBySixteenFromASheetSixteenCharactersWide) {
  ASSERT_TRUE(StartHeadlessAllegro());
  Bytes image(0x2000, 0);
  ImageWriter w{image};
  // Characters 0, 1, 16, 17 from 0x100: each fully set to index 1, 2, 3, 4 (planes 0 and 1 only).
  const int chars[4] = {0, 1, 16, 17};
  for (int q = 0; q < 4; ++q)
    for (int r = 0; r < 8; ++r) {
      w.Byte(0x100 + 32 * chars[q] + 2 * r, (q + 1) & 1 ? 0xFF : 0);
      w.Byte(0x100 + 32 * chars[q] + 2 * r + 1, (q + 1) & 2 ? 0xFF : 0);
      w.Byte(0x100 + 32 * chars[q] + 2 * r + 16, (q + 1) & 4 ? 0xFF : 0);
    }
  for (int i = 0; i < 15; ++i) w.Word(0x1000 + 2 * i, static_cast<unsigned>(i + 1));  // colour i+1: red i+1
  LoadTestImage(image);
  for (bool hflip : {false, true}) {
    BITMAP* b = RE_QBR1_16SpriteRaw_bmp(0x100, 0x1000, hflip);
    ASSERT_NE(b, nullptr);
    const int left = hflip ? 8 : 0, right = hflip ? 0 : 8;
    EXPECT_EQ(Px(b, left, 0), QBR1_Colour(1));
    EXPECT_EQ(Px(b, right, 0), QBR1_Colour(2));
    EXPECT_EQ(Px(b, left, 8), QBR1_Colour(3));
    EXPECT_EQ(Px(b, right + 7, 15), QBR1_Colour(4));
    Nullify(b);
  }
}

}  // namespace
