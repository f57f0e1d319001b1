#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "level/character_sheet.h"
#include "level/ex_gfx_QBR1.h"
#include "level/gimp_palette.h"
#include "level/png_indexed.h"
#include "tests/common/test_png.h"

namespace {

using Bytes = std::vector<unsigned char>;

constexpr std::size_t kLarge = 1 << 20;

bool Read(const Bytes& file, IndexedPicture& out, std::string& reason, std::size_t max_pixels = kLarge) {
  return QBR1_ReadIndexedPng(file.data(), file.size(), max_pixels, out, reason);
}

// Characters whose pixels count up: character n, pixel k has value (n + k) % 16.
Bytes CountingCharacters(int count) {
  Bytes chars(32 * static_cast<std::size_t>(count));
  for (int n = 0; n < count; ++n) {
    std::uint8_t px[64];
    for (int k = 0; k < 64; ++k) px[k] = static_cast<std::uint8_t>((n + k) % 16);
    QBR1_EncodeCharacter(px, chars.data() + 32 * n);
  }
  return chars;
}

TEST(IndexedPngTest, WrittenPicturesReadBackAsStored) {
  for (int highest : {15, 200}) {
    IndexedPicture p;
    p.w = 13, p.h = 5;
    for (int i = 0; i < p.w * p.h; ++i) p.pixels.push_back(static_cast<std::uint8_t>(i % (highest + 1)));
    const Bytes file = QBR1_IndexedPngBytes(p, {0x102030, 0xFFFFFF}, true);
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(file[24], highest < 16 ? 4 : 8) << "bit depth";
    EXPECT_EQ(file[25], 3) << "colour type";
    IndexedPicture back;
    std::string reason;
    ASSERT_TRUE(Read(file, back, reason)) << reason;
    EXPECT_EQ(back.w, p.w);
    EXPECT_EQ(back.h, p.h);
    EXPECT_EQ(back.pixels, p.pixels);
  }
}

TEST(IndexedPngTest, EveryIndexedDepthIsReadAndEverythingElseRefused) {
  for (int depth : {1, 2, 4, 8}) {
    TestPng png;
    png.w = 9, png.h = 3, png.depth = depth, png.palette_size = 1 << depth;
    for (int i = 0; i < 27; ++i) png.samples.push_back(static_cast<std::uint32_t>(i % (1 << depth)));
    IndexedPicture back;
    std::string reason;
    ASSERT_TRUE(Read(MakeTestPng(png), back, reason)) << depth << ": " << reason;
    EXPECT_EQ(std::vector<std::uint32_t>(back.pixels.begin(), back.pixels.end()), png.samples) << depth;
  }
  TestPng rgb;
  rgb.w = 2, rgb.h = 1, rgb.colour_type = 2, rgb.samples = {1, 2, 3, 4, 5, 6};
  TestPng grey;
  grey.w = 2, grey.h = 2, grey.colour_type = 0, grey.samples = {0, 1, 2, 3};
  TestPng big;
  big.w = 100, big.h = 100, big.samples.assign(10000, 0);
  Bytes truncated = MakeTestPng(big);
  truncated.resize(truncated.size() - 200);
  struct Case {
    const char* what;
    Bytes file;
    const char* reason;
  };
  const Case cases[] = {
      {"nothing", {}, "not a PNG file"},
      {"text", Bytes{'G', 'I', 'M', 'P', ' ', 'P', 'a', 'l', 'e', 't', 't', 'e'}, "not a PNG file"},
      {"RGB", MakeTestPng(rgb), "not an indexed-colour PNG (colour type 2)"},
      {"grey", MakeTestPng(grey), "not an indexed-colour PNG (colour type 0)"},
      {"cut short", truncated, "a damaged PNG file"},
  };
  for (const Case& c : cases) {
    IndexedPicture back;
    std::string reason;
    EXPECT_FALSE(Read(c.file, back, reason)) << c.what;
    EXPECT_EQ(reason.rfind(c.reason, 0), 0u) << c.what << ": " << reason;
    EXPECT_TRUE(back.pixels.empty()) << c.what;
  }
  IndexedPicture back;
  std::string reason;
  EXPECT_FALSE(Read(MakeTestPng(big), back, reason, 9999));
  EXPECT_EQ(reason, "a picture of 100 x 100 pixels is too large");
}

TEST(CharacterSheetTest, CharactersAndSheetsConvertBothWays) {
  const Bytes chars = CountingCharacters(20);
  const IndexedPicture sheet = QBR1_CharacterSheet(chars);
  ASSERT_EQ(sheet.w, 128);
  ASSERT_EQ(sheet.h, 16);
  // Character 17 sits in the second row, second column; its pixel (3, 2) is (17 + 19) % 16.
  EXPECT_EQ(sheet.At(8 + 3, 8 + 2), 4);
  // The row is filled up with characters of value 0.
  EXPECT_EQ(sheet.At(127, 15), 0);
  // Pixels as decoding shows them.
  std::uint8_t idx[64];
  QBR1_DecodeCharacter(RomView(chars.data(), chars.size()), 32 * 5, idx);
  for (int k = 0; k < 64; ++k) ASSERT_EQ(sheet.At(40 + k % 8, k / 8), idx[k]) << k;
  Bytes back;
  std::string reason;
  ASSERT_TRUE(QBR1_CharactersOfSheet(sheet, back, reason)) << reason;
  ASSERT_EQ(back.size(), 32u * 32);
  EXPECT_EQ(Bytes(back.begin(), back.begin() + 32 * 20), chars);
  EXPECT_EQ(Bytes(back.begin() + 32 * 20, back.end()), Bytes(32 * 12, 0));
}

TEST(CharacterSheetTest, SheetsOfAnotherShapeOrValueAreRefused) {
  const auto sheet = [](int w, int h) {
    IndexedPicture p;
    p.w = w, p.h = h, p.pixels.assign(static_cast<std::size_t>(w) * h, 3);
    return p;
  };
  IndexedPicture value16 = sheet(128, 16), value200 = sheet(128, 8);
  value16.pixels[9 * 128 + 70] = 16;
  value16.pixels[12 * 128 + 1] = 17;
  value200.pixels[5] = 200;
  struct Case {
    const char* what;
    IndexedPicture p;
    const char* reason;
  };
  const Case cases[] = {
      {"narrow", sheet(120, 8), "the picture is 120 pixels wide, a character sheet 128"},
      {"wide", sheet(136, 8), "the picture is 136 pixels wide, a character sheet 128"},
      {"part of a row", sheet(128, 12), "the picture is 12 pixels high, not a whole number of character rows (8 pixels)"},
      {"the first of two pixels above 15", value16, "pixel (70, 9) has the value 16; characters hold 0-15"},
      {"any value above 15", value200, "pixel (5, 0) has the value 200; characters hold 0-15"},
  };
  for (const Case& c : cases) {
    Bytes chars;
    std::string reason;
    EXPECT_FALSE(QBR1_CharactersOfSheet(c.p, chars, reason)) << c.what;
    EXPECT_EQ(reason, c.reason) << c.what;
  }
}

// A sheet's pixels go through its own palette to the row's indexes by colour; the same index
// where the row has that colour twice; values as stored when no used colour is the row's.
TEST(CharacterSheetTest, PixelsGoThroughTheSheetsPaletteToTheRow) {
  const std::vector<std::uint32_t> row = {0x000000, 0x111111, 0x222222, 0x111111};
  struct Case {
    const char* what;
    std::vector<std::uint32_t> palette;
    std::vector<std::uint8_t> pixels;  // a 4 x 1 picture
    std::vector<std::uint8_t> read;    // empty: refused
    const char* reason;
  };
  const Case cases[] = {
      {"the row itself", row, {0, 1, 2, 3}, {0, 1, 2, 3}, ""},
      {"reordered", {0x222222, 0x000000, 0x111111}, {0, 1, 2, 1}, {2, 0, 1, 0}, ""},
      {"a colour the row holds twice, at its own index", {0x000000, 0x999999, 0x999999, 0x111111}, {3, 0}, {3, 0}, ""},
      {"a colour the row does not hold", {0x000000, 0x123456}, {0, 0, 1, 0}, {},
       "pixel (2, 0) has the colour #123456, which is not one of the sheet's 4 palette colours"},
      {"an index past the palette", {0x000000}, {0, 5, 0, 0}, {},
       "pixel (1, 0) has the value 5, which the picture's palette does not hold"},
      {"a palette of its own", {0x0A0B0C, 0x0D0E0F, 0x101112}, {2, 1, 0, 2}, {2, 1, 0, 2}, ""},
  };
  for (const Case& c : cases) {
    IndexedPicture sheet;
    sheet.w = static_cast<int>(c.pixels.size());
    sheet.h = 1;
    sheet.pixels = c.pixels;
    sheet.palette = c.palette;
    std::string reason;
    const bool read = QBR1_SheetInRowColours(sheet, row, reason);
    EXPECT_EQ(read, !c.read.empty()) << c.what << ": " << reason;
    if (read) EXPECT_EQ(sheet.pixels, c.read) << c.what;
    else EXPECT_EQ(reason, c.reason) << c.what;
  }
}

TEST(GimpPaletteTest, ReadsColoursAndNamesTheFirstBadLine) {
  struct Case {
    const char* what;
    std::string text;
    std::vector<std::uint32_t> colours;
    const char* reason;  // empty: read
  };
  const Case cases[] = {
      {"as written", "GIMP Palette\nName: Level 0x16\nColumns: 16\n#\n  0   8 248\tpalette 0 colour 0\n255 255 255\n",
       {0x0008F8, 0xFFFFFF}, ""},
      {"CR LF, blank and comment lines, no name", "GIMP Palette\r\n\r\n# note\r\n1 2 3\r\n  \t\n4\t5 6 x y\n",
       {0x010203, 0x040506}, ""},
      {"no final line end", "GIMP Palette\n7 8 9", {0x070809}, ""},
      {"no colours", "GIMP Palette\n", {}, ""},
      {"another first line", "GIMP palette\n1 2 3\n", {}, "not a GIMP palette (its first line is not \"GIMP Palette\")"},
      {"empty", "", {}, "not a GIMP palette (its first line is not \"GIMP Palette\")"},
      {"a channel above 255", "GIMP Palette\n1 2 3\n1 256 3\n", {}, "line 3 is not a colour of three channels 0-255"},
      {"two channels", "GIMP Palette\n1 2\n", {}, "line 2 is not a colour of three channels 0-255"},
      {"commas", "GIMP Palette\n1,2,3\n", {}, "line 2 is not a colour of three channels 0-255"},
      {"a sign", "GIMP Palette\n1 -2 3\n", {}, "line 2 is not a colour of three channels 0-255"},
      {"digits running into a name", "GIMP Palette\n1 2 3x\n", {}, "line 2 is not a colour of three channels 0-255"},
      {"a byte-order mark", "\xEF\xBB\xBFGIMP Palette\n1 2 3\n", {0x010203}, ""},
      {"RGBA channels, the alpha left out", "GIMP Palette\nChannels: RGBA\n1 2 3 0 clear\n4 5 6 255\n",
       {0x010203, 0x040506}, ""},
      {"RGB channels named", "GIMP Palette\nChannels: RGB\n1 2 3\n", {0x010203}, ""},
      {"RGBA without the alpha", "GIMP Palette\nChannels: RGBA\n1 2 3\n", {},
       "line 3 is not a colour of four channels 0-255"},
      {"channels of another kind", "GIMP Palette\nChannels: CMYK\n", {}, "line 2 names channels \"CMYK\"; RGB or RGBA are read"},
  };
  for (const Case& c : cases) {
    std::vector<std::uint32_t> colours;
    std::string reason;
    const bool read = QBR1_ReadGimpPalette(c.text, colours, reason);
    EXPECT_EQ(read, *c.reason == '\0') << c.what << ": " << reason;
    if (read) EXPECT_EQ(colours, c.colours) << c.what;
    else EXPECT_EQ(reason, c.reason) << c.what;
  }
}

}  // namespace
