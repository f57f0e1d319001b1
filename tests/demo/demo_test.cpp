#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "bfa/bfa.h"
#include "demo/demo_image.h"
#include "level/ex_gfx_QBR1.h"
#include "level/level_objects.h"
#include "level/qbr_sprite_exception.h"
#include "level/snesbitmap.h"
#include "platform/config_lock.h"
#include "rom/image_install.h"
#include "rom/globaldata.h"
#include "shell/base/functions.h"
#include "tests/common/headless_allegro.h"

namespace {

std::uint32_t Px(BITMAP* b, int x, int y) { return reinterpret_cast<std::uint32_t*>(b->line[y])[x]; }

// The demo image opened as the program opens an image: loaded into channel 0x10,
// corrected, with its configuration in force.
class DemoImageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(StartHeadlessAllegro());
    demo = new DemoImage(BuildDemoImage(20261210));
  }
  static void TearDownTestSuite() {
    delete demo;
    demo = nullptr;
  }
  void SetUp() override {
    BFA_Activate(0x10, 1);
    QBR1.assign(demo->rom.begin(), demo->rom.end());
    ApplyQBR1Corrections(QBR1);
    {
      ConfigGuard guard;
      set_config_data(demo->config.c_str(), static_cast<int>(demo->config.size()));
    }
    ReadGlobalOffsets(qbr1gbl);
  }
  static DemoImage* demo;
};
DemoImage* DemoImageTest::demo = nullptr;

TEST_F(DemoImageTest, BuildsTheLevelsTheViewStartsWith) {
  ASSERT_EQ(demo->rom.size(), kDemoImageSize);
  for (int id : {0x16, 0x27, 0x2E}) EXPECT_NE(demo->Level(id), nullptr) << id;
  bool horizontal = false, vertical = false;
  std::vector<int> archetypes;
  for (const DemoLevel& l : demo->levels) {
    (l.sequencing ? vertical : horizontal) = true;
    archetypes.push_back(l.archetype);
  }
  EXPECT_TRUE(horizontal && vertical);
  for (int a : {6, 7, 12}) EXPECT_NE(std::find(archetypes.begin(), archetypes.end(), a), archetypes.end()) << a;
}

TEST_F(DemoImageTest, LevelRecordsAndTileMapsMatchTheIntent) {
  for (const DemoLevel& want : demo->levels) {
    leveldata lvl;
    Get_QBR1_LevelDataStruct(want.id, lvl);
    EXPECT_EQ(lvl.name, want.name);
    EXPECT_EQ(lvl.archetype, want.archetype);
    EXPECT_EQ(lvl.sequencing, want.sequencing);
    EXPECT_EQ(lvl.x, want.x);
    EXPECT_EQ(lvl.size, want.size);
    EXPECT_EQ(lvl.tile_w, want.tile_w);
    ASSERT_EQ(lvl.tile_h, want.tile_h);
    for (int r = 0; r < lvl.tile_h; ++r)
      for (int c = 0; c < lvl.tile_w; ++c) {
        const long long at = lvl.sequencing == 0 ? lvl.tilemap + 2LL * (16 * c + r) : lvl.tilemap + 2LL * (64 * r + c);
        ASSERT_EQ(QBR1_Word(at), want.MapAt(c, r)) << want.id << " " << c << "," << r;
        if (!want.underMap.empty()) {
          ASSERT_EQ(QBR1_Word(at + lvl.size + 0x200), want.underMap[static_cast<std::size_t>(r) * lvl.tile_w + c]);
        }
      }
  }
  leveldata unbuilt;
  Get_QBR1_LevelDataStruct(0x00, unbuilt);
  EXPECT_EQ(unbuilt.name, kDemoUnbuiltName);
  EXPECT_TRUE(QBR1_ReadObjectMap(unbuilt).empty());
  EXPECT_TRUE(QBR1_ReadBananaMap(unbuilt).empty());
}

TEST_F(DemoImageTest, TilesDecodeToTheIntendedPictures) {
  for (const DemoLevel& want : demo->levels) {
    leveldata lvl;
    Get_QBR1_LevelDataStruct(want.id, lvl);
    std::vector<BITMAP*> tiles;
    QBR1_FillTilesVector(tiles, lvl);
    ASSERT_EQ(tiles.size(), want.tiles.size()) << want.id;
    for (std::size_t t = 0; t < tiles.size(); ++t) {
      int wrong = 0;
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) wrong += Px(tiles[t], x, y) != want.tiles[t].At(x, y);
      EXPECT_EQ(wrong, 0) << "level " << want.id << " tile " << t;
      Nullify(tiles[t]);
    }
  }
}

