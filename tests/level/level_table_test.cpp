#include <gtest/gtest.h>

#include "level/leveldata.h"
#include "rom/globaldata.h"
#include "tests/level/level_support.h"

namespace {

constexpr long kNameIndex = 0x38A07A, kNamePtrs = 0x38A1E2, kThemes = 0x39801E, kStack = 0x18B94;
constexpr long kCamPtrs = 0x3C8000, kObjPtrs = 0x3D8000, kBnaIndex = 0x38B41D, kBnaPtrs = 0x38C0E1;

const char* const kConfig =
    "[ThemeArchetype]\n0222 = 03\n0333 = 05\n"
    "[ThemePalette]\n0222 = 1234\n"
    "[ArchetypeSequencing]\n03 = 01\n"
    "[ThemeGraphics]\n03 = 111111\n"
    "[ThemeTileSet]\n03 = 222222\n";

class LevelTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    image.assign(0x400000, 0);
    UseGameConfigText(kConfig);
  }
  void Load() { LoadTestImage(image); }
  // Level id with theme word, archetype's stack entry and camera record at `record`.
  void PutLevel(int id, unsigned theme, long record, unsigned start, unsigned end) {
    w.Word(kThemes + 2 * id, theme);
    w.Word(kCamPtrs + 2 * id, static_cast<unsigned>(record + 4 - 0x3C0000));
    w.Word(record, start);
    w.Word(record + 2, end);
  }
  std::vector<unsigned char> image;
  ImageWriter w{image};
};

TEST_F(LevelTableTest, VerticalLevelRecordFromEveryTable) {
  PutLevel(0x30, 0x0222, 0x3C9000, 0x0100, 0x0D00);
  w.Long(kStack + 3 * 3, 0xC45678);
  w.Byte(kStack + 3 * 3 + 3, 0xFF);  // the next entry's byte: a long pointer has only three
  w.Word(kObjPtrs + 2 * 0x30, 0x9ABC);
  w.Byte(kBnaIndex + 0x30, 7);
  w.Word(kBnaPtrs + 2 * 7, 0x0123);
  Load();
  leveldata lvl;
  Get_QBR1_LevelDataStruct(0x30, lvl);
  EXPECT_EQ(lvl.ID, 0x30);
  EXPECT_EQ(lvl.archetype, 3);
  EXPECT_EQ(lvl.sequencing, 1);
  EXPECT_EQ(lvl.x, 0x100);
  EXPECT_EQ(lvl.tilemap, 0x45678 + 0x100);
  EXPECT_EQ(lvl.tileset, 0x222222);
  EXPECT_EQ(lvl.tilegfx, 0x111111);
  EXPECT_EQ(lvl.palette, 0x390000 + 0x1234);
  EXPECT_EQ(lvl.objects, 0x3D9ABC);
  EXPECT_EQ(lvl.bananas, 0x38C0E1 + 0x123);
  EXPECT_EQ(lvl.size, 0xD00);
  EXPECT_EQ(lvl.tile_w, 64);
  EXPECT_EQ(lvl.tile_h, 0xD00 / 128);
  EXPECT_EQ(lvl.backmap | lvl.backgfx | lvl.foremap | lvl.foregfx | lvl.physmap, 0);
}

TEST_F(LevelTableTest, SizesOfHorizontalAndVerticalLevels) {
  struct Case {
    unsigned theme;
    unsigned start, end;
    int size, tile_w, tile_h;
  };
  const Case cases[] = {
      {0x0333, 0x0400, 0x0400, 256, 8, 16},  // end == start: one screen, horizontal
      {0x0333, 0x0000, 0x0F00, 0x1000, 128, 16},
      {0x0222, 0x0000, 0x0F00, 0x1000, 64, 32},  // vertical: 64 wide whatever the size
      {0x0222, 0x0000, 0x0000, 256, 64, 2},
  };
  for (const Case& c : cases) {
    PutLevel(0x10, c.theme, 0x3C9100, c.start, c.end);
    Load();
    leveldata lvl;
    Get_QBR1_LevelDataStruct(0x10, lvl);
    EXPECT_EQ(lvl.size, c.size) << std::hex << c.theme << " " << c.end;
    EXPECT_EQ(lvl.tile_w, c.tile_w) << std::hex << c.theme << " " << c.end;
    EXPECT_EQ(lvl.tile_h, c.tile_h) << std::hex << c.theme << " " << c.end;
  }
}

