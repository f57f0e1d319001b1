#include <gtest/gtest.h>

#include <algorithm>

#include "bfa/bfa.h"

#include "level/ex_gfx_QBR1.h"
#include "level/level_objects.h"
#include "level/qbr_sprite_exception.h"
#include "level/snesbitmap.h"
#include "rom/globaldata.h"
#include "shell/base/functions.h"
#include "tests/level/level_support.h"

namespace {

// Runs a level through everything the level view reads: record, tiles, banana
// and object maps, scripts and sprites. Returns the number of tiles built.
std::size_t Exercise(int id) {
  leveldata lvl;
  Get_QBR1_LevelDataStruct(id, lvl);
  std::vector<BITMAP*> tiles;
  QBR1_FillTilesVector(tiles, lvl);
  const std::size_t count = tiles.size();
  for (BITMAP*& b : tiles) Nullify(b);
  for (const QBR1BananaGroup& g : QBR1_ReadBananaMap(lvl)) {
    for (int c = 0; c < std::min(g.columns, 4); ++c)
      for (int r = 0; r < std::min(g.rows, 4); ++r) QBR1_BananaCell(g, c, r);
  }
  int drawn = 0;
  BITMAP* frame = create_bitmap_ex(32, 64, 64);
  for (const QBR1ObjectRecord& o : QBR1_ReadObjectMap(lvl)) {
    if (drawn >= 4) break;
    QBR1ObjectScript s = QBR1_WalkObjectScripts(o.zo);
    int zo = o.zo;
    QBR1_SpriteExceptions(zo, s.ani, s.pal, s.spr);
    if (s.spr == 0) continue;
    CompSprite* cs = Rw_Bitmap2CompSprite(RE_QBR1_SptiteRaw(s.spr));
    Rw_drawvh_qbrpal(cs, frame, 32, 32, static_cast<short>(drawn & 3), static_cast<unsigned long>(s.pal));
    Nullify(cs);
    ++drawn;
  }
  destroy_bitmap(frame);
  BITMAP* banana =
      RE_QBR1_16SpriteRaw_bmp(static_cast<int>(qbr1gbl.BananaGraphics), static_cast<int>(qbr1gbl.BananaPalette), true);
  Nullify(banana);
  return count;
}

TEST(RobustnessTest, TruncatedImagesGiveRecordsForEveryLevel) {
  UseGameConfigText("");
  for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{0x100000}}) {
    LoadTestImage(std::vector<unsigned char>(size, 0));
    for (int id = 0; id <= 229; ++id) {
      leveldata lvl;
      Get_QBR1_LevelDataStruct(id, lvl);
      EXPECT_EQ(lvl.size, 256) << size;
      EXPECT_EQ(lvl.name, "") << size;
      // Archetype 0 always has its 586 tiles; with nothing decoded they are transparent.
      EXPECT_EQ(Exercise(id), 586u) << size << " " << id;
    }
  }
}

TEST(RobustnessTest, RandomImagesAndConfigurationsRunThroughEveryLevel) {
  // Random 4 MiB images with the default configuration, and with one that sends the tables near the end.
  const char* configs[] = {
      "",
      "[Global_Offsets]\nLevelStackPtrTable = 3FFFFF\nLevelCamDataBank = FFFFFFFF\nLevelNameBank = 3F0000\n"
      "[ThemeGraphics]\n00 = 3FFFF0\n[ThemeTileSet]\n00 = 7FFFFFFF\n[ThemePalette]\n0000 = FFFFFFFF\n",
  };
  std::uint32_t x = 0xC0FFEE;
  for (int round = 0; round < 2; ++round) {
    std::vector<unsigned char> image(0x400000);
    for (auto& b : image) {
      x ^= x << 13, x ^= x >> 17, x ^= x << 5;
      b = static_cast<unsigned char>(x);
    }
    LoadTestImage(image);
    UseGameConfigText(configs[round]);
    for (int id = round; id <= 229; id += 5) {
      // Whatever the record says, no level has more tiles than the largest tile set (586).
      EXPECT_LE(Exercise(id), 586u) << id;
    }
    // Reading is all the walk does: the image is unchanged.
    EXPECT_TRUE(std::equal(QBR1.begin(), QBR1.end(), image.begin(), image.end(), [](char a, unsigned char b) {
      return static_cast<unsigned char>(a) == b;
    })) << round;
  }
}

TEST(RobustnessTest, SpriteNumbersOutsideTheTableDecodeSafely) {
  UseGameConfigText("");
  // The image ends 4 bytes into the sprite table: a number whose 4 pointer bytes lie inside the image
  // (entry 0, or a negative number reaching back before the table) reads 0xC0C0C0C0, pointing at 0xC0C0,
  // where every part count is 0xC0 and every part sits at (192, 192) of the 256 x 256 canvas: a sprite of
  // at most 64 x 64 pixels. Every other number reads no pointer and gives the empty sprite.
  constexpr long long kSize = 0x3BCCA0;
  LoadTestImage(std::vector<unsigned char>(kSize, 0xC0));
  for (int n : {0, 4, 0x4000, 0xFFFC, 0x10000, -1, -0x3BCC9C, 0x7FFFFFFF}) {
    CompSprite* cs = Rw_Bitmap2CompSprite(RE_QBR1_SptiteRaw(n));
    ASSERT_NE(cs, nullptr) << n;
    const long long at = kQBR1SpritePtrTable + n;
    if (at >= 0 && at + 4 <= kSize) {
      EXPECT_GT(cs->w, 0) << n;
      EXPECT_LE(cs->w, 64) << n;
      EXPECT_GT(cs->h, 0) << n;
      EXPECT_LE(cs->h, 64) << n;
    } else {
      EXPECT_EQ(cs->w, 0) << n;
      EXPECT_EQ(cs->h, 0) << n;
    }
    Nullify(cs);
  }
}

