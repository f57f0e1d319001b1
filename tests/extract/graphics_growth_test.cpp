#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bfa/bfa.h"
#include "codec/char_codec.h"
#include "demo/demo_image.h"
#include "extract/character_palette.h"
#include "extract/import.h"
#include "level/character_sheet.h"
#include "level/ex_gfx_QBR1.h"
#include "level/graphics_space.h"
#include "level/leveldata.h"
#include "level/png_indexed.h"
#include "platform/config_lock.h"
#include "rom/globaldata.h"
#include "rom/image_edits.h"
#include "platform/allegro_include.h"
#include "tests/common/headless_allegro.h"
#include "tests/extract/extract_support.h"

// Graphics that may grow: on the demo image, which declares the pointers of archetypes 0 and 6 and
// a Graphics range, a sheet that no longer fits its place moves there in one undo step.

namespace {

using namespace extract_test;
using Bytes = std::vector<unsigned char>;

class GraphicsGrowthTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartHeadlessAllegro());
    SetConfig(demo_.config);
    saved_offsets_ = qbr1gbl;
    ReadGlobalOffsets(qbr1gbl);
    saved_image_.assign(QBR1.begin(), QBR1.end());
    QBR1.assign(demo_.rom.begin(), demo_.rom.end());
    QBR1_ResetEdits(demo_.rom, 0);
  }
  void TearDown() override {
    QBR1_ResetEdits({}, 0);
    QBR1.assign(saved_image_.begin(), saved_image_.end());
    qbr1gbl = saved_offsets_;
    SetConfig("");
  }
  static void SetConfig(const std::string& text) {
    ConfigGuard guard;
    set_config_data(text.data(), static_cast<int>(text.size()));
  }
  // Archetype a's characters with every fifth byte changed: far too many changes for the place they have.
  static Bytes Changed(int a) {
    for (const DemoArchetype& d : demo_.archetypes)
      if (d.archetype == a) {
        Bytes chars = d.characters;
        for (std::size_t i = 0; i < chars.size(); i += 5) chars[i] ^= 0x5A;
        return chars;
      }
    return {};
  }
  // Writes the sheet of `chars` for archetype a, coloured as the extraction colours it, into the folder.
  std::string WriteSheet(int a, const Bytes& chars) {
    char name[32];
    std::snprintf(name, sizeof name, "gfx-0x%02X.png", a);
    const fs::path path = folder_.path() / name;
    WriteFile(path, QBR1_IndexedPngBytes(QBR1_CharacterSheet(chars), QBR1_CharacterSheetPalette(a), true));
    return path.string();
  }
  static const DemoArchetype& Archetype(int a) {
    for (const DemoArchetype& d : demo_.archetypes)
      if (d.archetype == a) return d;
    return demo_.archetypes.front();
  }

  static inline const DemoImage demo_ = BuildDemoImage(1);
  TempFolder folder_{"graphics-growth"};
  std::vector<char> saved_image_;
  globaldata saved_offsets_;
};

TEST_F(GraphicsGrowthTest, TheDemoDeclaresPointersThatNameItsGraphics) {
  int declared = 0;
  for (const DemoArchetype& d : demo_.archetypes) {
    if (d.pointer < 0) continue;
    ++declared;
    EXPECT_EQ(QBR1_GraphicsPointerAt(d.archetype), d.pointer);
    EXPECT_EQ(demo_.rom[d.pointer] | demo_.rom[d.pointer + 1] << 8 | demo_.rom[d.pointer + 2] << 16, 0xC00000 + d.gfx);
  }
  EXPECT_EQ(declared, 2);
  EXPECT_EQ(demo_.freeGraphics.size(), 1u);
  EXPECT_EQ(QBR1_CheckGraphicsSpace(CurrentRom()), std::vector<std::string>{});
}