TEST_F(LevelTableTest, Levels27And2ESwapObjectAndBananaMapsOnly) {
  PutLevel(0x27, 0x0333, 0x3C9200, 0x10, 0x20);
  PutLevel(0x2E, 0x0333, 0x3C9210, 0x30, 0x40);
  w.Word(kObjPtrs + 2 * 0x27, 0x1111);
  w.Word(kObjPtrs + 2 * 0x2E, 0x2222);
  w.Byte(kBnaIndex + 0x27, 1);
  w.Byte(kBnaIndex + 0x2E, 2);
  w.Word(kBnaPtrs + 2, 0x0100);
  w.Word(kBnaPtrs + 4, 0x0200);
  w.Byte(kNameIndex + 0x27, 1);
  w.Word(kNamePtrs + 2, 0xB000);
  w.Byte(0x38B000, 0xE1);
  Load();
  leveldata a, b;
  Get_QBR1_LevelDataStruct(0x27, a);
  Get_QBR1_LevelDataStruct(0x2E, b);
  EXPECT_EQ(a.objects, 0x3D2222);
  EXPECT_EQ(a.bananas, 0x38C0E1 + 0x200);
  EXPECT_EQ(b.objects, 0x3D1111);
  EXPECT_EQ(b.bananas, 0x38C0E1 + 0x100);
  EXPECT_EQ(a.x, 0x10);
  EXPECT_EQ(b.x, 0x30);
  EXPECT_EQ(a.name, "a");
  EXPECT_EQ(Get_QBR1_LevelObjectMap(0x27), 0x3D1111);
}

TEST_F(LevelTableTest, MissingKeysGiveTheDefaults) {
  PutLevel(0x05, 0x0999, 0x3C9300, 0, 0);
  Load();
  leveldata lvl;
  Get_QBR1_LevelDataStruct(0x05, lvl);
  EXPECT_EQ(lvl.archetype, 0);
  EXPECT_EQ(lvl.sequencing, 0);
  EXPECT_EQ(lvl.palette, 0x390000 + 0xA1DC);
  EXPECT_EQ(lvl.tilegfx, 0x158FC0);
  EXPECT_EQ(lvl.tileset, 0x19A3C0);
}

TEST_F(LevelTableTest, NamesEndOnlyAtTheirMarkedLastCharacter) {
  struct Case {
    std::vector<unsigned> bytes;
    std::string expected;
  };
  const Case cases[] = {
      {{'A', 'b', 0xE3}, "Abc"},
      {{'X', 0xD2, 'Y'}, "XR"},
      {{'a', 0xD3, 'b', 0xE1},
       "a\xD3"
       "ba"},
      {{0xFB, 0xFF, 0xE0, 0xFA}, "\xFB\xFF\xE0z"},
      {{0xD1, 0xC1, 0x80, 0xE1},
       "\xD1\xC1\x80"
       "a"},
      {{0x00, 0xE1}, std::string("\0a", 2)},
  };
  w.Byte(kNameIndex + 9, 4);
  w.Word(kNamePtrs + 8, 0xB000);
  for (const Case& c : cases) {
    for (std::size_t i = 0; i < c.bytes.size(); ++i) w.Byte(0x38B000 + static_cast<long>(i), c.bytes[i]);
    Load();
    EXPECT_EQ(Get_QBR1_LevelName(9), c.expected);
  }
}

TEST_F(LevelTableTest, NameWithoutLastCharacterEndsAtTheEndOfTheImage) {
  image.resize(0x38B003);
  w.Byte(kNameIndex + 9, 4);
  w.Word(kNamePtrs + 8, 0xB000);
  w.Byte(0x38B000, 'a'), w.Byte(0x38B001, 'b'), w.Byte(0x38B002, 'c');
  Load();
  EXPECT_EQ(Get_QBR1_LevelName(9), "abc");
}

TEST_F(LevelTableTest, TablesReadPastTheEndOfAShortImageGiveZero) {
  image.resize(0x20000);
  w.Long(kStack, 0xC12345);
  Load();
  leveldata lvl;
  Get_QBR1_LevelDataStruct(0x16, lvl);
  // The camera pointer lies past the end: a zero word puts the record at 0x3BFFFC, also past the end.
  EXPECT_EQ(lvl.x, 0);
  EXPECT_EQ(lvl.size, 256);
  EXPECT_EQ(lvl.tilemap, 0x12345);
  EXPECT_EQ(lvl.name, "");
  EXPECT_EQ(lvl.objects, 0x3D0000);
  EXPECT_EQ(lvl.bananas, 0x38C0E1);
}

}  // namespace
