// Clipping, mirroring, masking and pixel combination of the sprite routines, checked
// against a per-pixel model: the sprite mirrored as a whole, placed at (dx, dy), and clipped.

#include "tests/gfx/gfx_support.h"

#include <algorithm>
#include <functional>
#include <string>

using namespace gfxtest;

namespace {

using Draw = std::function<void(BITMAP* src, BITMAP* dest, short dx, short dy, short flip)>;
using Combine = std::function<uint32_t(uint32_t d, uint32_t s)>;

uint32_t ByteWise(uint32_t d, uint32_t s, int (*f)(int, int)) {
  uint32_t out = 0;
  for (int k = 0; k < 4; ++k) out |= uint32_t(f((d >> 8 * k) & 0xFF, (s >> 8 * k) & 0xFF)) << 8 * k;
  return out;
}

uint32_t ModelAdd(uint32_t d, uint32_t s) {
  return ByteWise(d, s, [](int a, int b) { return std::min(a + b, 255); });
}
uint32_t ModelSub(uint32_t d, uint32_t s) {
  return ByteWise(d, s, [](int a, int b) { return std::max(a - b, 0); });
}
uint32_t ModelLum(uint32_t d, uint32_t s) {
  return ByteWise(d, s, [](int a, int b) { return a * b / 256; });
}
uint32_t ModelInvSub(uint32_t d, uint32_t s) {
  const int sb = s & 0xFF, sg = (s >> 8) & 0xFF, sr = (s >> 16) & 0xFF;
  const int b = std::max(int(d & 0xFF) - sg - sr, 0), g = std::max(int((d >> 8) & 0xFF) - sr - sb, 0),
            r = std::max(int((d >> 16) & 0xFF) - sb - sg, 0);
  return (d & 0xFF000000u) | uint32_t(r << 16 | g << 8 | b);
}

bool MaskRGB(uint32_t p) { return (p & 0xFFFFFF) == 0xFF00FF; }

struct Routine {
  std::string name;
  Draw draw;
  Combine combine;
  bool masked;
  bool mirrors;
  int blockW, blockH;  // source area the routine reads (0 = whole source)
};

// A per-pixel mask that shows everything, for sources up to 64 rows.
const bool* AllShown() {
  static bool mask[32 * 64];
  std::fill(std::begin(mask), std::end(mask), true);
  return mask;
}

std::vector<Routine> Routines() {
  const Combine copy = [](uint32_t, uint32_t s) { return s; };
  auto noFlip = [](void (*f)(BITMAP*, BITMAP*, short, short)) {
    return [f](BITMAP* s, BITMAP* d, short x, short y, short) { f(s, d, x, y); };
  };
  return {
      {"Rw_drawvh", Rw_drawvh, copy, true, true, 0, 0},
      {"Rw_drawvh_add", Rw_drawvh_add, ModelAdd, true, true, 0, 0},
      {"Rw_drawvh_subtract", Rw_drawvh_subtract, ModelSub, true, true, 0, 0},
      {"Rw_drawvh_invsub", Rw_drawvh_invsub, ModelInvSub, true, true, 0, 0},
      {"Rw_drawvh_luminance", Rw_drawvh_luminance, ModelLum, true, true, 0, 0},
      {"Rw_drawvhxc", Rw_drawvhxc, copy, false, true, 0, 0},
      {"Rw_drawvhxc_add", Rw_drawvhxc_add, ModelAdd, true, true, 0, 0},
      {"Rw_drawvhm",
       [](BITMAP* s, BITMAP* d, short x, short y, short f) { Rw_drawvhm(s, d, x, y, f, AllShown(), true); }, copy, true,
       true, 32, 0},
      {"Rw_drawvhm_add",
       [](BITMAP* s, BITMAP* d, short x, short y, short f) { Rw_drawvhm_add(s, d, x, y, f, AllShown(), true); },
       ModelAdd, true, true, 32, 0},
      {"Rw_drawvhm_luminance",
       [](BITMAP* s, BITMAP* d, short x, short y, short f) { Rw_drawvhm_luminance(s, d, x, y, f, AllShown(), true); },
       ModelLum, true, true, 32, 0},
      {"Rw_draw_monochrome",
       [](BITMAP* s, BITMAP* d, short x, short y, short) { Rw_draw_monochrome(s, d, x, y, 0xFF282828); },
       [](uint32_t, uint32_t) { return 0xFF282828u; }, true, false, 0, 0},
      {"Rw_draw_subtracted",
       [](BITMAP* s, BITMAP* d, short x, short y, short) { Rw_draw_subtracted(s, d, x, y, 0x40); },
       [](uint32_t, uint32_t s) { return ModelSub(s, 0x40404040); }, true, false, 0, 0},
      {"Rw_blit", noFlip(Rw_blit), copy, false, false, 32, 32},
      {"Rw_draw", noFlip(Rw_draw), copy, true, false, 32, 32},
      {"Rw_draw_add", noFlip(Rw_draw_add), ModelAdd, true, false, 32, 32},
      {"Rw_ncblit", noFlip(Rw_ncblit), copy, false, false, 0, 0},
      {"Rw_ncdraw", noFlip(Rw_ncdraw), copy, true, false, 0, 0},
      {"Rw_draw_at", [](BITMAP* s, BITMAP* d, short x, short y, short) { Rw_draw_at(s, d, x, y); }, copy, true, false,
       0, 0},
      {"Rw_ncblit_luminance", noFlip(Rw_ncblit_luminance),
       [](uint32_t d, uint32_t s) { return (d & 0xFF000000u) | (ModelLum(d, s) & 0xFFFFFF); }, false, false, 0, 0},
      {"Rw_ncdraw_luminance", noFlip(Rw_ncdraw_luminance),
       [](uint32_t d, uint32_t s) { return (d & 0xFF000000u) | (ModelLum(d, s) & 0xFFFFFF); }, true, false, 0, 0},
  };
}

// Source with a few mask pixels of both alphas and colours that exercise every byte.
Bitmap MakeSprite(int w, int h) {
  Bitmap b = Make(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t c = 0x40000000u * uint32_t((x + y) & 3) | uint32_t(x * 37 + y * 11) << 16 | uint32_t(x * 5 + 0x70) << 8 |
                   uint32_t(y * 29 + 0x90);
      if ((x * 7 + y * 3) % 5 == 0) c = (x & 1) ? 0xFFFF00FFu : 0x00FF00FFu;
      Put(b.get(), x, y, c);
    }
  return b;
}

// Destination of size w x h as a sub-bitmap inside a parent with a 2-pixel sentinel border
// (left and right too when `sides`; without, the destination's rows form one run).
struct Framed {
  Bitmap parent;
  Bitmap view;
  int left;
  static constexpr uint32_t kSentinel = 0x5A5A5A5A;
  Framed(int w, int h, bool sides)
      : parent(Make(w + (sides ? 4 : 0), h + 4, kSentinel)),
        view(create_sub_bitmap(parent.get(), sides ? 2 : 0, 2, w, h)),
        left(sides ? 2 : 0) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) Put(view.get(), x, y, 0x80402010u + uint32_t(x * 3 + y * 7));
  }
  int BorderChanges() const {
    int changed = 0;
    for (int y = 0; y < parent->h; ++y)
      for (int x = 0; x < parent->w; ++x) {
        const bool inside = x >= left && y >= 2 && x < view->w + left && y < view->h + 2;
        if (!inside && Get(parent.get(), x, y) != kSentinel) ++changed;
      }
    return changed;
  }
};

