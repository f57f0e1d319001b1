#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "demo/demo_image.h"
#include "level/free_space_config.h"
#include "level/free_space_report.h"
#include "level/list_pool.h"
#include "rom/globaldata.h"
#include "tests/level/level_support.h"

// The pool the object and banana lists may grow into: the places of the lists
// (each once), the declared free ranges, and the ranges refused at open.

namespace {

constexpr long kObjBank = 0x3D0000, kObjTable = 0x3D8000;
constexpr long kBnaIndex = 0x38B41D, kBnaTable = 0x38C0E1;

// A blank image with the default table offsets and a few lists: ids 1 and 2
// share object list A (3 records), id 3 has list B (1 record), every other id
// points at the empty list at the bank's start; bananas: ids 1 and 4 share
// group list C (2 groups) through one index, id 5 has list D (1 group) through
// another index that points at D too.
class ListPoolTest : public ::testing::Test {
 protected:
  static constexpr long kA = 0x3D9000, kB = 0x3D9100, kC = 0x38C300, kD = 0x38C400;

  void SetUp() override {
    ASSERT_TRUE(StartHeadlessAllegro());
    image.assign(0x400000, 0);
    ImageWriter w{image};
    for (int i = 0; i < 3; ++i) w.Byte(kA + 8 * i, 1 + i), w.Word(kA + 8 * i + 2, 0x100 * (i + 1));
    w.Byte(kB, 7);
    for (int id : {1, 2}) w.Word(kObjTable + 2 * id, kA & 0xFFFF);
    w.Word(kObjTable + 2 * 3, kB & 0xFFFF);
    for (int i = 0; i < 2; ++i) w.Word(kC + 4 * i, 0x0002 | (i << 10)), w.Word(kC + 4 * i + 2, (0x40 * (i + 1)) << 2);
    w.Word(kD, 0x0004);
    for (int id : {1, 4}) w.Byte(kBnaIndex + id, 1);
    w.Byte(kBnaIndex + 5, 2);
    w.Word(kBnaTable + 2, static_cast<unsigned>(kC - kBnaTable));
    w.Word(kBnaTable + 4, static_cast<unsigned>(kD - kBnaTable));
    w.Word(kBnaTable + 6, static_cast<unsigned>(kD - kBnaTable));  // an index no level uses
    LoadTestImage(image);
    UseGameConfigText("");
  }

  void TearDown() override {
    UseGameConfigText("");
    QBR1_LoadFreeSpace();
  }

  RomView Rom() const { return RomView(image.data(), image.size()); }