TEST_F(GraphicsGrowthTest, ASheetThatDoesNotFitMovesToDeclaredSpaceAndUndoRestoresEveryByte) {
  const DemoArchetype& a0 = Archetype(0);
  const Bytes chars = Changed(0);
  const std::vector<ImportLine> lines = QBR1_ImportFiles({WriteSheet(0, chars)});
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_FALSE(lines[0].refused) << lines[0].outcome;
  EXPECT_NE(lines[0].outcome.find(", moved from 0x158FC0; pointer at 0x17F000)"), std::string::npos) << lines[0].outcome;
  EXPECT_EQ(QBR1_UndoCount(), 1u);

  // Read back from the bytes Save writes: the pointer names a place in the declared range that
  // holds the sheet's characters; nothing else changed.
  const Bytes saved = QBR1_SavedFileBytes();
  const long at = (saved[a0.pointer] | saved[a0.pointer + 1] << 8 | saved[a0.pointer + 2] << 16) - 0xC00000L;
  ASSERT_GE(at, demo_.freeGraphics[0].first);
  ASSERT_LE(at, demo_.freeGraphics[0].last);
  Bytes decoded;
  const CharBlockEnd end = QBR1_DecompressCharacters(saved.data() + at, saved.size() - static_cast<std::size_t>(at), decoded);
  EXPECT_TRUE(end.complete);
  EXPECT_EQ(decoded, chars);
  EXPECT_LE(at + static_cast<long>(end.length) - 1, demo_.freeGraphics[0].last);
  for (std::size_t i = 0; i < saved.size(); ++i)
    if (saved[i] != demo_.rom[i]) {
      const bool moved = static_cast<long>(i) >= at && static_cast<long>(i) < at + static_cast<long>(end.length);
      const bool pointer = static_cast<long>(i) >= a0.pointer && static_cast<long>(i) < a0.pointer + 3;
      ASSERT_TRUE(moved || pointer) << "byte " << i << " changed";
    }

  // The level shows the new characters: its graphics are read through the pointer.
  leveldata lvl;
  Get_QBR1_LevelDataStruct(0x16, lvl);
  EXPECT_EQ(lvl.tilegfx, at);
  Bytes shown;
  RE_QBR1_RawGFX(shown, lvl);
  EXPECT_EQ(shown, chars);

  // A second edit of the moved graphics that fits the new place stays there.
  Bytes again = chars;
  again[0] ^= 0x01;
  const std::vector<ImportLine> second = QBR1_ImportFiles({WriteSheet(0, again)});
  ASSERT_EQ(second.size(), 1u);
  EXPECT_FALSE(second[0].refused) << second[0].outcome;
  Get_QBR1_LevelDataStruct(0x16, lvl);
  shown.clear();
  RE_QBR1_RawGFX(shown, lvl);
  EXPECT_EQ(shown, again);

  int level = -1;
  ASSERT_TRUE(QBR1_Undo(&level));
  ASSERT_TRUE(QBR1_Undo(&level));
  EXPECT_TRUE(QBR1_SavedFileBytes() == demo_.rom);
  EXPECT_EQ(Get_QBR1_LevelGFXOffset(0), a0.gfx);
}

TEST_F(GraphicsGrowthTest, WithoutADeclarationTheRefusalNamesTheKeys) {
  const std::vector<ImportLine> lines = QBR1_ImportFiles({WriteSheet(7, Changed(7))});
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(lines[0].refused);
  EXPECT_EQ(lines[0].outcome.rfind("refused: needs ", 0), 0u) << lines[0].outcome;
  EXPECT_NE(lines[0].outcome.find("declaring [ThemeGraphicsPointer] 07 and [FreeSpace] Graphics in the game "
                                  "configuration lets it move"),
            std::string::npos)
      << lines[0].outcome;
  EXPECT_EQ(QBR1_UndoCount(), 0u);
  EXPECT_TRUE(QBR1_SavedFileBytes() == demo_.rom);
}

// What the check on open names: a Graphics range over something the program reads, and a pointer
// that names neither ThemeGraphics nor the declared space.
TEST_F(GraphicsGrowthTest, TheCheckOnOpenNamesWhatARangeOverlapsAndAStrayPointer) {
  struct Case {
    const char* graphics;
    long pointer_to;  // where archetype 0's pointer points, -1: as built
    const char* says;
  };
  const Case cases[] = {
      {"500000-5000FF", -1, "FreeSpace Graphics 0x500000-0x5000FF refused: it lies outside the image"},
      {"180000-1800FF, 180080-1801FF", -1, "refused: it overlaps FreeSpace Graphics 0x180080-0x1801FF"},
      {"3DC000-3DC0FF", -1, "refused: it overlaps FreeSpace Objects 0x3DC000-0x3DDFFF"},
      {"19A000-19AFFF", -1, "refused: it overlaps the tile set of archetype 0x00"},
      {"160100-16FFFF", -1, "refused: it overlaps part of the 8x8 graphics of archetype 0x06"},
      {"180000-18FFFF", 0x123456,
       "ThemeGraphicsPointer 00 at 0x17F000 points to 0x123456, not to ThemeGraphics 0x158FC0 nor into FreeSpace "
       "Graphics"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.graphics);
    {
      ConfigGuard guard;
      set_config_string("FreeSpace", "Graphics", c.graphics);
    }
    QBR1.assign(demo_.rom.begin(), demo_.rom.end());
    if (c.pointer_to >= 0) {
      const unsigned long address = 0xC00000ul + static_cast<unsigned long>(c.pointer_to);
      for (int k = 0; k < 3; ++k) QBR1[0x17F000 + k] = static_cast<char>(address >> (8 * k));
    }
    const std::vector<std::string> messages = QBR1_CheckGraphicsSpace(CurrentRom());
    ASSERT_FALSE(messages.empty());
    EXPECT_NE(messages.front().find(c.says), std::string::npos) << messages.front();
  }
}

}  // namespace
