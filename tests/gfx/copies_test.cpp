// The special-purpose copies: runs, line copies, dots, stretches, per-pixel masks and the
// 256x224 frame routines.

#include "tests/gfx/gfx_support.h"

using namespace gfxtest;

namespace {

constexpr uint32_t kMagenta = 0x00FF00FFu;
constexpr uint32_t kBack = 0x01020304u;

class CopiesTest : public GfxTest {};

TEST_F(CopiesTest, FixedOriginCopiesSourceRunIntoDestinationRun) {
  Bitmap src = MakePattern(4, 2);
  Put(src.get(), 1, 1, 0xAAFF00FFu);
  Bitmap dst = Make(8, 2, kBack);
  Rw_ncblit_fixed_origin(src.get(), dst.get());
  // Source row 1 continues the destination's first row.
  EXPECT_EQ(Get(dst.get(), 3, 0), Pattern(3, 0));
  EXPECT_EQ(Get(dst.get(), 4, 0), Pattern(0, 1));
  EXPECT_EQ(Get(dst.get(), 5, 0), 0xAAFF00FFu);
  EXPECT_EQ(Get(dst.get(), 7, 0), Pattern(3, 1));
  EXPECT_EQ(Get(dst.get(), 0, 1), kBack);

  Bitmap masked = Make(8, 2, kBack);
  Rw_ncdraw_fixed_origin(src.get(), masked.get());
  EXPECT_EQ(Get(masked.get(), 4, 0), Pattern(0, 1));
  EXPECT_EQ(Get(masked.get(), 5, 0), kBack);
}

TEST_F(CopiesTest, RunCopiesStopAtTheSmallerBitmap) {
  Bitmap big = MakePattern(256, 224);
  Bitmap small = Make(10, 3, kBack);
  Rw_dncblit_256x224(big.get(), small.get());
  EXPECT_EQ(Get(small.get(), 9, 2), Pattern(29, 0));
  Bitmap smallSrc = MakePattern(3, 2);
  Bitmap frame = Make(256, 224, kBack);
  Rw_ncblit_fixed_origin(smallSrc.get(), frame.get());
  Rw_dncdraw_256x224(smallSrc.get(), frame.get());
  EXPECT_EQ(Get(frame.get(), 5, 0), Pattern(2, 1));
  EXPECT_EQ(Get(frame.get(), 6, 0), kBack);

  Bitmap whole = Make(256, 224, kBack);
  Rw_dncblit_256x224(big.get(), whole.get());
  EXPECT_EQ(Pixels(whole.get()), Pixels(big.get()));
  Bitmap lum = Make(256, 224, 0x80FF80FFu);
  Bitmap white = Make(256, 224, 0x00FFFFFFu);
  Rw_dncblit_luminance_256x224(white.get(), lum.get());
  EXPECT_EQ(Get(lum.get(), 255, 223), 0x80FE7FFEu);
}

TEST_F(CopiesTest, LineCopyRunsLeftToRightAndClips) {
  struct Case {
    int sx, sy, dx, dy, n;
    std::vector<uint32_t> want;  // row 0 afterwards (row 1 for dy = 1)
  };
  const std::vector<Case> cases{
      {0, 0, 1, 0, 4, {1, 1, 1, 1, 1, 6}},      // overlapping to the right repeats pixel 0
      {2, 0, 0, 0, 4, {3, 4, 5, 6, 5, 6}},      // to the left: a plain shift
      {3, 0, 0, 1, 10, {4, 5, 6, 10, 11, 12}},  // n past the row end stops at the edge
      {-2, 0, 0, 1, 4, {7, 8, 1, 2, 11, 12}},   // source left of the bitmap: the first pixels are skipped
      {0, 0, 4, 0, 4, {1, 2, 3, 4, 1, 2}},      // destination runs out first
      {0, 2, 0, 0, 4, {1, 2, 3, 4, 5, 6}},      // row outside: nothing
      {0, 0, 0, -1, 4, {1, 2, 3, 4, 5, 6}},    {0, 0, 1, 0, -3, {1, 2, 3, 4, 5, 6}},
  };
  for (const Case& c : cases) {
    Bitmap b = Make(6, 2);
    for (int x = 0; x < 6; ++x) {
      Put(b.get(), x, 0, uint32_t(x + 1));
      Put(b.get(), x, 1, uint32_t(x + 7));
    }
    Rw_ncblit_linecopy(b.get(), short(c.sx), short(c.sy), short(c.dx), short(c.dy), short(c.n));
    std::vector<uint32_t> row;
    for (int x = 0; x < 6; ++x) row.push_back(Get(b.get(), x, c.dy == 1 ? 1 : 0));
    EXPECT_EQ(row, c.want) << c.sx << "," << c.sy << " -> " << c.dx << "," << c.dy << " n " << c.n;
  }
  Bitmap b = Make(4, 1);
  const uint32_t row[] = {kMagenta, 2, 3, 4};
  for (int x = 0; x < 4; ++x) Put(b.get(), x, 0, row[x]);
  Rw_ncdraw_linecopy(b.get(), 0, 0, 2, 0, 2);
  EXPECT_EQ(Pixels(b.get()), (std::vector<uint32_t>{kMagenta, 2, 3, 2}));
  blit_linecopy(b.get(), 1, 0, 0, 0, 3);
  EXPECT_EQ(Pixels(b.get()), (std::vector<uint32_t>{2, 3, 2, 2}));
}

TEST_F(CopiesTest, BinaryDotsReadBitsFromTheRight) {
  Bitmap b = Make(40, 2, kBack);
  Rw_ncdraw_binary_dots(b.get(), 2, 1, 0xFF000000u, 0xFFFFFFFFu, 1);
  EXPECT_EQ(Get(b.get(), 33, 1), 0xFFFFFFFFu);
  for (int x = 2; x < 33; ++x) EXPECT_EQ(Get(b.get(), x, 1), 0xFF000000u) << x;
  EXPECT_EQ(Get(b.get(), 1, 1), kBack);
  EXPECT_EQ(Get(b.get(), 34, 1), kBack);

  Rw_ncdraw_binary_dots(b.get(), 0, 0, 0xFFFF00FFu, 0x00000011u, 0x80000001u);
  EXPECT_EQ(Get(b.get(), 0, 0), 0x11u);
  EXPECT_EQ(Get(b.get(), 31, 0), 0x11u);
  EXPECT_EQ(Get(b.get(), 15, 0), kBack);

  // Partly outside on either side: only the pixels inside change.
  Bitmap narrow = Make(8, 1, kBack);
  Rw_ncdraw_binary_dots(narrow.get(), -28, 0, 5, 6, 0x1);
  EXPECT_EQ(Pixels(narrow.get()), (std::vector<uint32_t>{5, 5, 5, 6, kBack, kBack, kBack, kBack}));
  Rw_ncdraw_binary_dots(narrow.get(), 6, 0, 5, 6, 0x80000000u);
  EXPECT_EQ(Get(narrow.get(), 6, 0), 6u);
  // A row outside the bitmap, or no bitmap: nothing changes.
  const std::vector<uint32_t> before = Pixels(narrow.get());
  Rw_ncdraw_binary_dots(narrow.get(), 0, 1, 5, 6, 0);
  Rw_ncdraw_binary_dots(narrow.get(), 0, -1, 5, 6, 0xFFFFFFFFu);
  EXPECT_EQ(Pixels(narrow.get()), before);
  Rw_ncdraw_binary_dots(nullptr, 0, 0, 5, 6, 0);  // must not crash (the sanitizers watch)
}

TEST_F(CopiesTest, LineStretchesFillTheRectangle) {
  Bitmap column = Make(1, 3);
  for (int y = 0; y < 3; ++y) Put(column.get(), 0, y, 0xA0u + uint32_t(y));
  for (int dw : {0, -1, -32768}) {
    Bitmap b = Make(6, 5, kBack);
    Rw_ncblit_vlinestretch(column.get(), b.get(), 1, 1, short(dw));
    EXPECT_EQ(Pixels(b.get()), std::vector<uint32_t>(30, kBack)) << dw;
  }
  Bitmap b = Make(6, 5, kBack);
  Rw_ncblit_vlinestretch(column.get(), b.get(), 1, 1, 4);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x) {
      const bool inside = x >= 1 && x <= 4 && y >= 1 && y <= 3;
      EXPECT_EQ(Get(b.get(), x, y), inside ? 0xA0u + uint32_t(y - 1) : kBack) << x << "," << y;
    }
  // Off the right and bottom edges: clipped.
  Rw_ncblit_vlinestretch(column.get(), b.get(), 4, 3, 10);
  EXPECT_EQ(Get(b.get(), 5, 4), 0xA1u);