// What the routine should leave in dest: the model drawn pixel by pixel.
std::vector<uint32_t> Expected(const Routine& rt, BITMAP* src, BITMAP* before, int dx, int dy, int flip) {
  const int sw = rt.blockW ? std::min(rt.blockW, src->w) : src->w;
  const int sh = rt.blockH ? std::min(rt.blockH, src->h) : src->h;
  const bool hf = rt.mirrors && (flip == 1 || flip == 3), vf = rt.mirrors && (flip == 2 || flip == 3);
  std::vector<uint32_t> out;
  for (int y = 0; y < before->h; ++y)
    for (int x = 0; x < before->w; ++x) {
      const uint32_t d = Get(before, x, y);
      const int c = x - dx, r = y - dy;
      if (c < 0 || r < 0 || c >= sw || r >= sh) {
        out.push_back(d);
        continue;
      }
      const uint32_t s = Get(src, hf ? sw - 1 - c : c, vf ? sh - 1 - r : r);
      out.push_back(rt.masked && MaskRGB(s) ? d : rt.combine(d, s));
    }
  return out;
}

class SpriteRoutineTest : public GfxTest {};

TEST_F(SpriteRoutineTest, EveryPositionAroundTheEdgesMatchesTheModel) {
  constexpr int kDW = 20, kDH = 14;
  for (const Routine& rt : Routines()) {
    for (auto [sw, sh] : {std::pair{7, 5}, std::pair{36, 34}, std::pair{1, 1}, std::pair{kDW, 6}}) {
      Bitmap src = MakeSprite(sw, sh);
      const int w = rt.blockW ? std::min(rt.blockW, sw) : sw, h = rt.blockH ? std::min(rt.blockH, sh) : sh;
      // x - 1, x, x + w - 1, x + w around both destination edges, and far outside.
      const std::vector<int> xs{-w - 1, -w, -w + 1, -1, 0, 1, kDW - w - 1, kDW - w, kDW - 1, kDW, -32768, 32767};
      const std::vector<int> ys{-h, -h + 1, -1, 0, kDH - h, kDH - 1, kDH, -32768, 32767};
      for (int flip : {0, 1, 2, 3, 7, -1}) {
        if (!rt.mirrors && flip != 0) continue;
        for (int dx : xs)
          for (int dy : ys)
            for (bool sides : {true, false}) {
              Framed dst(kDW, kDH, sides);
              Bitmap before = Make(kDW, kDH);
              blit(dst.view.get(), before.get(), 0, 0, 0, 0, kDW, kDH);
              rt.draw(src.get(), dst.view.get(), short(dx), short(dy), short(flip));
              SCOPED_TRACE(rt.name + " src " + std::to_string(sw) + "x" + std::to_string(sh) + " at (" +
                           std::to_string(dx) + ", " + std::to_string(dy) + ") flip " + std::to_string(flip) +
                           (sides ? " framed" : " one run"));
              ASSERT_EQ(Pixels(dst.view.get()), Expected(rt, src.get(), before.get(), dx, dy, flip));
              ASSERT_EQ(dst.BorderChanges(), 0);
            }
      }
    }
  }
}

