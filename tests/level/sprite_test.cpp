#include <gtest/gtest.h>

#include "level/qbr_sprite_exception.h"
#include "level/snesbitmap.h"
#include "rom/globaldata.h"
#include "shell/base/functions.h"
#include "tests/level/level_support.h"

namespace {

TEST(SnesPaletteTest, FiveBitChannelsShiftedLeftByThree) {
  struct Case {
    unsigned short c;
    unsigned long rgba;
  };
  const Case cases[] = {{0x001F, 0xFFF80000}, {0x03E0, 0xFF00F800}, {0x7C00, 0xFF0000F8},
                        {0x7FFF, 0xFFF8F8F8}, {0x8000, 0xFF000000}, {0xFC1F, 0xFFF800F8}};
  for (const Case& c : cases) EXPECT_EQ(snespal2rgba(c.c), c.rgba) << std::hex << c.c;
}

// Sprite decoding from a 4 MiB image; character n of the sprite's graphics
// has every pixel of colour index (n % 15) + 1.
class SpriteDecodeTest : public ::testing::Test {
 protected:
  static int IndexOf(int n) { return n % 15 + 1; }
  void SetUp() override {
    ASSERT_TRUE(StartHeadlessAllegro());
    image.assign(0x400000, 0);
  }
  void PutSprite(int number, long d, int na, int nb, int firstB, int nc, int firstC,
                 const std::vector<std::pair<int, int>>& positions, int chars) {
    w.Word(kQBR1SpritePtrTable + number, static_cast<unsigned>((0xC00000 + d) & 0xFFFF));
    w.Word(kQBR1SpritePtrTable + number + 2, static_cast<unsigned>((0xC00000 + d) >> 16));
    w.Byte(d, na), w.Byte(d + 1, nb), w.Byte(d + 2, firstB), w.Byte(d + 3, nc), w.Byte(d + 4, firstC);
    for (std::size_t k = 0; k < positions.size(); ++k) {
      w.Byte(d + 8 + 2 * static_cast<long>(k), positions[k].first);
      w.Byte(d + 9 + 2 * static_cast<long>(k), positions[k].second);
    }
    const long g = d + 8 + 2L * (na + nb + nc);
    for (int n = 0; n < chars; ++n)
      for (int r = 0; r < 8; ++r)
        for (int plane = 0; plane < 4; ++plane)
          w.Byte(g + 32L * n + 2 * r + (plane & 1) + 16 * (plane >> 1), (IndexOf(n) >> plane) & 1 ? 0xFF : 0);
  }
  std::vector<unsigned char> image;
  ImageWriter w{image};
};

TEST_F(SpriteDecodeTest, LastPartlyFilledDoubleRowIsNarrower) {
  // na = 9, nb = 2: part 8 starts at character 32, its lower half W = 2 * 1 + 2 = 4 characters further.
  std::vector<std::pair<int, int>> pos;
  for (int i = 0; i < 8; ++i) pos.push_back({16 * i, 0});
  pos.push_back({100, 100});
  pos.push_back({200, 0}), pos.push_back({208, 0});
  pos.push_back({200, 20});
  PutSprite(0x40, 0x300000, 9, 2, 34, 1, 50, pos, 64);
  LoadTestImage(image);
  BITMAP* c = RE_QBR1_SptiteRaw(0x40);
  ASSERT_NE(c, nullptr);
  ASSERT_EQ(c->w, 256);
  struct Case {
    int x, y, character;
  };
  const Case cases[] = {
      {0, 0, 0},      {8, 0, 1},      {0, 8, 16},     {8, 15, 17},     // a full double row: 16 below
      {112, 0, 14},   {120, 8, 31},                                    // part 7
      {100, 100, 32}, {108, 100, 33}, {100, 108, 36}, {108, 108, 37},  // part 8
      {200, 0, 34},   {208, 7, 35},   {200, 20, 50},                   // the small groups
  };
  for (const Case& k : cases)
    EXPECT_EQ(Px(c, k.x, k.y), static_cast<std::uint32_t>(IndexOf(k.character))) << k.x << "," << k.y;
  EXPECT_EQ(Px(c, 128, 128), 0u);
  destroy_bitmap(c);
}

TEST_F(SpriteDecodeTest, PartsReachingPastTheCanvasAreClippedAndLaterPartsWin) {
  PutSprite(0x44, 0x300000, 1, 1, 5, 0, 0, {{250, 250}, {250, 250}}, 8);
  LoadTestImage(image);
  BITMAP* c = RE_QBR1_SptiteRaw(0x44);
  EXPECT_EQ(Px(c, 255, 255), static_cast<std::uint32_t>(IndexOf(5)));
  EXPECT_EQ(Px(c, 249, 249), 0u);
  destroy_bitmap(c);
}

TEST_F(SpriteDecodeTest, NoSpriteOrBadNumbersGiveAnEmptyCanvas) {
  w.Long(kQBR1SpritePtrTable + 0x48, 0xC00000);
  LoadTestImage(image);
  for (int n : {0x48, 0x4000, 0xFFFC, -4, 0x7FFFFFFC}) {
    BITMAP* c = RE_QBR1_SptiteRaw(n);
    ASSERT_NE(c, nullptr);
    CompSprite* s = Rw_Bitmap2CompSprite(c);
    EXPECT_EQ(s->w, 0) << n;
    EXPECT_EQ(s->h, 0) << n;
    Nullify(s);
  }
}

BITMAP* Canvas() {
  BITMAP* c = create_bitmap_ex(32, 256, 256);
  clear_to_color(c, 0);
  return c;
}

void Put(BITMAP* b, int x, int y, std::uint32_t v) { reinterpret_cast<std::uint32_t*>(b->line[y])[x] = v; }

TEST(CompSpriteTest, OnePixelCropsToItsBox) {
  ASSERT_TRUE(StartHeadlessAllegro());
  BITMAP* c = Canvas();
  Put(c, 130, 120, 5);
  CompSprite* s = Rw_Bitmap2CompSprite(c);
  EXPECT_EQ(s->w, 1);
  EXPECT_EQ(s->h, 1);
  EXPECT_EQ(s->cx, 65534);
  EXPECT_EQ(s->cy, 8);
  EXPECT_EQ(s->line[0][0], 5);
  Nullify(s);
  EXPECT_EQ(s, nullptr);
}

TEST(CompSpriteTest, OddWidthPacksTwoPixelsPerByteLowNibbleFirst) {
  ASSERT_TRUE(StartHeadlessAllegro());
  BITMAP* c = Canvas();
  for (int x = 0; x < 5; ++x) Put(c, 100 + x, 50, static_cast<std::uint32_t>(x + 1));
  Put(c, 102, 52, 0x1F);  // only the low four bits count
  CompSprite* s = Rw_Bitmap2CompSprite(c);
  ASSERT_EQ(s->w, 5);
  ASSERT_EQ(s->h, 3);
  EXPECT_EQ(s->line[0][0], 0x21);
  EXPECT_EQ(s->line[0][1], 0x43);
  EXPECT_EQ(s->line[0][2], 0x05);
  EXPECT_EQ(s->line[1][0] | s->line[1][1] | s->line[1][2], 0);
  EXPECT_EQ(s->line[2][1], 0x0F);
  Nullify(s);
}

TEST(CompSpriteTest, EmptyCanvasGivesEmptyRecordThatDrawsNothing) {
  ASSERT_TRUE(StartHeadlessAllegro());
  CompSprite* s = Rw_Bitmap2CompSprite(Canvas());
  EXPECT_EQ(s->w, 0);
  EXPECT_EQ(s->h, 0);
  BITMAP* d = create_bitmap_ex(32, 8, 8);
  clear_to_color(d, 0x123456);
  Rw_drawvh_qbrpal(s, d, 4, 4, 0, 0);
  Rw_drawvh_qbrpal(nullptr, d, 4, 4, 0, 0);
  Rw_drawvh_qbrpal(s, nullptr, 4, 4, 0, 0);
  EXPECT_EQ(Px(d, 4, 4), 0x123456u);
  destroy_bitmap(d);
  Nullify(s);
}

// A 30 x 2 sprite with cx = 10, cy = 1: row 0 holds index (x % 15) + 1 at column x except a hole at x = 3.
class DrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartHeadlessAllegro());
    std::vector<unsigned char> image(0x2000, 0);
    ImageWriter w{image};
    for (int i = 0; i < 15; ++i) w.Word(0x1000 + 2 * i, static_cast<unsigned>(i + 1));  // colour k: red k
    LoadTestImage(image);
    BITMAP* c = Canvas();
    for (int x = 0; x < 30; ++x)
      if (x != 3) Put(c, 118 + x, 127, static_cast<std::uint32_t>(x % 15 + 1));
    Put(c, 118, 128, 15);
    sprite = Rw_Bitmap2CompSprite(c);
    dest = create_bitmap_ex(32, 100, 20);
    clear_to_color(dest, 0x123456);
  }
  void TearDown() override {
    Nullify(sprite);
    destroy_bitmap(dest);
  }
  static std::uint32_t Colour(int index) {
    return static_cast<std::uint32_t>(snespal2rgba(static_cast<unsigned short>(index)));
  }
  CompSprite* sprite = nullptr;
  BITMAP* dest = nullptr;
};