  Bitmap row = MakePattern(3, 2);
  Bitmap h = Make(5, 5, kBack);
  Rw_ncblit_hlinestretch(row.get(), h.get(), 3, -1, 4);
  EXPECT_EQ(Get(h.get(), 3, 0), Pattern(0, 0));
  EXPECT_EQ(Get(h.get(), 4, 2), Pattern(1, 0));
  EXPECT_EQ(Get(h.get(), 3, 3), kBack);
  Rw_ncblit_hlinestretch(row.get(), h.get(), 0, 0, 0);
  EXPECT_EQ(Get(h.get(), 0, 0), kBack);
}

TEST_F(CopiesTest, StretchTablePointsAtScaledSourcePixels) {
  Bitmap src = MakePattern(4, 2);
  Rw_StretchTable* t = Rw_create_stretch_table(src.get(), 8, 3);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->length, 24u);
  EXPECT_EQ(t->width, 8u);
  EXPECT_EQ(t->height, 3u);
  EXPECT_EQ(*t->ptrs[0], Pattern(0, 0));
  EXPECT_EQ(*t->ptrs[3], Pattern(1, 0));
  EXPECT_EQ(*t->ptrs[8 + 7], Pattern(3, 0));   // row 1: 1 * 2 / 3 = 0
  EXPECT_EQ(*t->ptrs[16 + 5], Pattern(2, 1));  // row 2: 2 * 2 / 3 = 1

  Bitmap dst = Make(8, 4, kBack);
  Rw_ncblit_stretched_video(t, dst.get(), 0, 1);
  EXPECT_EQ(Get(dst.get(), 0, 0), kBack);
  EXPECT_EQ(Get(dst.get(), 7, 1), Pattern(3, 0));
  EXPECT_EQ(Get(dst.get(), 5, 3), Pattern(2, 1));
  Bitmap small = Make(3, 2, kBack);
  Rw_ncblit_stretched_video(t, small.get(), -2, -1);
  EXPECT_EQ(Get(small.get(), 0, 0), *t->ptrs[8 + 2]);
  EXPECT_EQ(Get(small.get(), 2, 1), *t->ptrs[16 + 4]);
  Rw_destroy_stretch_table(t);

  EXPECT_EQ(Rw_create_stretch_table(src.get(), 0, 3), nullptr);
  EXPECT_EQ(Rw_create_stretch_table(src.get(), 3, -1), nullptr);
  EXPECT_EQ(Rw_create_stretch_table(nullptr, 3, 3), nullptr);
  Rw_destroy_stretch_table(nullptr);
}

