#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "resources/resource_loader.h"
#include "resources/resource_table.h"
#include "resources/skin.h"
#include "shell/base/functions.h"

namespace {

uint32_t Pixel(BITMAP* bmp, int x, int y) { return reinterpret_cast<uint32_t*>(bmp->line[y])[x]; }

std::string AllCharacters() {
  std::string text;
  for (int c = 32; c < 128; ++c) text += char(c);
  return text;
}

TEST(Fonts, MenuFontAdvancesAreTheMenuFontTable) {
  for (unsigned long colour : kNMenuFontColours) {
    FONT* f = load_font_rec_res(522, colour);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(text_height(f), 12);
    for (int c = 32; c < 128; ++c) {
      const char text[2] = {char(c), 0};
      EXPECT_EQ(text_length(f, text), NMenuFontSizes[c]) << "character " << c;
    }
    destroy_font(f);
  }
}

TEST(Fonts, MenuFontsShareTheirShapesAndDifferOnlyInColour) {
  const std::string text = AllCharacters();
  BITMAP* first = nullptr;
  for (int i = 0; i < 4; ++i) {
    FONT* f = load_font_rec_res(522, kNMenuFontColours[i]);
    ASSERT_NE(f, nullptr);
    BITMAP* page = create_bitmap_ex(32, text_length(f, text.c_str()), text_height(f));
    clear_to_color(page, int(kMaskPixel));
    textout_ex(page, f, text.c_str(), 0, 0, -1, -1);
    int ink = 0;
    for (int y = 0; y < page->h; ++y)
      for (int x = 0; x < page->w; ++x) {
        const uint32_t p = Pixel(page, x, y);
        if (p != kMaskPixel) {
          ++ink;
          ASSERT_EQ(p, uint32_t(kNMenuFontColours[i])) << x << "," << y;
        }
        if (first != nullptr) {
          ASSERT_EQ(p == kMaskPixel, Pixel(first, x, y) == kMaskPixel) << x << "," << y;
        }
      }
    EXPECT_GT(ink, 500);
    destroy_font(f);
    if (first == nullptr) first = page;
    else destroy_bitmap(page);
  }
  destroy_bitmap(first);
}

TEST(Fonts, MicroAndDigitFontsHoldEveryPrintableCharacter) {
  struct Case {
    int id;
    int height;
    int width_of_0;
  };
  for (const Case& c : {Case{520, 6, 4}, Case{521, 8, 5}}) {
    SCOPED_TRACE(c.id);
    FONT* f = load_font_res(c.id);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(get_font_range_begin(f, -1), 32);
    EXPECT_EQ(get_font_range_end(f, -1), 127);
    EXPECT_EQ(text_height(f), c.height);
    EXPECT_EQ(text_length(f, "0"), c.width_of_0);
    destroy_font(f);
  }
}

TEST(Fonts, LabelFitsTheToolbarPanel) {
  // The toolbar panel prints "NULL" in the micro font into a 24-pixel cell.
  FONT* f = load_font_res(520);
  ASSERT_NE(f, nullptr);
  EXPECT_LE(text_length(f, "NULL"), 24);
  EXPECT_LE(text_height(f), 7);
  destroy_font(f);
}

}  // namespace
