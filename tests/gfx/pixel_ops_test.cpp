// Whole-bitmap pixel operations and the light cones.

#include "tests/gfx/gfx_support.h"

using namespace gfxtest;

namespace {

class PixelOpsTest : public GfxTest {};

TEST_F(PixelOpsTest, ByteOperationsGiveExactPixels) {
  struct Case {
    const char* name;
    void (*op)(BITMAP*);
    uint32_t before, after;
  };
  const Case cases[] = {
      {"ADDg saturates alpha too", [](BITMAP* b) { Rw_bmp_ADDg_32(b, 0x20); }, 0xF0E01000u, 0xFFFF3020u},
      {"ADD keeps alpha", [](BITMAP* b) { Rw_bmp_ADD_32(b, 0xFF203040); }, 0xF0F01020u, 0xF0FF4060u},
      {"ADD channel order", [](BITMAP* b) { Rw_bmp_ADD_32(b, 0x00010203); }, 0x00000000u, 0x00010203u},
      {"SUB", [](BITMAP* b) { Rw_bmp_SUB_32(b, 0x20); }, 0x10302040u, 0x00100020u},
      {"NOT", [](BITMAP* b) { Rw_bmp_NOT_32(b); }, 0x12345678u, 0xEDCBA987u},
      {"AND", [](BITMAP* b) { Rw_bmp_AND_32(b, 0x0F); }, 0x12345678u, 0x02040608u},
      {"OR", [](BITMAP* b) { Rw_bmp_OR_32(b, 0x0F); }, 0x12345678u, 0x1F3F5F7Fu},
      {"XOR", [](BITMAP* b) { Rw_bmp_XOR_32(b, 0xFF); }, 0x12345678u, 0xEDCBA987u},
      {"PCT", [](BITMAP* b) { Rw_bmp_PCT_32(b, 0x80); }, 0xFF800201u, 0x7F400100u},
  };
  for (const Case& c : cases) {
    Bitmap b = Make(3, 2, c.before);
    c.op(b.get());
    EXPECT_EQ(Pixels(b.get()), std::vector<uint32_t>(6, c.after)) << c.name;
  }
}

TEST_F(PixelOpsTest, RecolourKeepsMagentaAndYellowWhateverTheirAlpha) {
  const std::vector<uint32_t> before{0x00FF00FFu, 0xFFFF00FFu, 0x00FFFF00u, 0x80FFFF00u,
                                     0xFF000000u, 0x00000000u, 0x00FF00FEu, 0x00FFFF01u};
  Bitmap b = Make(8, 1);
  for (int x = 0; x < 8; ++x) Put(b.get(), x, 0, before[x]);
  Rw_bmp_REC_32(b.get(), 0xFF123456u);
  const uint32_t c = 0xFF123456u;
  EXPECT_EQ(Pixels(b.get()), (std::vector<uint32_t>{0x00FF00FFu, 0xFFFF00FFu, 0x00FFFF00u, 0x80FFFF00u, c, c, c, c}));
}

TEST_F(PixelOpsTest, HueOperationsSkipMaskAndWriteAlphaZero) {
  struct Case {
    const char* name;
    void (*op)(BITMAP*);
    uint32_t before, after;
  };
  const Case cases[] = {
      {"HUE red to green", [](BITMAP* b) { Rw_bmp_HUE_32(b, 120.0f); }, 0xFFFF0000u, 0x0000FF00u},
      {"HUE held at 360", [](BITMAP* b) { Rw_bmp_HUE_32(b, 480.0f); }, 0xFF0000FFu, 0x00FF0000u},
      {"HUE mask untouched", [](BITMAP* b) { Rw_bmp_HUE_32(b, 120.0f); }, 0x80FF00FFu, 0x80FF00FFu},
      {"IHS red plus 240 is blue", [](BITMAP* b) { Rw_bmp_IHS_32(b, 240.0f, 1.0f); }, 0xFFFF0000u, 0x000000FFu},
      {"IHS wraps past 360", [](BITMAP* b) { Rw_bmp_IHS_32(b, 480.0f, 1.0f); }, 0xFFFF0000u, 0x0000FF00u},
      {"IHS saturation held at 0", [](BITMAP* b) { Rw_bmp_IHS_32(b, 0.0f, -2.0f); }, 0xFFFF0000u, 0x00FFFFFFu},
      {"IHSC hue held at the upper bound", [](BITMAP* b) { Rw_bmp_IHSC_32(b, 200.0f, 0.0f, 120.0f, 1.0f); },
       0xFFFF0000u, 0x0000FF00u},
      {"IHSC hue held at the lower bound", [](BITMAP* b) { Rw_bmp_IHSC_32(b, 0.0f, 120.0f, 240.0f, 1.0f); },
       0xFFFF0000u, 0x0000FF00u},
  };
  for (const Case& c : cases) {
    Bitmap b = Make(2, 2, c.before);
    c.op(b.get());
    EXPECT_EQ(Pixels(b.get()), std::vector<uint32_t>(4, c.after)) << c.name;
  }
}

TEST_F(PixelOpsTest, OperationsIgnoreNullAndSubBitmapBorders) {
  Rw_bmp_NOT_32(nullptr);
  Rw_bmp_HUE_32(nullptr, 10.0f);
  Bitmap parent = Make(6, 6, 0x11111111u);
  Bitmap view(create_sub_bitmap(parent.get(), 1, 1, 3, 3));
  Rw_bmp_NOT_32(view.get());
  EXPECT_EQ(Get(parent.get(), 1, 1), 0xEEEEEEEEu);
  EXPECT_EQ(Get(parent.get(), 3, 3), 0xEEEEEEEEu);
  EXPECT_EQ(Get(parent.get(), 4, 3), 0x11111111u);
  EXPECT_EQ(Get(parent.get(), 0, 1), 0x11111111u);
}

TEST_F(PixelOpsTest, LightConePointsAlongItsCompassAngle) {
  // A cone 90 degrees wide pointing up, radius 20, nothing within 5 of the centre.
  Bitmap hl(prerender_efx_highlight(90.0, 20, 5, 0.0, 0xFFFFFFFFu));
  ASSERT_NE(hl, nullptr);
  EXPECT_EQ(hl->w, 41);
  EXPECT_EQ(hl->h, 41);
  EXPECT_EQ(Get(hl.get(), 20, 10), 0x80808080u);  // half way: half the colour
  EXPECT_EQ(Get(hl.get(), 20, 17), 0u);           // inside the cut radius
  EXPECT_EQ(Get(hl.get(), 20, 30), 0u);           // behind the centre
  EXPECT_EQ(Get(hl.get(), 30, 20), 0u);           // to the right: outside the cone

  Bitmap lum(prerender_efx_luminance(90.0, 20, 0, 90.0, 0xFFFFFFFFu, 0xFF404040u));
  ASSERT_NE(lum, nullptr);
  EXPECT_EQ(Get(lum.get(), 0, 0), 0xFF404040u);
  EXPECT_EQ(Get(lum.get(), 20, 20), 0xFFFFFFFFu);
  EXPECT_EQ(Get(lum.get(), 30, 20), 0xFFA0A0A0u);  // radius 10 of 20, to the right
  EXPECT_EQ(Get(lum.get(), 10, 20), 0xFF404040u);

  EXPECT_EQ(prerender_efx_highlight(90.0, 0, 0, 0.0, 1), nullptr);
}

}  // namespace
