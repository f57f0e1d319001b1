#include "modes/colour15.h"

#include <gtest/gtest.h>

#include <string>

#include "level/snesbitmap.h"

namespace {

// An 8-bit channel goes to the 5-bit value whose shown value (v * 8) lies
// nearest; a tie goes up; 252-255 have no nearer value than 31.
TEST(Colour15, ChannelsRoundToTheNearestShownLevel) {
  struct Case {
    int c8;
    int c5;
  };
  const Case cases[] = {
      {0, 0},    {3, 0},                                                            // below the middle between 0 and 8
      {4, 1},    {7, 1},                                                            // the middle goes up
      {8, 1},    {11, 1},   {12, 2},                                                // a shown value and the next middle
      {127, 16}, {128, 16}, {131, 16}, {132, 17}, {243, 30}, {244, 31}, {248, 31},  // 248 is how 31 is shown
      {252, 31}, {255, 31},                                                         // nothing above 31
  };
  for (const Case& c : cases) EXPECT_EQ(Channel5From8(c.c8), c.c5) << c.c8;
}

TEST(Colour15, EveryShownColourComesBackUnchanged) {
  for (unsigned v = 0; v < 0x8000; v += 0x0421 / 3 + 1) {
    const unsigned long shown = snespal2rgba(static_cast<unsigned short>(v));
    const int r = static_cast<int>(shown >> 16 & 0xFF), g = static_cast<int>(shown >> 8 & 0xFF),
              b = static_cast<int>(shown & 0xFF);
    EXPECT_EQ(Colour15FromRgb(r, g, b), v) << std::hex << v;
  }
  for (int c5 = 0; c5 < 32; ++c5) EXPECT_EQ(Channel5From8(c5 * 8), c5);
}

TEST(Colour15, ChannelsLandInTheirBits) {
  struct Case {
    const char* text;
    unsigned short colour;
  };
  const Case cases[] = {
      {"#FF0000", 0x001F}, {"#00FF00", 0x03E0},
      {"#0000FF", 0x7C00}, {"#FFFFFF", 0x7FFF},
      {"#000000", 0x0000}, {"#f80408", 0x0400 | 0x0020 | 0x001F},  // lower case; 4 and 8 both give 1
  };
  for (const Case& c : cases) {
    int r = -1, g = -1, b = -1;
    ASSERT_TRUE(ParseRrggbb(c.text, r, g, b)) << c.text;
    EXPECT_EQ(Colour15FromRgb(r, g, b), c.colour) << c.text;
  }
}

TEST(Colour15, OnlyHashAndSixHexDigitsParse) {
  for (const char* text : {"", "#", "FF0000", "#FF000", "#FF00000", "#GG0000", " #FF0000", "#FF 000", "cancel"}) {
    int r = 7, g = 7, b = 7;
    EXPECT_FALSE(ParseRrggbb(text, r, g, b)) << text;
    EXPECT_EQ(r + g + b, 21) << "outputs changed for " << text;
  }
}

TEST(Colour15, TheDialogStartsFromTheShownColour) {
  EXPECT_EQ(RrggbbOfColour15(0x001F), "#F80000");
  EXPECT_EQ(RrggbbOfColour15(0x7C00), "#0000F8");
  EXPECT_EQ(RrggbbOfColour15(0x8000 | 0x03E0), "#00F800");  // bit 15 ignored
  EXPECT_EQ(RrggbbOfColour15(0x0421), "#080808");
}

}  // namespace
