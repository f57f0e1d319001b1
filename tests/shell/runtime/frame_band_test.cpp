#include <gtest/gtest.h>

#include <vector>

#include "shell/runtime/frame.h"
#include "shell/base/variables.h"
#include "tests/common/headless_allegro.h"

namespace {

// A page that keeps the last frame receives only the rows that changed, and the
// band of those rows is what travels to the display.
TEST(FrameBandTest, OnlyChangedRowsAreCopied) {
  ASSERT_TRUE(StartHeadlessAllegro());
  FB = create_bitmap_ex(32, 64, 32);
  BITMAP* page = create_bitmap_ex(32, 64, 32);
  clear_to_color(page, 0x0F3F7F);  // the background, as the last frame left it

  struct Case {
    const char* name;
    std::vector<int> marked_rows;  // rows the picture marks in this frame
    int top, bottom;
  };
  const Case cases[] = {
      {"one row", {10}, 10, 11},
      {"the same frame again", {10}, 0, 0},
      {"rows apart span a band", {3, 20}, 3, 21},
      {"back to the background", {}, 3, 21},
      {"unchanged", {}, 0, 0},
  };
  for (const Case& c : cases) {
    ModePass pass;
    pass.picture = [&c](BITMAP* fb) {
      for (int y : c.marked_rows) putpixel(fb, 5, y, 0x00FF00);
    };
    const RowBand band = ComposeFrame(page, pass, true);
    EXPECT_EQ(band.empty(), c.top == c.bottom) << c.name;
    if (!band.empty()) {
      EXPECT_EQ(band.top, c.top) << c.name;
      EXPECT_EQ(band.bottom, c.bottom) << c.name;
    }
    for (int y = 0; y < 32; ++y) EXPECT_EQ(getpixel(page, 0, y), getpixel(FB, 0, y)) << c.name;
    for (int y : c.marked_rows) EXPECT_EQ(getpixel(page, 5, y), 0x00FF00) << c.name;
  }
  destroy_bitmap(page);
  destroy_bitmap(FB);
  FB = nullptr;
}

}  // namespace
