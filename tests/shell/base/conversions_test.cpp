#include <gtest/gtest.h>

#include <climits>

#include "shell/base/functions.h"

namespace {

TEST(Conversions, Int2HexStr) {
  struct Case {
    int value, digits;
    std::string text;
  };
  const Case cases[] = {
      {0x1A, 4, "001A"},           {-1, 2, "FF"},         {5, 0, ""},
      {0x12345678, 8, "12345678"}, {-1, 8, "FFFFFFFF"},   {0xABC, 2, "BC"},
      {INT_MIN, 8, "80000000"},    {0xF, 12, "0000000F"}, {7, -3, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(int2hexstr(c.value, c.digits), c.text) << c.value << "," << c.digits;
}

TEST(Conversions, Int2String) {
  struct Case {
    int value, digits;
    std::string text;
  };
  const Case cases[] = {
      {12, 1, "12"},
      {7, 3, "007"},
      {-1, 1, "-1"},
      {0, 1, "0"},
      {-7, 3, "-07"},  // zeros go after the sign
      {INT_MIN, 1, "-2147483648"},
      {123, 0, "123"},
  };
  for (const Case& c : cases) EXPECT_EQ(int2string(c.value, c.digits), c.text) << c.value << "," << c.digits;
}

TEST(Conversions, HexStr2Int) {
  struct Case {
    const char* text;
    int count, value;
  };
  const Case cases[] = {
      {"1A2B", 4, 0x1A2B}, {"1A2B", 2, 0x1A},
      {"1A2B", 0, 0},      {"1A", 8, 0x1A},  // stops at the end of the text, never reads past it
      {"FFFFFFFF", 8, -1}, {"1a", 2, 0x10},  // lower case is no digit
      {"G1", 2, 0x01},     {"00000000", 8, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(hexstr2int(c.text, c.count), c.value) << c.text << "," << c.count;
  EXPECT_EQ(hexstr2int(nullptr, 4), 0);
}

TEST(Conversions, Bool2String) {
  EXPECT_EQ(bool2string(2, "Yes", "No"), "Yes");
  EXPECT_EQ(bool2string(0, "Yes", "No"), "No");
  EXPECT_EQ(bool2string(-1, "on", "off"), "on");
}

TEST(MenuFont, StringLength) {
  struct Case {
    std::string text;
    int width;
  };
  const Case cases[] = {
      {"Open...", 37},
      {"", 0},
      {"W", 9},
      {"\x01\x1f", 0},  // control characters take no room
      {"a\xE9", 7 + kNMenuFontHighCharWidth},
      {"|~\x7F", 3 + 8 + 7},
  };
  for (const Case& c : cases) EXPECT_EQ(helio_stringlength(c.text), c.width) << c.text;
}

TEST(MenuFont, TableMatchesTheFontRows) {
  EXPECT_EQ(NMenuFontSizes[0x1F], 0);
  EXPECT_EQ(NMenuFontSizes[0x20], 7);
  EXPECT_EQ(NMenuFontSizes[0x23], 10);
  EXPECT_EQ(NMenuFontSizes[0x40], 9);
  EXPECT_EQ(NMenuFontSizes[0x57], 9);
  EXPECT_EQ(NMenuFontSizes[0x6D], 9);
  EXPECT_EQ(NMenuFontSizes[0x7E], 8);
  int sum = 0;
  for (unsigned char advance : NMenuFontSizes) sum += advance;
  EXPECT_EQ(sum, 630);
}

TEST(Version, TextFollowsTheGlobals) {
  EXPECT_EQ(mGetVersion(), "QBR Resource Editor v0.0.6.0    [Debug]");
  mVersion = 0x1A2F;
  mDebugVr = false;
  mExtraLt = std::string(1, 'b');
  mEditMde = 2;
  EXPECT_EQ(mGetVersion(), "QBR2 - QBR Resource Editor v1.A.2.Fb");
  mEditMde = 9;  // no such entry: the first name
  EXPECT_EQ(mGetVersion(), "QBR Resource Editor v1.A.2.Fb");
  mVersion = 0x0060;
  mDebugVr = true;
  mExtraLt.clear();
  mEditMde = 0;
}

TEST(Percentage, OfPixels) {
  struct Case {
    double pixels, total, value;
    int result;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {100, 200, 50, 25},   {100, 3, 1, 33},       {100, 200, 400, 100}, {100, 200, -5, 0},
      {100, 0, 50, 0},      {100, -1, 50, 0},      {100, nan, 50, 0},    {100, 200, nan, 0},
      {100, 200, inf, 100}, {1e12, 1, 1, INT_MAX}, {-10, 10, 5, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetPercentageOfPixels(c.pixels, c.total, c.value), c.result)
        << c.pixels << " " << c.total << " " << c.value;
  }
}

}  // namespace