  std::vector<unsigned char> image;
};

TEST_F(ListPoolTest, SharedListsAreCountedOnceWithEveryPointerThatNamesThem) {
  const std::vector<ListPlace> objects = QBR1_ListPlaces(Rom(), qbr1gbl, ListKind::Objects);
  ASSERT_EQ(objects.size(), 3u);
  EXPECT_EQ(objects[0].offset, kObjBank);  // the empty list of every other id: its kind byte
  EXPECT_EQ(objects[0].bytes, 1);
  EXPECT_EQ(objects[0].ids.size(), 227u);
  EXPECT_EQ(objects[1].offset, kA);
  EXPECT_EQ(objects[1].records, 3u);
  EXPECT_EQ(objects[1].bytes, 25);
  EXPECT_EQ(objects[1].ids, (std::vector<int>{1, 2}));
  EXPECT_EQ(objects[1].pointers, (std::vector<long long>{kObjTable + 2, kObjTable + 4}));
  EXPECT_EQ(objects[2].Range(), (ByteRange{kB, kB + 8}));

  const std::vector<ListPlace> bananas = QBR1_ListPlaces(Rom(), qbr1gbl, ListKind::Bananas);
  ASSERT_EQ(bananas.size(), 3u);
  EXPECT_EQ(bananas[0].offset, kBnaTable);  // index 0 points at the table's own first word, which ends a list
  EXPECT_EQ(bananas[1].offset, kC);
  EXPECT_EQ(bananas[1].bytes, 2 * 4 + 2);
  EXPECT_EQ(bananas[1].ids, (std::vector<int>{1, 4}));
  EXPECT_EQ(bananas[1].pointers, (std::vector<long long>{kBnaTable + 2}));  // one index, one word
  EXPECT_EQ(bananas[2].pointers, (std::vector<long long>{kBnaTable + 4}));   // only words a level uses

  const ListPool pool = QBR1_BuildListPool(objects, {{0x3DA000, 0x3DA0FF}, {0x3DA100, 0x3DA10F}});
  EXPECT_EQ(pool.Size(), 1 + 25 + 9 + 0x110);
  EXPECT_EQ(pool.ranges.back(), (ByteRange{0x3DA000, 0x3DA10F}));  // ranges that touch are one run
  EXPECT_EQ(QBR1_PoolBytesInUse(pool, objects), 1 + 25 + 9);
  EXPECT_EQ(QBR1_ListPointerValue(qbr1gbl, ListKind::Objects, 0x3DA000), 0xA000u);
  EXPECT_EQ(QBR1_ListPointerValue(qbr1gbl, ListKind::Bananas, kD), static_cast<unsigned>(kD - kBnaTable));
}

TEST_F(ListPoolTest, FreeRunsLeaveOutEveryListButTheOneThatMoves) {
  const std::vector<ListPlace> objects = QBR1_ListPlaces(Rom(), qbr1gbl, ListKind::Objects);
  const ListPool pool = QBR1_BuildListPool(objects, {{0x3DA000, 0x3DA01F}});
  EXPECT_EQ(QBR1_FreeRuns(pool, objects), (std::vector<ByteRange>{{0x3DA000, 0x3DA01F}}));
  const std::vector<ByteRange> free = QBR1_FreeRuns(pool, objects, kA);
  EXPECT_EQ(free, (std::vector<ByteRange>{{kA, kA + 24}, {0x3DA000, 0x3DA01F}}));
  struct Case {
    long long bytes, at;
  };
  for (const Case& c : {Case{1, kA}, Case{25, kA}, Case{26, 0x3DA000}, Case{32, 0x3DA000}, Case{33, -1}}) {
    EXPECT_EQ(QBR1_FirstFit(free, c.bytes), c.at) << c.bytes << " bytes";
  }
}

TEST_F(ListPoolTest, DeclaredRangesThatAPointerCannotReachOrThatOverlapAreRefusedByName) {
  struct Case {
    const char* config;
    std::vector<ByteRange> objects, bananas;  // accepted
    std::vector<std::string> refused;         // what each message names, in order
  };
  const Case cases[] = {
      {"Objects = 3DA000-3DA0FF, 3DB000-3DB00F\nBananas = 38E000-38E0FF", {{0x3DA000, 0x3DA0FF}, {0x3DB000, 0x3DB00F}},
       {{0x38E000, 0x38E0FF}}, {}},
      {"Objects = 3E0000-3E00FF", {}, {}, {"Objects 3E0000-3E00FF refused: the object pointers cannot reach it"}},
      {"Objects = 3DFF00-3E00FF", {}, {}, {"Objects 3DFF00-3E00FF refused: the object pointers cannot reach it"}},
      {"Bananas = 39C000-39C0FF", {}, {}, {"Bananas 39C000-39C0FF refused: the banana pointers cannot reach it"}},
      {"Objects = 3D8100-3D81FF", {}, {}, {"Objects 3D8100-3D81FF refused: it overlaps the object map pointer table"}},
      {"Bananas = 38C0E0-38C0E1", {}, {}, {"Bananas 38C0E0-38C0E1 refused: the banana pointers cannot reach it"}},
      {"Bananas = 38C0E1-38C0FF", {}, {}, {"Bananas 38C0E1-38C0FF refused: it overlaps the banana pointer table"}},
      {"Objects = 3D9018-3D9020", {}, {}, {"Objects 3D9018-3D9020 refused: it overlaps the object list of level 0x01"}},
      {"Bananas = 38C409-38C4FF", {}, {{0x38C409, 0x38C4FF}}, {}},  // just past list D's end word
      {"Bananas = 38C405-38C4FF", {}, {}, {"Bananas 38C405-38C4FF refused: it overlaps the banana list of level 0x05"}},
      {"Objects = 3DA000-3DA0FF, 3DA080-3DA17F",
       {},
       {},
       {"Objects 3DA000-3DA0FF refused: it overlaps the declared range Objects 3DA080-3DA17F",
        "Objects 3DA080-3DA17F refused: it overlaps the declared range Objects 3DA000-3DA0FF"}},
      {"Objects = 3DA000-3DA0FF, zz, 3DB000-3DAFFF", {{0x3DA000, 0x3DA0FF}}, {}, {"Objects \"zz\" refused"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config);
    UseGameConfigText(std::string("[FreeSpace]\n") + c.config + "\n");
    const std::vector<std::string> refusals = QBR1_LoadFreeSpace();
    ASSERT_EQ(refusals.size(), c.refused.size());
    for (std::size_t i = 0; i < refusals.size(); ++i) {
      EXPECT_NE(refusals[i].find(c.refused[i]), std::string::npos) << refusals[i];
    }
    EXPECT_EQ(QBR1_FreeSpace().objects, c.objects);
    EXPECT_EQ(QBR1_FreeSpace().bananas, c.bananas);
  }
}

// Every block the decoders read, placed in a list bank by the configuration
// (or by the image's own pointers), refuses a declared range over it by name;
// a range that holds lists of its kind whole, as after a save, is accepted.
TEST_F(ListPoolTest, ADeclaredRangeOverAnyBlockTheDecodersReadIsRefusedByName) {
  ImageWriter w{image};
  w.Word(0x3DE400, 0xE804);                 // level 0's camera record at 3DE800
  w.Word(0x3DEA00, 0xEB00);                 // name 0 at 3DEB00: "Ab"
  w.Byte(0x3DEB00, 'A'), w.Byte(0x3DEB01, 0xE2);
  w.Long(0x3DEC00, 0xC00000 + 0x3DF000);    // archetype 0's tile maps from 3DF000
  w.Word(0x38D633, 0x100);                  // banana shape 2 at 38D731: 2 x 3 cells
  w.Byte(0x38D731, 2), w.Byte(0x38D732, 3);
  w.Word(0x350000, 0x8100), w.Word(0x350002, 1), w.Word(0x350004, 0x8000);  // definition 0000: animation 1
  w.Word(0x3E8574, 0x9000);                 // animation 1's script: sprite 8 first
  w.Byte(0x3E9000, 0), w.Word(0x3E9001, 8);
  w.Word(0x3BCCA4, 0xD800), w.Word(0x3BCCA6, 0x00FD);  // sprite 8's data at 3DD800: one small part
  w.Byte(0x3DD801, 1);
  LoadTestImage(image);
  struct Case {
    const char* config;
    const char* declared;
    const char* overlaps;  // "" when accepted
  };
  const char* camera = "[Global_Offsets]\nLevelCamDataBank = 3D0000\nLevelCamDataPtrTable = E400\n";
  const char* names = "[Global_Offsets]\nLevelNameBank = 3D0000\nLevelNamePtrTable1 = E900\nLevelNamePtrTable2 = EA00\n";
  const char* stack = "[Global_Offsets]\nLevelStackPtrTable = 3DEC00\n";
  const Case cases[] = {
      {"[Global_Offsets]\nThemeFuncPtrTable = 3DE000\n", "Objects = 3DE100-3DE1FF", "theme table"},
      {camera, "Objects = 3DE400-3DE401", "camera pointer table"},
      {camera, "Objects = 3DE802-3DE8FF", "camera record of level 0x00"},
      {names, "Objects = 3DE9E0-3DE9EF", "name index table"},
      {names, "Objects = 3DEA01-3DEA01", "name pointer table"},
      {names, "Objects = 3DEB01-3DEB0F", "name of level 0x00"},
      {names, "Objects = 3DEB02-3DEB0F", ""},
      {"[Global_Offsets]\nThemePaletteBank = 3D0000\n", "Objects = 3DA2D0-3DA2FF", "palette of level 0x00"},
      {stack, "Objects = 3DEC01-3DEC01", "tile map base table"},
      {stack, "Objects = 3DF0F0-3DF1FF", "tile map of level 0x00"},
      {"[ThemeTileSet]\n00 = 3DC000\n", "Objects = 3DC100-3DC1FF", "tile set of archetype 0"},
      {"[ThemeGraphics]\n00 = 3DD000\n", "Objects = 3DD080-3DD0FF", "graphics of archetype 0"},
      {"[ThemeGraphics]\n00 = 3DD000\n", "Objects = 3DD081-3DD0FF", ""},  // a stream of zeros ends after 129 bytes
      {"", "Objects = 3D8000-3D80FF", "object map pointer table"},
      {"", "Objects = 3DD829-3DD8FF", "sprite data of definition 0000"},
      {"", "Objects = 3DD82A-3DD8FF", ""},
      {"[OBJs_DefinePalette]\n0000 = E000\n[Global_Offsets]\nObjectPaletteBank = 3D0000\n", "Objects = 3DE01D-3DE0FF",
       "object palette of definition 0000"},
      {"", "Bananas = 38C0E1-38C0E2", "banana pointer table"},
      {"", "Bananas = 38D630-38D632", "banana shape pointer table"},
      {"", "Bananas = 38D731-38D731", "banana shape 0x002"},
      {"", "Bananas = 38D732-38D7FF", "banana shape 0x002"},
      {"[Global_Offsets]\nBananaGraphics = 38E000\n", "Bananas = 38E100-38E1FF", "banana graphics"},
      {"[Global_Offsets]\nBananaPalette = 38F000\n", "Bananas = 38F01D-38F0FF", "banana palette"},
      {"", "Objects = 3D9010-3D90FF", "object list of level 0x01"},  // list A lies partly outside
      {"", "Objects = 3D9000-3D91FF", ""},                           // lists A and B lie wholly inside
      {"", "Bananas = 38C300-38C3FF", ""},                           // list C wholly inside
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.config) + c.declared);
    UseGameConfigText(std::string(c.config) + "[FreeSpace]\n" + c.declared + "\n");
    const std::vector<std::string> refusals = QBR1_LoadFreeSpace();
    if (*c.overlaps == '\0') {
      EXPECT_TRUE(refusals.empty()) << refusals.front();
      EXPECT_EQ(QBR1_FreeSpace().objects.size() + QBR1_FreeSpace().bananas.size(), 1u);
      continue;
    }
    ASSERT_EQ(refusals.size(), 1u);
    EXPECT_NE(refusals[0].find(std::string("refused: it overlaps the ") + c.overlaps + " ("), std::string::npos)
        << refusals[0];
    EXPECT_TRUE(QBR1_FreeSpace().objects.empty() && QBR1_FreeSpace().bananas.empty());
  }
}