TEST_F(SpriteRoutineTest, LeftClipOfAMirroredSpriteDropsTheColumnsMirroredOutside) {
  Bitmap src = MakePattern(12, 3);
  Bitmap dst = Make(8, 4);
  Rw_drawvh(src.get(), dst.get(), -5, 0, 0);
  EXPECT_EQ(Get(dst.get(), 0, 0), Pattern(5, 0));
  EXPECT_EQ(Get(dst.get(), 6, 2), Pattern(11, 2));
  EXPECT_EQ(Get(dst.get(), 7, 2), 0u);
  Rw_drawvh(src.get(), dst.get(), -5, 0, 1);
  EXPECT_EQ(Get(dst.get(), 0, 0), Pattern(12 - 6, 0));
  EXPECT_EQ(Get(dst.get(), 6, 1), Pattern(0, 1));
  EXPECT_EQ(Get(dst.get(), 7, 1), 0u);
}

TEST_F(SpriteRoutineTest, ModeSevenDrawsUnmirrored) {
  Bitmap src = MakePattern(5, 4);
  Bitmap a = Make(6, 6), b = Make(6, 6);
  Rw_drawvh(src.get(), a.get(), 1, 1, 7);
  Rw_drawvh(src.get(), b.get(), 1, 1, 0);
  EXPECT_EQ(Pixels(a.get()), Pixels(b.get()));
  EXPECT_EQ(Get(a.get(), 1, 1), Pattern(0, 0));
}

TEST_F(SpriteRoutineTest, MaskTestLooksOnlyAtTheLow24Bits) {
  struct Case {
    uint32_t src;
    bool transparent;
  };
  const Case cases[] = {{0x00FF00FFu, true},  {0xFFFF00FFu, true},  {0x7FFF00FFu, true},
                        {0x00FF00FEu, false}, {0x00FE00FFu, false}, {0xFFFF01FFu, false}};
  for (const Routine& rt : Routines()) {
    for (const Case& c : cases) {
      Bitmap src = Make(1, 1, c.src);
      Bitmap dst = Make(1, 1, 0x11223344u);
      rt.draw(src.get(), dst.get(), 0, 0, 0);
      const uint32_t want = rt.masked && c.transparent ? 0x11223344u : rt.combine(0x11223344u, c.src);
      EXPECT_EQ(Get(dst.get(), 0, 0), want) << rt.name << " src " << std::hex << c.src;
    }
  }
}