TEST_F(CopiesTest, PerPixelMaskFollowsTheSourcePixels) {
  Bitmap src = MakePattern(3, 2);
  Put(src.get(), 2, 1, kMagenta);
  bool mask[32 * 2] = {};
  mask[0] = mask[2] = mask[32 + 1] = mask[32 + 2] = true;
  Bitmap shown = Make(3, 2, kBack), hidden = Make(3, 2, kBack), mirrored = Make(3, 2, kBack);
  Rw_drawvhm(src.get(), shown.get(), 0, 0, 0, mask, true);
  Rw_drawvhm(src.get(), hidden.get(), 0, 0, 0, mask, false);
  Rw_drawvhm(src.get(), mirrored.get(), 0, 0, 1, mask, true);
  EXPECT_EQ(Pixels(shown.get()),
            (std::vector<uint32_t>{Pattern(0, 0), kBack, Pattern(2, 0), kBack, Pattern(1, 1), kBack}));
  EXPECT_EQ(Pixels(hidden.get()), (std::vector<uint32_t>{kBack, Pattern(1, 0), kBack, Pattern(0, 1), kBack, kBack}));
  EXPECT_EQ(Pixels(mirrored.get()),
            (std::vector<uint32_t>{Pattern(2, 0), kBack, Pattern(0, 0), kBack, Pattern(1, 1), kBack}));

  Bitmap add = Make(3, 2, 0x000000F0u);
  Rw_drawvhm_add(src.get(), add.get(), 0, 0, 0, mask, true);
  EXPECT_EQ(Get(add.get(), 0, 0), 0xFF0000F1u);
  EXPECT_EQ(Get(add.get(), 1, 0), 0x000000F0u);
  Bitmap lum = Make(3, 2, 0xFFFFFFFFu);
  Rw_drawvhm_luminance(src.get(), lum.get(), 0, 0, 0, mask, false);
  EXPECT_EQ(Get(lum.get(), 1, 0), 0xFE000002u);  // 0xFF000003 multiplied into white
  // Without a mask nothing is drawn.
  Bitmap untouched = Make(3, 2, kBack);
  Rw_drawvhm(src.get(), untouched.get(), 0, 0, 0, nullptr, true);
  EXPECT_EQ(Pixels(untouched.get()), std::vector<uint32_t>(6, kBack));
}

