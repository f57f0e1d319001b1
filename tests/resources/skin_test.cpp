#include <gtest/gtest.h>

#include <cstdint>

#include "resources/resource_loader.h"
#include "resources/resource_table.h"
#include "resources/skin.h"
#include "shell/base/functions.h"

namespace {

uint32_t Pixel(BITMAP* bmp, int x, int y) { return reinterpret_cast<uint32_t*>(bmp->line[y])[x]; }

class Skin : public ::testing::Test {
 protected:
  void SetUp() override { LoadBuiltinResources(); }
  void TearDown() override { DestroyBuiltinResources(); }
};

TEST_F(Skin, SlotsHaveTheirSizesAndSlot24StaysEmpty) {
  struct Size {
    int w, h;
  };
  const Size sizes[45] = {
      {6, 24},  {1, 24},  {6, 24},  {100, 80}, {4, 1},   {4, 1},   {4, 4},   {1, 4},   {1, 12},
      {1, 12},  {1, 12},  {1, 12},  {1, 24},   {1, 24},  {1, 24},  {2, 24},  {2, 24},  {2, 24},
      {1, 24},  {1, 24},  {1, 24},  {1, 16},   {1, 16},  {16, 16}, {0, 0},   {12, 12}, {12, 12},
      {12, 12}, {12, 12}, {12, 12}, {12, 12},  {12, 12}, {12, 12}, {12, 12}, {12, 12}, {1, 12},
      {12, 1},  {2, 12},  {1, 12},  {1, 12},   {2, 12},  {12, 2},  {12, 1},  {12, 1},  {12, 2},
  };
  for (int slot = 0; slot < 45; ++slot) {
    SCOPED_TRACE(slot);
    if (slot == 24) {
      EXPECT_EQ(HelioBMP[slot], nullptr);
      continue;
    }
    ASSERT_NE(HelioBMP[slot], nullptr);
    EXPECT_EQ(HelioBMP[slot]->w, sizes[slot].w);
    EXPECT_EQ(HelioBMP[slot]->h, sizes[slot].h);
    EXPECT_EQ(bitmap_color_depth(HelioBMP[slot]), 32);
  }
}

TEST_F(Skin, CutSlotsAreTheirSheetRectangles) {
  struct Cut {
    int slot, sheet, x, y;
  };
  const Cut cuts[] = {{0, 500, 0, 0},   {1, 500, 7, 0},   {5, 500, 0, 24},   {6, 500, 0, 28},   {7, 500, 4, 28},
                      {8, 503, 1, 0},   {9, 503, 0, 0},   {11, 503, 3, 0},   {13, 504, 1, 0},   {16, 505, 3, 0},
                      {20, 505, 8, 0},  {23, 507, 2, 0},  {25, 506, 12, 0},  {34, 506, 0, 12},  {36, 506, 60, 12},
                      {37, 506, 61, 0}, {39, 506, 64, 0}, {41, 506, 60, 13}, {43, 506, 60, 16}, {3, 502, 0, 0}};
  for (const Cut& c : cuts) {
    SCOPED_TRACE(c.slot);
    BITMAP* sheet = load_bmp_res(c.sheet);
    BITMAP* slot = HelioBMP[c.slot];
    ASSERT_NE(slot, nullptr);
    for (int y = 0; y < slot->h; ++y)
      for (int x = 0; x < slot->w; ++x) ASSERT_EQ(Pixel(slot, x, y), Pixel(sheet, c.x + x, c.y + y)) << x << "," << y;
    Nullify(sheet);
  }
}

TEST_F(Skin, MirroredSlotsAreTheirSourcesMirrored) {
  struct Mirror {
    int slot, source;
    bool left_right;
  };
  for (const Mirror& m : {Mirror{2, 0, true}, Mirror{4, 5, true}, Mirror{40, 37, true}, Mirror{44, 41, false}}) {
    SCOPED_TRACE(m.slot);
    BITMAP* dst = HelioBMP[m.slot];
    BITMAP* src = HelioBMP[m.source];
    for (int y = 0; y < dst->h; ++y)
      for (int x = 0; x < dst->w; ++x) {
        const int sx = m.left_right ? src->w - 1 - x : x;
        const int sy = m.left_right ? y : src->h - 1 - y;
        ASSERT_EQ(Pixel(dst, x, y), Pixel(src, sx, sy)) << x << "," << y;
      }
  }
  // The rounded caption corner is transparent on both ends.
  EXPECT_EQ(Pixel(HelioBMP[0], 0, 0), kMaskPixel);
  EXPECT_EQ(Pixel(HelioBMP[2], 5, 0), kMaskPixel);
}

TEST_F(Skin, StripsBannersFontsAndCursorsAreLoaded) {
  struct Expect {
    BITMAP* bmp;
    int w, h;
  };
  const Expect bitmaps[] = {{FunctionIcons, 528, 16},    {RegionFlagIcons, 112, 12},  {QBRREHelioWinIcon, 96, 16},
                            {BMPBannerStartup, 512, 96}, {BMPBannerExtract, 512, 96}, {MouseCursor_N, 32, 32},
                            {MouseCursor_M, 32, 32},     {MouseCursor_H, 32, 32},     {MouseCursor_V, 32, 32},
                            {MouseCursor_D, 32, 32}};
  for (const Expect& e : bitmaps) {
    ASSERT_NE(e.bmp, nullptr);
    EXPECT_EQ(e.bmp->w, e.w);
    EXPECT_EQ(e.bmp->h, e.h);
  }
  EXPECT_NE(MicroFont, nullptr);
  EXPECT_NE(DigitFont, nullptr);
  for (FONT* f : NMenuFont) EXPECT_NE(f, nullptr);
  // Every cursor's focus point is on the drawn shape, not on the mask.
  struct Focus {
    BITMAP* bmp;
    int x, y;
  };
  for (const Focus& f : {Focus{MouseCursor_N, 0, 0}, Focus{MouseCursor_M, 12, 12}, Focus{MouseCursor_H, 12, 4},
                         Focus{MouseCursor_V, 4, 12}, Focus{MouseCursor_D, 8, 8}})
    EXPECT_NE(Pixel(f.bmp, f.x, f.y), kMaskPixel);
}

TEST(SkinLifetime, DestroyClearsEveryPointer) {
  LoadBuiltinResources();
  DestroyBuiltinResources();
  for (BITMAP* slot : HelioBMP) EXPECT_EQ(slot, nullptr);
  for (FONT* f : NMenuFont) EXPECT_EQ(f, nullptr);
  for (const void* p : {static_cast<const void*>(FunctionIcons), static_cast<const void*>(RegionFlagIcons),
                        static_cast<const void*>(QBRREHelioWinIcon), static_cast<const void*>(BMPBannerStartup),
                        static_cast<const void*>(BMPBannerExtract), static_cast<const void*>(MicroFont),
                        static_cast<const void*>(DigitFont), static_cast<const void*>(MouseCursor_N),
                        static_cast<const void*>(MouseCursor_M), static_cast<const void*>(MouseCursor_H),
                        static_cast<const void*>(MouseCursor_V), static_cast<const void*>(MouseCursor_D)})
    EXPECT_EQ(p, nullptr);
}

}  // namespace