TEST_F(DrawTest, ReferencePointAndMirroring) {
  ASSERT_EQ(sprite->w, 30);
  ASSERT_EQ(sprite->cx, 10);
  ASSERT_EQ(sprite->cy, 1);
  struct Case {
    short flip;
    int x, y;
    int index;  // 0: unchanged
  };
  const Case cases[] = {
      {0, 40, 9, 1},
      {0, 69, 9, 15},
      {0, 39, 9, 0},
      {0, 43, 9, 0},
      {0, 40, 10, 15},
      {1, 30, 9, 15},
      {1, 59, 9, 1},
      {1, 59, 10, 15},
      {1, 29, 9, 0},
      {2, 40, 10, 1},
      {2, 40, 9, 15},
      {3, 59, 10, 1},
      {3, 59, 9, 15},
      // Other values draw unmirrored, but bit 0 still places the anchor as for a mirrored sprite.
      {7, 30, 9, 1},
      {7, 40, 9, 11},
  };
  for (const Case& c : cases) {
    clear_to_color(dest, 0x123456);
    Rw_drawvh_qbrpal(sprite, dest, 50, 10, c.flip, 0xC01000);
    EXPECT_EQ(Px(dest, c.x, c.y), c.index ? Colour(c.index) : 0x123456u) << c.flip << " " << c.x << "," << c.y;
  }
}