TEST_F(SpriteRoutineTest, DrawAtReachesPastTheSixteenBitRange) {
  // A 3 x 2 sprite straddling the right edge of a 40000-pixel-wide picture, at x + w - 1 and x + w:
  // the 16-bit routines would wrap the position to the far left.
  Bitmap src = MakePattern(3, 2);
  Bitmap dst = Make(40000, 2, 0x11223344u);
  Rw_draw_at(src.get(), dst.get(), 39998, 0);
  EXPECT_EQ(Get(dst.get(), 39997, 0), 0x11223344u);
  EXPECT_EQ(Get(dst.get(), 39998, 0), Pattern(0, 0));
  EXPECT_EQ(Get(dst.get(), 39999, 1), Pattern(1, 1));
  EXPECT_EQ(Get(dst.get(), 0, 0), 0x11223344u);
  Rw_draw_at(src.get(), dst.get(), 40000, -1);
  Rw_draw_at(src.get(), dst.get(), -40000, 0);
  EXPECT_EQ(Get(dst.get(), 0, 0), 0x11223344u);
  EXPECT_EQ(Get(dst.get(), 25536, 0), 0x11223344u);  // where -40000 wraps to in 16 bits
  EXPECT_EQ(Get(dst.get(), 39999, 1), Pattern(1, 1));
}

TEST_F(SpriteRoutineTest, CombinationsGiveExactBytes) {
  struct Case {
    void (*draw)(BITMAP*, BITMAP*, short, short, short);
    uint32_t dest, src, want;
  };
  const Case cases[] = {
      {Rw_drawvh_add, 0x000000A0u, 0x00000080u, 0x000000FFu},
      {Rw_drawvh_add, 0x10FF8001u, 0x01010180u, 0x11FF8181u},
      {Rw_drawvh_add, 0xFFFFFFFEu, 0xFFFFFF01u, 0xFFFFFFFFu},
      {Rw_drawvh_subtract, 0x10208040u, 0x20108050u, 0x00100000u},
      {Rw_drawvh_invsub, 0xAA808080u, 0x00102030u, 0xAA304050u},
      {Rw_drawvh_invsub, 0x00101010u, 0x00FF0000u, 0x00100000u},
      {Rw_drawvh_luminance, 0xFFFF8002u, 0xFF80FF80u, 0xFE7F7F01u},
  };
  for (const Case& c : cases) {
    Bitmap src = Make(1, 1, c.src), dst = Make(1, 1, c.dest);
    c.draw(src.get(), dst.get(), 0, 0, 0);
    EXPECT_EQ(Get(dst.get(), 0, 0), c.want) << std::hex << c.dest << " " << c.src;
  }
  Bitmap src = Make(1, 1, 0xFF80FF80u), dst = Make(1, 1, 0x12FF8002u);
  Rw_ncblit_luminance(src.get(), dst.get(), 0, 0);
  EXPECT_EQ(Get(dst.get(), 0, 0), 0x127F7F01u);
  Bitmap dark = Make(1, 1, 0xFF803010u);
  Rw_draw_subtracted(dark.get(), dst.get(), 0, 0, 0x40);
  EXPECT_EQ(Get(dst.get(), 0, 0), 0xBF400000u);
}

TEST_F(SpriteRoutineTest, NullAndNon32BitBitmapsAreLeftAlone) {
  Bitmap dst = Make(4, 4, 7);
  Bitmap src = Make(4, 4, 9);
  Bitmap eight(create_bitmap_ex(8, 4, 4));
  clear_to_color(eight.get(), 3);
  for (const Routine& rt : Routines()) {
    rt.draw(nullptr, dst.get(), 0, 0, 0);
    rt.draw(src.get(), nullptr, 0, 0, 0);
    rt.draw(eight.get(), dst.get(), 0, 0, 0);
    rt.draw(src.get(), eight.get(), 0, 0, 0);
    EXPECT_EQ(Pixels(dst.get()), std::vector<uint32_t>(16, 7u)) << rt.name;
    EXPECT_EQ(getpixel(eight.get(), 3, 3), 3) << rt.name;
  }
}

}  // namespace
