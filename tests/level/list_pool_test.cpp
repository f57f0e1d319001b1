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
