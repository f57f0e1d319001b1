#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <string>
#include <vector>

#include "resources/resource_loader.h"
#include "resources/resource_table.h"
#include "shell/base/functions.h"

namespace {

uint32_t Pixel(BITMAP* bmp, int x, int y) { return reinterpret_cast<uint32_t*>(bmp->line[y])[x]; }

std::vector<unsigned char> Bytes(int id) {
  auto span = EmbeddedArtBytes(id);
  return {span.begin(), span.end()};
}

TEST(Loader, EveryBuiltInImageDecodesToItsSize) {
  for (const ResourceInfo& info : kResourceTable) {
    SCOPED_TRACE(info.id);
    BITMAP* decoded = DecodePngBitmap(EmbeddedArtBytes(info.id));
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(decoded->w, info.w);
    EXPECT_EQ(decoded->h, info.h);
    EXPECT_EQ(bitmap_color_depth(decoded), 32);
    Nullify(decoded);
    BITMAP* loaded = load_bmp_res(info.id);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->w, info.w);
    EXPECT_EQ(loaded->h, info.h);
    Nullify(loaded);
  }
}

TEST(Loader, MaskIsMagentaWithAlphaZeroAndOpaquePixelsCarryFullAlpha) {
  // The frame sheet's top-left pixel is cut from the window outline; its
  // left border column is opaque.
  BITMAP* frame = load_bmp_res(500);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(Pixel(frame, 0, 0), 0x00FF00FFu);
  EXPECT_EQ(Pixel(frame, 0, 24) >> 24, 0xFFu);
  EXPECT_NE(Pixel(frame, 0, 24) & 0xFFFFFFu, 0xFF00FFu);
  Nullify(frame);
}

TEST(Loader, AlphaZeroAndMagentaBothBecomeTheMask) {
  // Opaque red, transparent green, opaque magenta, half-transparent blue.
  const png_byte rgba[] = {255, 0, 0, 255, 0, 255, 0, 0, 255, 0, 255, 255, 0, 0, 255, 128};
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = 4;
  image.height = 1;
  image.format = PNG_FORMAT_RGBA;
  std::vector<unsigned char> png(1024);
  png_alloc_size_t size = png.size();
  ASSERT_TRUE(png_image_write_to_memory(&image, png.data(), &size, 0, rgba, 0, nullptr));
  png.resize(size);
  BITMAP* bmp = DecodePngBitmap(png);
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(Pixel(bmp, 0, 0), 0xFFFF0000u);
  EXPECT_EQ(Pixel(bmp, 1, 0), kMaskPixel);
  EXPECT_EQ(Pixel(bmp, 2, 0), kMaskPixel);
  EXPECT_EQ(Pixel(bmp, 3, 0), 0xFF0000FFu);
  Nullify(bmp);
}

TEST(Loader, UnknownNumberGivesNull) {
  EXPECT_EQ(load_bmp_res(499), nullptr);
  EXPECT_TRUE(EmbeddedArtBytes(499).empty());
}

TEST(Loader, MalformedBytesDecodeToNothingWithoutCrashing) {
  const std::vector<unsigned char> good = Bytes(580);
  ASSERT_GT(good.size(), 200u);
  std::vector<unsigned char> truncated(good.begin(), good.begin() + good.size() / 2);
  std::vector<unsigned char> header_only(good.begin(), good.begin() + 33);
  std::vector<unsigned char> bad_signature = good;
  bad_signature[1] = 'X';
  std::vector<unsigned char> corrupt_data = good;
  for (size_t i = 100; i < corrupt_data.size() - 20; i += 7) corrupt_data[i] ^= 0x5A;
  std::vector<unsigned char> huge = good;  // width field set to 0x7FFFFFFF (IHDR starts at byte 16)
  huge[16] = 0x7F;
  huge[17] = huge[18] = huge[19] = 0xFF;
  const std::vector<unsigned char> noise(300, 0xA5);

  struct Case {
    const char* name;
    const std::vector<unsigned char>& bytes;
  };
  const std::vector<unsigned char> empty;
  const Case cases[] = {{"empty", empty},
                        {"truncated", truncated},
                        {"header only", header_only},
                        {"bad signature", bad_signature},
                        {"corrupt data", corrupt_data},
                        {"huge size", huge},
                        {"noise", noise}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BITMAP* bmp = DecodePngBitmap(c.bytes);
    EXPECT_EQ(bmp, nullptr);
    Nullify(bmp);
  }
}

TEST(Loader, UnusableBytesGiveABlankImageOfTheExpectedSize) {
  std::vector<unsigned char> corrupt = Bytes(522);
  corrupt.resize(corrupt.size() - 40);
  struct Case {
    const char* name;
    std::vector<unsigned char> bytes;
  };
  const Case cases[] = {{"truncated", corrupt}, {"missing", {}}, {"another size", Bytes(542)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BITMAP* bmp = ResourceBitmapFromBytes(522, c.bytes);
    ASSERT_NE(bmp, nullptr);
    EXPECT_EQ(bmp->w, 177);
    EXPECT_EQ(bmp->h, 79);
    for (int y = 0; y < bmp->h; ++y)
      for (int x = 0; x < bmp->w; ++x) ASSERT_EQ(Pixel(bmp, x, y), kMaskPixel);
    // A blank glyph sheet still yields a usable font.
    FONT* f = GrabFontOrDefault(bmp);
    ASSERT_NE(f, nullptr);
    EXPECT_GT(text_length(f, "File"), 0);
    destroy_font(f);
    Nullify(bmp);
  }
}

TEST(Loader, SheetWithoutGlyphBoxesGivesAllegrosFont) {
  BITMAP* blank = create_bitmap_ex(32, 145, 55);
  clear_to_color(blank, int(kMaskPixel));
  EXPECT_EQ(CountFontGlyphBoxes(blank), 0);
  FONT* f = GrabFontOrDefault(blank);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(text_length(f, "AB"), text_length(font, "AB"));
  EXPECT_EQ(text_height(f), text_height(font));
  destroy_font(f);
  f = GrabFontOrDefault(nullptr);
  ASSERT_NE(f, nullptr);
  destroy_font(f);
  Nullify(blank);
}

// A sheet of yellow with `widths.size()` glyph boxes of height 5 in one row.
BITMAP* OneRowSheet(const std::vector<int>& widths) {
  int total = 1;
  for (int w : widths) total += w + 1;
  BITMAP* sheet = create_bitmap_ex(32, total + 3, 9);
  clear_to_color(sheet, int(0xFFFFFF00u));
  int x = 1;
  for (int w : widths) {
    rectfill(sheet, x, 1, x + w - 1, 5, int(kMaskPixel));
    x += w + 1;
  }
  return sheet;
}

TEST(Loader, GlyphBoxCountMatchesWhatAllegroGrabs) {
  const std::vector<std::vector<int>> rows = {{4}, {3, 7, 1}, {2, 2, 2, 2, 2, 2}};
  for (const auto& widths : rows) {
    BITMAP* sheet = OneRowSheet(widths);
    ASSERT_EQ(CountFontGlyphBoxes(sheet), int(widths.size()));
    FONT* f = GrabFontOrDefault(sheet);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(get_font_range_begin(f, -1), 32);
    EXPECT_EQ(get_font_range_end(f, -1), 32 + int(widths.size()) - 1);
    for (size_t i = 0; i < widths.size(); ++i) {
      const char text[2] = {char(32 + i), 0};
      EXPECT_EQ(text_length(f, text), widths[i]);
    }
    EXPECT_EQ(text_height(f), 5);
    destroy_font(f);
    Nullify(sheet);
  }
}

}  // namespace
