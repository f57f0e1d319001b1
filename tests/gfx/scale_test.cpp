#include "gfx/scale.h"

#include "tests/gfx/gfx_support.h"

namespace {

using namespace gfxtest;

constexpr uint32_t kUntouched = 0xFF123456;

// Checks every pixel of `dest` against what the reference mapping says: the
// source pixel it shows, or kUntouched outside the copied area.
template <typename Source>
void ExpectPixels(BITMAP* dest, Source source) {
  int wrong = 0;
  for (int y = 0; y < dest->h; ++y)
    for (int x = 0; x < dest->w; ++x) {
      const uint32_t want = source(x, y);
      if (Get(dest, x, y) != want && wrong++ < 3) ADD_FAILURE() << "pixel " << x << "," << y;
    }
  EXPECT_EQ(wrong, 0);
}

class ScaleTest : public GfxTest {};

// Every source pixel becomes a factor x factor block; the copy is clipped to
// the source area and to the destination on all four sides.
TEST_F(ScaleTest, EnlargedCopiesBlocksAndClips) {
  struct Case {
    int sx, sy, w, h, dx, dy, factor;
  };
  const Case cases[] = {
      {0, 0, 10, 7, 0, 0, 1},   {0, 0, 10, 7, 0, 0, 2},  {2, 1, 5, 4, 3, 2, 3},   {0, 0, 10, 7, -3, -5, 2},
      {0, 0, 10, 7, 25, 17, 4}, {4, 3, 9, 9, -1, -1, 3}, {-2, -1, 4, 4, 0, 0, 2}, {0, 0, 10, 7, 31, 23, 2},
  };
  const Bitmap src = MakePattern(10, 7);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "from " << c.sx << "," << c.sy << " to " << c.dx << "," << c.dy << " x"
                                    << c.factor);
    const Bitmap dest = Make(32, 24, kUntouched);
    Rw_blit_enlarged(src.get(), c.sx, c.sy, c.w, c.h, dest.get(), c.dx, c.dy, c.factor);
    ExpectPixels(dest.get(), [&](int x, int y) {
      if (x < c.dx || y < c.dy) return kUntouched;
      const int col = c.sx + (x - c.dx) / c.factor, row = c.sy + (y - c.dy) / c.factor;
      if (col >= c.sx + c.w || row >= c.sy + c.h || col < 0 || row < 0 || col >= 10 || row >= 7) return kUntouched;
      return Pattern(col, row);
    });
  }
  // Factors outside 1-4 copy nothing.
  const Bitmap dest = Make(8, 8, kUntouched);
  Rw_blit_enlarged(src.get(), 0, 0, 4, 4, dest.get(), 0, 0, 5);
  Rw_blit_enlarged(src.get(), 0, 0, 4, 4, dest.get(), 0, 0, 0);
  ExpectPixels(dest.get(), [](int, int) { return kUntouched; });
}

// Destination pixel (i, j) shows source pixel (sx + step i, sy + step j):
// nothing is drawn where that lies outside the source or the destination.
TEST_F(ScaleTest, SampledTakesEveryStepthPixelAndClips) {
  struct Case {
    int sx, sy, dx, dy, dw, dh, step;
  };
  const Case cases[] = {
      {0, 0, 0, 0, 32, 24, 1},   {0, 0, 0, 0, 32, 24, 2},  {1, 3, 2, 1, 32, 24, 4},  {0, 0, -2, -3, 10, 10, 2},
      {-5, -4, 0, 0, 32, 24, 2}, {0, 0, 28, 20, 10, 10, 3}, {37, 0, 0, 0, 10, 10, 2}, {0, 0, 0, 0, 3, 2, 4},
  };
  const Bitmap src = MakePattern(40, 30);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "from " << c.sx << "," << c.sy << " to " << c.dx << "," << c.dy << " step "
                                    << c.step);
    const Bitmap dest = Make(32, 24, kUntouched);
    Rw_blit_sampled(src.get(), c.sx, c.sy, dest.get(), c.dx, c.dy, c.dw, c.dh, c.step);
    ExpectPixels(dest.get(), [&](int x, int y) {
      const int i = x - c.dx, j = y - c.dy;
      if (i < 0 || j < 0 || i >= c.dw || j >= c.dh) return kUntouched;
      const int col = c.sx + c.step * i, row = c.sy + c.step * j;
      if (col < 0 || row < 0 || col >= 40 || row >= 30) return kUntouched;
      return Pattern(col, row);
    });
  }
}

}  // namespace
