#include <gtest/gtest.h>

#include <map>
#include <tuple>
#include <vector>

#include "demo/demo_image.h"
#include "level/new_records.h"
#include "rom/globaldata.h"
#include "tests/level/level_support.h"

// What added records are made of: an object's kind and byte 1 copied from the
// first record of its definition in level-id order (else the level's first
// record), and the banana shapes the image's groups use.

namespace {

class NewRecordsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartHeadlessAllegro());
    demo = BuildDemoImage(1);
    UseGameConfigText(demo.config);
  }
  void TearDown() override { UseGameConfigText(""); }

  RomView Rom() const { return RomView(demo.rom.data(), demo.rom.size()); }
  long long ListOf(int id) const {
    const long long table = static_cast<long long>(qbr1gbl.LvlOBJMapBank | qbr1gbl.LvlOBJMapTable);
    return (demo.rom[table + 2 * id] | demo.rom[table + 2 * id + 1] << 8) | qbr1gbl.LvlOBJMapBank;
  }

  DemoImage demo;
};

TEST_F(NewRecordsTest, AnObjectTakesKindAndByteOneFromTheFirstRecordOfItsDefinition) {
  // Two built levels whose lists hold one definition: the lower id's record is marked.
  ASSERT_GE(demo.levels.size(), 2u);
  const DemoLevel& first = demo.levels[0];
  const DemoLevel& later = demo.levels[1];
  const int zo = first.objects[0].zo;
  const long long at = ListOf(first.id);
  ASSERT_EQ(demo.rom[at + 6] | demo.rom[at + 7] << 8, zo);
  demo.rom[at] = 0x3C;
  demo.rom[at + 1] = 0xA5;
  std::vector<QBR1RawObject> records = QBR1_ReadRawObjects(Rom(), ListOf(later.id));
  ASSERT_FALSE(records.empty());

  struct Case {
    unsigned zo;
    std::vector<QBR1RawObject> level;
    ObjectTemplate::Source source;
    int level_id, kind, extra;
  };
  const Case cases[] = {
      {static_cast<unsigned>(zo), records, ObjectTemplate::Source::SameDefinition, first.id, 0x3C, 0xA5},
      {0xFFF0, records, ObjectTemplate::Source::LevelFirst, -1, records[0].bytes[0], records[0].bytes[1]},
      {0xFFF0, {}, ObjectTemplate::Source::Default, -1, 1, 0},
  };
  for (const Case& c : cases) {
    const ObjectTemplate t = QBR1_ObjectTemplate(Rom(), qbr1gbl, c.zo, c.level);
    EXPECT_EQ(t.source, c.source) << c.zo;
    EXPECT_EQ(t.level, c.level_id) << c.zo;
    EXPECT_EQ(t.kind, c.kind) << c.zo;
    EXPECT_EQ(t.extra, c.extra) << c.zo;
  }
  const ObjectTemplate t = QBR1_ObjectTemplate(Rom(), qbr1gbl, static_cast<unsigned>(zo), records);
  char from[32];
  std::snprintf(from, sizeof from, "from level 0x%02X", first.id);
  EXPECT_NE(QBR1_ObjectTemplateText(t).find(from), std::string::npos) << QBR1_ObjectTemplateText(t);

  // The new record: the template's bytes, the definition, the position; nothing else.
  const QBR1RawObject r = QBR1_NewObject(t, 0x1234, 300, 200, 0x400);
  EXPECT_EQ(r.bytes[0], 0x3C);
  EXPECT_EQ(r.bytes[1], 0xA5);
  EXPECT_EQ(r.Definition(), 0x1234u);
  EXPECT_EQ(r.X(0x400), 300);
  EXPECT_EQ(r.Y(), 200);
}

TEST_F(NewRecordsTest, TheShapesInUseAreThoseOfTheBuiltGroups) {
  // From the description: per shape (columns, rows, cells) the groups that use it.
  std::map<std::tuple<int, int, std::vector<bool>>, int> want;
  for (const DemoLevel& l : demo.levels) {
    for (const DemoBananaGroup& g : l.bananas) ++want[{g.columns, g.rows, g.cells}];
  }
  const std::vector<BananaShapeUse> shapes = QBR1_BananaShapesInUse(Rom(), qbr1gbl);
  ASSERT_EQ(shapes.size(), want.size());
  int previous = 0;
  for (const BananaShapeUse& s : shapes) {
    EXPECT_GT(s.shape, previous);
    previous = s.shape;
    std::vector<bool> cells;
    int set = 0;
    for (int c = 0; c < s.columns; ++c) {
      for (int r = 0; r < s.rows; ++r) {
        const long long z = static_cast<long long>(c) * s.rows + (s.rows - 1 - r);
        cells.push_back((demo.rom[s.offset + 2 + z / 8] >> (z & 7)) & 1);
        set += cells.back() ? 1 : 0;
      }
    }
    const auto found = want.find({s.columns, s.rows, cells});
    ASSERT_NE(found, want.end()) << "shape " << s.shape;
    EXPECT_EQ(s.groups, found->second) << "shape " << s.shape;
    EXPECT_EQ(s.bananas, set) << "shape " << s.shape;
  }
}

TEST(NewBananaGroup, StoresShapeAndPositionYInStepsOfEight) {
  struct Case {
    int shape, x, y;
    unsigned word0, word2;
  };
  const Case cases[] = {
      {0x110, 80, 16, 0x0910, 0x0140},
      {0x002, 0, 15, 0x0402, 0x0000},
      {0x3FE, 0x3FFF, 0x1F8, 0xFFFE, 0xFFFC},
  };
  for (const Case& c : cases) {
    const QBR1RawBanana r = QBR1_NewBananaGroup(c.shape, c.x, c.y);
    EXPECT_EQ(r.Word0(), c.word0) << c.shape;
    EXPECT_EQ(r.Word2(), c.word2) << c.shape;
  }
}

}  // namespace