TEST_F(DrawTest, ClippedAtEveryEdge) {
  Rw_drawvh_qbrpal(sprite, dest, 5, 1, 0, 0x1000);  // left edge at -5
  EXPECT_EQ(Px(dest, 0, 0), Colour(6));
  clear_to_color(dest, 0x123456);
  Rw_drawvh_qbrpal(sprite, dest, 5, 1, 1, 0x1000);  // mirrored: left edge at -15
  EXPECT_EQ(Px(dest, 0, 0), Colour((29 - 15) % 15 + 1));
  Rw_drawvh_qbrpal(sprite, dest, 95, 19, 0, 0x1000);
  EXPECT_EQ(Px(dest, 99, 18), Colour(15));
  // Wholly outside on either side: nothing changes.
  clear_to_color(dest, 0x123456);
  Rw_drawvh_qbrpal(sprite, dest, -200, -200, 3, 0x1000);
  Rw_drawvh_qbrpal(sprite, dest, 32000, 32000, 0, 0x1000);
  for (int y = 0; y < dest->h; ++y)
    for (int x = 0; x < dest->w; ++x) EXPECT_EQ(Px(dest, x, y), 0x123456u) << x << "," << y;
}

TEST_F(DrawTest, AddSaturatesEachChannelAndClearsAlpha) {
  clear_to_color(dest, 0x80F08080);
  Rw_drawvh_qbrpal_add(sprite, dest, 50, 10, 0, 0x1000);
  // Index 1 is red 8; index 15 is red 0x78.
  EXPECT_EQ(Px(dest, 40, 9), 0x00F88080u);
  EXPECT_EQ(Px(dest, 40, 10), 0x00FF8080u);
  EXPECT_EQ(Px(dest, 43, 9), 0x80F08080u);
}

TEST(GradientTest, ColourStepsPerColumnWithoutSaturation) {
  ASSERT_TRUE(StartHeadlessAllegro());
  BITMAP* d = create_bitmap_ex(32, 200, 20);
  clear_to_color(d, 0);
  Ub_Draw_Gradient(d, 5, 2, 160, 12, 0x400060, 1, true);
  EXPECT_EQ(Px(d, 5, 2), 0x400060u);
  EXPECT_EQ(Px(d, 164, 13), 0x4000FFu);
  EXPECT_EQ(Px(d, 165, 2), 0u);
  EXPECT_EQ(Px(d, 5, 14), 0u);
  Ub_Draw_Gradient(d, 0, 0, 2, 1, 0x000100, 1, false);
  EXPECT_EQ(Px(d, 1, 0), 0x0000FFu);
  destroy_bitmap(d);
}

TEST(SpriteExceptionsTest, ConfigurationOverrides) {
  struct Case {
    const char* config;
    int spr, pal;
    bool compound;
  };
  const Case cases[] = {
      {"", 0x100, 0x3CB000, false},
      {"[OBJs_DefineSprite]\n1234 = 0\n", 0, 0x3CB000, false},
      {"[OBJs_DefineSprite]\n1234 = 0200\n", 0x200, 0x3CB000, false},
      {"[OBJs_DefinePalette]\n1234 = B100\n", 0x100, 0x3CB100, false},
      {"[OBJs_DefinePalette]\n1234 = B100\n[ANIMs_DefinePalette]\n0007 = B200\n", 0x100, 0x3CB200, false},
      {"[ANIMs_DefinePalette]\n0008 = B200\n", 0x100, 0x3CB000, false},
      {"[OBJs_Compound]\n1234 = 1\n", 0x100, 0x3CB000, true},
      {"[OBJs_Compound]\n1235 = 1\n[OBJs_DefineSprite]\n1235 = 4\n", 0x100, 0x3CB000, false},
  };
  for (const Case& c : cases) {
    UseGameConfigText(std::string("[Global_Offsets]\nObjectPaletteBank = 3C0000\n") + c.config);
    int zo = 0x1234, ani = 7, pal = 0x3CB000, spr = 0x100;
    EXPECT_EQ(QBR1_SpriteExceptions(zo, ani, pal, spr), c.compound) << c.config;
    EXPECT_EQ(spr, c.spr) << c.config;
    EXPECT_EQ(pal, c.pal) << c.config;
    EXPECT_EQ(zo, 0x1234);
    EXPECT_EQ(ani, 7);
  }
}

}  // namespace