// A list moved into a declared range and saved: the range still holds it, the
// figures are those of the session, and the place it left is a candidate only.
TEST_F(ListPoolTest, AListMovedIntoDeclaredSpaceKeepsTheFiguresAndLeavesACandidateGap) {
  UseGameConfigText("[FreeSpace]\nObjects = 3DA000-3DA0FF\n");
  ASSERT_TRUE(QBR1_LoadFreeSpace().empty());
  std::ostringstream before;
  QBR1_WriteFreeSpaceReport(before, Rom(), qbr1gbl, QBR1_FreeSpace());
  EXPECT_EQ(FreeSpaceFigure(before.str(), "Objects", "pool"), 1 + 25 + 9 + 0x100);
  EXPECT_EQ(FreeSpaceFigure(before.str(), "Objects", "largest free run"), 0x100);

  // List B (level 3) grown to 3 records in the declared range, as the editor moves it.
  ImageWriter w{image};
  for (int i = 0; i < 3; ++i) w.Byte(0x3DA000 + 8 * i, 7 + i);
  w.Word(kObjTable + 2 * 3, 0xA000);
  LoadTestImage(image);
  ASSERT_TRUE(QBR1_LoadFreeSpace().empty());
  std::ostringstream after;
  QBR1_WriteFreeSpaceReport(after, Rom(), qbr1gbl, QBR1_FreeSpace());
  EXPECT_EQ(FreeSpaceFigure(after.str(), "Objects", "pool"), 1 + 25 + 0x100);
  EXPECT_EQ(FreeSpaceFigure(after.str(), "Objects", "in use"), 1 + 25 + 25);
  EXPECT_EQ(FreeSpaceFigure(after.str(), "Objects", "largest free run"), 0x100 - 25);
  // Between the lists: the bank's start up to the pointer table, after it up to
  // list A, and after A up to B's new place, which holds B's old one.
  EXPECT_EQ(QBR1_UnreachedGaps(Rom(), qbr1gbl, ListKind::Objects, QBR1_FreeSpace()),
            (std::vector<ByteRange>{{kObjBank + 1, kObjTable - 1}, {kObjTable + 2 * 230, kA - 1}, {kA + 25, 0x3D9FFF}}));
  const std::vector<std::string> lines = SplitLines(after.str());
  char line[112];
  std::snprintf(line, sizeof line,
                "  candidate only, not declared: %06lX-%06X (%ld bytes between lists that no pointer reaches)", kA + 25,
                0x3D9FFF, 0x3DA000 - kA - 25);
  EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << after.str();
}

