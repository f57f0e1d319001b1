// The multiplication table and the geometry helpers.

#include "tests/gfx/gfx_support.h"

#include <climits>

using namespace gfxtest;

namespace {

class ExMathTest : public GfxTest {};

TEST_F(ExMathTest, PercentageTableIsProductOver256Truncated) {
  EXPECT_EQ(PercentageOfValue256[255][255], 254);
  EXPECT_EQ(PercentageOfValue256[128][2], 1);
  EXPECT_EQ(PercentageOfValue256[2][128], 1);
  EXPECT_EQ(PercentageOfValue256[255][1], 0);
  EXPECT_EQ(PercentageOfValue256[200][100], 78);
  for (int x = 0; x < 256; ++x) {
    EXPECT_EQ(PercentageOfValue256[x][0], 0);
    EXPECT_EQ(PercentageOfValue256[0][x], 0);
  }
}

TEST(ExMath, IntegerSquareRootIsTheLargestRootNotAbove) {
  struct Case {
    unsigned long n, root;
  };
  const Case cases[] = {{0, 0},
                        {1, 1},
                        {2, 1},
                        {3, 1},
                        {4, 2},
                        {15, 3},
                        {16, 4},
                        {17, 4},
                        {65535, 255},
                        {65536, 256},
                        {4294967295ul, 65535},
                        {4294967296ul, 65536},
                        {ULONG_MAX, 4294967295ul}};
  for (const Case& c : cases) EXPECT_EQ(EXM_isqrt(c.n), c.root) << c.n;
}

TEST(ExMath, CompassAngleFromPointToPoint) {
  struct Case {
    double x1, y1, x2, y2, angle;
  };
  const Case cases[] = {
      {0, 0, 0, 0, 0},   {0, 0, 0, -5, 0},  {0, 0, 3, 0, 90},   {0, 0, 0, 2, 180},   {0, 0, -1, 0, 270},
      {0, 0, 1, -1, 45}, {0, 0, 1, 1, 135}, {0, 0, -1, 1, 225}, {0, 0, -1, -1, 315}, {5, 5, 6, 4, 45},
  };
  for (const Case& c : cases) EXPECT_NEAR(AngleTwoPoints(c.x1, c.y1, c.x2, c.y2), c.angle, 1e-6) << c.x2 << "," << c.y2;
}

TEST(ExMath, SixteenSectorsCentredOnZero) {
  struct Case {
    double angle;
    int sector;
  };
  const Case cases[] = {{0, 0},   {11.2, 0},   {11.25, 1},  {33.74, 1}, {33.75, 2}, {90, 4},
                        {180, 8}, {348.7, 15}, {348.75, 0}, {359, 0},   {-5, 0}};
  for (const Case& c : cases) EXPECT_EQ(GetSector(c.angle), c.sector) << c.angle;
}

TEST(ExMath, FixedPointSinAndCosRoundToWholePixels) {
  EXPECT_EQ(EXM_sin(90, 1), 256);
  EXPECT_EQ(EXM_cos(0, 1), -256);
  EXPECT_EQ(EXM_sin(0, 10), 0);
  EXPECT_EQ(EXM_cos(0, 10), -2560);
  EXPECT_EQ(EXM_sin(30, 3.02), 512);  // 1.51 rounds up to 2 pixels
  EXPECT_EQ(EXM_sin(30, 2.9), 256);   // 1.45 drops its fraction
  EXPECT_EQ(EXM_cos(180, 4), 1024);
  EXPECT_EQ(double2hex(1.5), 384);
  EXPECT_EQ(double2hex(-1.999), -511);
  EXPECT_EQ(double2hex(1e300), INT_MAX);
  EXPECT_EQ(double2hex(-1e300), INT_MIN);
  EXPECT_DOUBLE_EQ(hex2double(384), 1.5);
  EXPECT_DOUBLE_EQ(hex2double(-1), -0.00390625);
}

TEST(ExMath, DistancesAndArctangent) {
  EXPECT_EQ(EXM_sqdist(1, 2, 4, 6), 25);
  EXPECT_EQ(EXM_sqdist(4, 6, 1, 2), 25);
  EXPECT_EQ(EXM_sqdist(LONG_MIN, 0, LONG_MAX, 0), LONG_MAX);
  EXPECT_EQ(EXM_sqdist(0, 0, 3037000499L, 0), 3037000499L * 3037000499L);
  EXPECT_DOUBLE_EQ(EXM_distance(1, 2, 4, 6), 5.0);
  EXPECT_NEAR(arctangent(1, 1), 45.0, 1e-6);
  EXPECT_NEAR(arctangent(-1, 1), -45.0, 1e-6);
}

}  // namespace