TEST(RobustnessTest, LoopingScriptsEnd) {
  UseGameConfigText("");
  std::vector<unsigned char> image(0x400000, 0);
  ImageWriter w{image};
  w.Word(0x351000, 0x8200), w.Word(0x351002, 0x1000);  // jumps to itself
  w.Word(0x3E8572 + 2, 0x9000);
  w.Byte(0x3E9000, 0x82), w.Word(0x3E9002, 0x9000);  // animation that jumps to itself
  w.Word(0x352000, 0x8100), w.Word(0x352002, 1);
  LoadTestImage(image);
  EXPECT_EQ(QBR1_WalkObjectScripts(0x1000).ani, 0);
  EXPECT_EQ(QBR1_WalkObjectScripts(0x1000).pal, 0);
  const QBR1ObjectScript s = QBR1_WalkObjectScripts(0x2000);
  EXPECT_EQ(s.ani, 1);
  EXPECT_EQ(s.spr, 0);
}

TEST(RobustnessTest, MapsWithoutEndRecordStopAfterOneBank) {
  UseGameConfigText("");
  // No byte is 0, so neither map ever meets its end record.
  LoadTestImage(std::vector<unsigned char>(0x400000, 0x01));
  leveldata lvl;
  lvl.objects = 0x10;
  lvl.bananas = 0x10;
  const auto objects = QBR1_ReadObjectMap(lvl);
  EXPECT_EQ(objects.size(), 0x2000u);
  EXPECT_EQ(objects.back().zo, 0x0101);
  const auto groups = QBR1_ReadBananaMap(lvl);
  EXPECT_EQ(groups.size(), 0x4000u);
  EXPECT_EQ(groups.back().shape, 0x100);
}

TEST(ObjectScriptTest, WalksFollowTheCommandTable) {
  UseGameConfigText("");
  std::vector<unsigned char> image(0x400000, 0);
  ImageWriter w{image};
  // Palette before animation: the palette walk stops at 0x8800, the animation walk steps over it.
  long at = 0x351000;
  for (unsigned v : {0x8200u, 0x1100u}) w.Word(at, v), at += 2;
  at = 0x351100;
  for (unsigned v : {0x8300u, 0u, 0x8800u, 0xB000u, 0x8100u, 3u, 0x8000u, 0u}) w.Word(at, v), at += 2;
  w.Word(0x3E8572 + 6, 0x9000);
  const unsigned anim[] = {0x85, 1, 2, 3, 4, 5, 0x04, 0x24, 0x01};
  for (unsigned i = 0; i < std::size(anim); ++i) w.Byte(0x3E9000 + static_cast<long>(i), anim[i]);
  LoadTestImage(image);
  const QBR1ObjectScript s = QBR1_WalkObjectScripts(0x1000);
  EXPECT_EQ(s.pal, 0x3CB000);
  EXPECT_EQ(s.ani, 3);
  EXPECT_EQ(s.spr, 0x0124);
  struct Case {
    std::vector<unsigned> bytes;
    int spr;
  };
  const Case cases[] = {
      {{0x80, 0x04, 0x24, 0x01}, 0},
      {{0x89}, 0},
      {{0x91, 0x04, 0x24, 0x01}, 0},
      {{0x8E, 0, 0x7F, 0x08, 0x00}, 0x0008},
      {{0x83, 0, 0, 0x81, 0, 0, 0, 0x01, 0x10, 0x00}, 0x0010},
      {{0x88, 0, 0, 0, 0, 0x87, 0, 0, 0, 0, 0, 0, 0, 0x02, 0x30, 0x00}, 0x0030},
      {{0x86, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x8B, 0, 0, 0, 0, 0, 0, 0, 0x7F, 0x40, 0x00}, 0x0040},
  };
  for (const Case& c : cases) {
    for (unsigned i = 0; i < c.bytes.size(); ++i) w.Byte(0x3E9000 + static_cast<long>(i), c.bytes[i]);
    LoadTestImage(image);
    EXPECT_EQ(QBR1_AnimationSprite(3), c.spr) << std::hex << c.bytes[0];
  }
}

TEST(BananaMapTest, RecordFieldsAndShapeCells) {
  UseGameConfigText("");
  std::vector<unsigned char> image(0x400000, 0);
  ImageWriter w{image};
  leveldata lvl;
  lvl.bananas = 0x38C200;
  const unsigned record[] = {0x10, 0x09, 0x40, 0x01, 0x01, 0x04, 0x33, 0x33};
  for (unsigned i = 0; i < 8; ++i) w.Byte(0x38C200 + static_cast<long>(i), record[i]);
  w.Word(0x38D631 + 0x110, 0x0400);
  w.Byte(0x38D631 + 0x400, 2), w.Byte(0x38D631 + 0x401, 3), w.Byte(0x38D631 + 0x402, 0x01);
  LoadTestImage(image);
  const auto groups = QBR1_ReadBananaMap(lvl);
  ASSERT_EQ(groups.size(), 1u);  // the second record's shape field is 0 whatever its other bytes hold
  EXPECT_EQ(groups[0].shape, 0x110);
  EXPECT_EQ(groups[0].y, 16);
  EXPECT_EQ(groups[0].x, 80);
  EXPECT_EQ(groups[0].columns, 2);
  EXPECT_EQ(groups[0].rows, 3);
  for (int c = 0; c < 2; ++c)
    for (int r = 0; r < 3; ++r) EXPECT_EQ(QBR1_BananaCell(groups[0], c, r), c == 0 && r == 2) << c << "," << r;
}

}  // namespace