TEST(FreeRangeParsing, ReadsHexRangesAndNamesTheFirstBadItem) {
  struct Case {
    const char* text;
    bool ok;
    std::vector<ByteRange> ranges;
    const char* bad;
  };
  const Case cases[] = {
      {"", true, {}, ""},
      {"3DA000-3DA0FF", true, {{0x3DA000, 0x3DA0FF}}, ""},
      {" 0x3da000 - 3DA0ff ,3DB000-3DB000 ", true, {{0x3DA000, 0x3DA0FF}, {0x3DB000, 0x3DB000}}, ""},
      {"3DA0FF-3DA000, 10-20", false, {{0x10, 0x20}}, "3DA0FF-3DA000"},
      {"3DA000", false, {}, "3DA000"},
      {"3DA000-3DG000, -5", false, {}, "3DA000-3DG000"},
  };
  for (const Case& c : cases) {
    std::vector<ByteRange> out;
    std::string bad;
    EXPECT_EQ(QBR1_ParseFreeRanges(c.text, out, bad), c.ok) << c.text;
    EXPECT_EQ(out, c.ranges) << c.text;
    EXPECT_EQ(bad, c.bad) << c.text;
  }
}

// The figures --free-space prints for the demo image, from the builder's own description.
TEST(FreeSpaceReport, TheDemoImageFiguresMatchItsDescription) {
  ASSERT_TRUE(StartHeadlessAllegro());
  const DemoImage demo = BuildDemoImage(1);
  LoadTestImage(demo.rom);
  UseGameConfigText(demo.config);
  EXPECT_TRUE(QBR1_LoadFreeSpace().empty());
  ASSERT_EQ(QBR1_FreeSpace().objects.size(), demo.freeObjects.size());
  ASSERT_EQ(QBR1_FreeSpace().bananas.size(), demo.freeBananas.size());

  std::ostringstream out;
  QBR1_WriteFreeSpaceReport(out, CurrentRom(), qbr1gbl, QBR1_FreeSpace());
  for (bool objects : {true, false}) {
    const char* section = objects ? "Objects" : "Bananas";
    const DemoFreeSpaceFigures want = DemoFreeSpace(demo, objects);
    EXPECT_EQ(FreeSpaceFigure(out.str(), section, "pool"), want.pool) << section;
    EXPECT_EQ(FreeSpaceFigure(out.str(), section, "in use"), want.in_use) << section;
    EXPECT_EQ(FreeSpaceFigure(out.str(), section, "largest free run"), want.largest) << section;
  }
  const std::vector<std::string> lines = SplitLines(out.str());

  // The zeros between the declared object ranges are a candidate, never declared, never used.
  const std::vector<ByteRange> candidates = QBR1_FreeSpaceCandidates(CurrentRom(), qbr1gbl, ListKind::Objects,
                                                                     QBR1_FreeSpace());
  const ByteRange between{demo.freeObjects[0].last + 1, demo.freeObjects[1].first - 1};
  EXPECT_NE(std::find(candidates.begin(), candidates.end(), between), candidates.end());
  for (const ByteRange& c : candidates) {
    EXPECT_GE(c.Size(), 256);
    for (const DemoRange& d : demo.freeObjects) EXPECT_FALSE(c.Meets({d.first, d.last}));
  }
  char line[96];
  std::snprintf(line, sizeof line, "  candidate only, not declared: %06llX-%06llX (%lld bytes of 00)", between.first,
                between.last, between.Size());
  EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << out.str();
  UseGameConfigText("");
  QBR1_LoadFreeSpace();
}

}  // namespace