TEST_F(DemoImageTest, BananaGroupsAndFramesMatchTheIntent) {
  for (const DemoLevel& want : demo->levels) {
    leveldata lvl;
    Get_QBR1_LevelDataStruct(want.id, lvl);
    const auto groups = QBR1_ReadBananaMap(lvl);
    ASSERT_EQ(groups.size(), want.bananas.size()) << want.id;
    ASSERT_FALSE(groups.empty());
    for (std::size_t g = 0; g < groups.size(); ++g) {
      const DemoBananaGroup& b = want.bananas[g];
      EXPECT_EQ(groups[g].x, b.x);
      EXPECT_EQ(groups[g].y, b.y);
      ASSERT_EQ(groups[g].columns, b.columns);
      ASSERT_EQ(groups[g].rows, b.rows);
      for (int c = 0; c < b.columns; ++c)
        for (int r = 0; r < b.rows; ++r) EXPECT_EQ(QBR1_BananaCell(groups[g], c, r), b.Cell(c, r)) << c << "," << r;
    }
  }
  for (int n = 0; n < 5; ++n)
    for (int i = 0; i < 8; ++i) {
      BITMAP* b = RE_QBR1_16SpriteRaw_bmp(static_cast<int>(qbr1gbl.BananaGraphics) + 64 * (16 * n + i),
                                          static_cast<int>(qbr1gbl.BananaPalette), false);
      int wrong = 0;
      for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) wrong += Px(b, x, y) != demo->bananaFrames[n][i].At(x, y);
      EXPECT_EQ(wrong, 0) << n << " " << i;
      Nullify(b);
    }
}

TEST_F(DemoImageTest, ObjectsScriptsOverridesAndSpritesMatchTheIntent) {
  int large = 0, compound = 0, overridden = 0;
  for (const DemoLevel& want : demo->levels) {
    leveldata lvl;
    Get_QBR1_LevelDataStruct(want.id, lvl);
    const auto records = QBR1_ReadObjectMap(lvl);
    ASSERT_EQ(records.size(), want.objects.size()) << want.id;
    for (std::size_t k = 0; k < records.size(); ++k) {
      const DemoObject& o = want.objects[k];
      EXPECT_EQ(records[k].x, o.x);
      EXPECT_EQ(records[k].y, o.y);
      ASSERT_EQ(records[k].zo, o.zo);
      QBR1ObjectScript s = QBR1_WalkObjectScripts(o.zo);
      EXPECT_EQ(s.ani, o.ani) << std::hex << o.zo;
      const int scriptSpr = s.spr;
      int zo = records[k].zo;
      const bool isCompound = QBR1_SpriteExceptions(zo, s.ani, s.pal, s.spr);
      overridden += scriptSpr != s.spr;
      EXPECT_EQ(isCompound, o.compound);
      compound += isCompound;
      EXPECT_EQ(s.spr, o.spr) << std::hex << o.zo;
      EXPECT_EQ(s.pal, o.pal) << std::hex << o.zo;
      {
        ConfigGuard guard;
        const std::string key = int2hexstr(o.zo, 4);
        EXPECT_EQ(get_config_int("OBJs_DisplayFlipped", key.c_str(), 0) != 0, o.flipped);
        EXPECT_EQ(get_config_string("OBJs_Names0001", key.c_str(), "No Definition"), o.name);
      }
      if (s.spr == 0) continue;
      CompSprite* cs = Rw_Bitmap2CompSprite(RE_QBR1_SptiteRaw(s.spr));
      large += cs->w > 16 * 3;
      BITMAP* b = create_bitmap_ex(32, o.sprite.w, o.sprite.h);
      clear_to_color(b, 0x00FF00FF);
      Rw_drawvh_qbrpal(cs, b, static_cast<short>(o.refX), static_cast<short>(o.refY), 0,
                       static_cast<unsigned long>(s.pal));
      int wrong = 0;
      for (int y = 0; y < b->h; ++y)
        for (int x = 0; x < b->w; ++x) wrong += Px(b, x, y) != o.sprite.At(x, y);
      EXPECT_EQ(wrong, 0) << "level " << want.id << " object " << std::hex << o.zo;
      destroy_bitmap(b);
      Nullify(cs);
    }
  }
  EXPECT_GT(large, 0);
  EXPECT_GT(compound, 0);
  EXPECT_GT(overridden, 0);
}

TEST(DemoBuilderTest, SameSeedSameBytesAndEveryControlForm) {
  const DemoImage a = BuildDemoImage(1), b = BuildDemoImage(1), c = BuildDemoImage(2);
  EXPECT_EQ(a.rom, b.rom);
  EXPECT_EQ(a.config, b.config);
  EXPECT_NE(a.rom, c.rom);
  EXPECT_GT(a.compression.literals, 0);
  EXPECT_GT(a.compression.fills, 0);
  EXPECT_GT(a.compression.copies, 0);
  EXPECT_GT(a.compression.overlapping, 0);
  EXPECT_GT(a.compression.dictionary, 0);
}

// --demo reads its game configuration from GameConfig/QBR Demo.INI, shipped and installed beside the
// game's own: the file is the builder's text for the seed --demo uses.
TEST(DemoBuilderTest, ShippedConfigurationIsTheBuildersText) {
  std::ifstream in(std::string(QBRRE_SOURCE_DIR) + "/GameConfig/QBR Demo.INI", std::ios::binary);
  ASSERT_TRUE(in);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), BuildDemoImage(kDemoImageSeed).config);
}

}  // namespace