TEST_F(CopiesTest, PerPixelMaskNeverReadsPastItsRowOf32) {
  Bitmap wide = Make(40, 1, 0xFF123456u);
  bool mask[32];
  std::fill(std::begin(mask), std::end(mask), true);
  Bitmap dst = Make(40, 1, kBack);
  Rw_drawvhm(wide.get(), dst.get(), 0, 0, 0, mask, true);
  EXPECT_EQ(Get(dst.get(), 31, 0), 0xFF123456u);
  EXPECT_EQ(Get(dst.get(), 32, 0), kBack);
}

TEST_F(CopiesTest, FrameBlocksClipToThe256x224Frame) {
  Bitmap tile = MakePattern(40, 40);
  Put(tile.get(), 1, 0, kMagenta);
  struct Case {
    void (*draw)(BITMAP*, BITMAP*, short, short);
    int block;
  };
  const Case cases[] = {{Rw_draw_16x16_to_256x224, 16},
                        {Rw_draw_32x32_to_256x224, 32},
                        {Rw_ncdraw_16x16_to_256x224, 16},
                        {Rw_ncdraw_32x32_to_256x224, 32}};
  for (const Case& c : cases) {
    Bitmap dst = Make(300, 240, kBack);
    c.draw(tile.get(), dst.get(), 250, 220);
    EXPECT_EQ(Get(dst.get(), 250, 220), Pattern(0, 0));
    EXPECT_EQ(Get(dst.get(), 251, 220), kBack);  // mask pixel
    EXPECT_EQ(Get(dst.get(), 255, 223), Pattern(5, 3));
    EXPECT_EQ(Get(dst.get(), 256, 220), kBack);
    EXPECT_EQ(Get(dst.get(), 250, 224), kBack);
    c.draw(tile.get(), dst.get(), -3, -2);
    EXPECT_EQ(Get(dst.get(), 0, 0), Pattern(3, 2));
    EXPECT_EQ(Get(dst.get(), c.block - 4, c.block - 3), Pattern(c.block - 1, c.block - 1));
    EXPECT_EQ(Get(dst.get(), c.block - 3, 0), kBack);
    Bitmap small = Make(8, 8, kBack);
    c.draw(tile.get(), small.get(), 4, 4);
    EXPECT_EQ(Get(small.get(), 7, 7), Pattern(3, 3));
  }
}

}  // namespace
