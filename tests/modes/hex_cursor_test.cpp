#include "modes/hex_cursor.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// A 100-byte image (rows 0-6, the last one of 4 bytes) with 3 rows on screen: rows 4-6 fill the last screen.
HexCursor Cursor(std::size_t offset, std::size_t top) {
  HexCursor c;
  c.size = 100;
  c.rows = 3;
  c.offset = offset;
  c.top = top;
  return c;
}

TEST(HexCursor, MovesStopAtTheEndsAndKeepTheCursorOnScreen) {
  struct Case {
    const char* name;
    std::size_t offset, top;
    std::function<void(HexCursor&)> move;
    std::size_t want_offset, want_top;
  };
  const Case cases[] = {
      {"left at 0", 0, 0, [](HexCursor& c) { c.Left(); }, 0, 0},
      {"left wraps to the row above", 16, 1, [](HexCursor& c) { c.Left(); }, 15, 0},
      {"right at the last byte", 99, 4, [](HexCursor& c) { c.Right(); }, 99, 4},
      {"right onto the next row scrolls", 47, 0, [](HexCursor& c) { c.Right(); }, 48, 1},
      {"up in the first row stops at 0", 5, 0, [](HexCursor& c) { c.Up(); }, 0, 0},
      {"up above the screen scrolls", 33, 2, [](HexCursor& c) { c.Up(); }, 17, 1},
      {"down into the partial last row stops at the last byte", 90, 3, [](HexCursor& c) { c.Down(); }, 99, 4},
      {"down below the screen scrolls", 40, 0, [](HexCursor& c) { c.Down(); }, 56, 1},
      {"page down moves cursor and screen", 5, 0, [](HexCursor& c) { c.PageDown(); }, 53, 3},
      {"page down at the end", 80, 3, [](HexCursor& c) { c.PageDown(); }, 99, 4},
      {"page up moves cursor and screen", 70, 3, [](HexCursor& c) { c.PageUp(); }, 22, 0},
      {"page up near the start", 20, 1, [](HexCursor& c) { c.PageUp(); }, 0, 0},
      {"home: start of the row", 37, 1, [](HexCursor& c) { c.Home(false); }, 32, 1},
      {"end: end of the row", 37, 1, [](HexCursor& c) { c.End(false); }, 47, 1},
      {"end of the partial last row", 97, 4, [](HexCursor& c) { c.End(false); }, 99, 4},
      {"ctrl+home: start of the image", 70, 3, [](HexCursor& c) { c.Home(true); }, 0, 0},
      {"ctrl+end: end of the image", 3, 0, [](HexCursor& c) { c.End(true); }, 99, 4},
      {"go to puts the row at the top", 0, 0, [](HexCursor& c) { c.GoTo(40); }, 40, 2},
      {"go to near the end keeps the screen full", 0, 0, [](HexCursor& c) { c.GoTo(98); }, 98, 4},
      {"go to past the end clamps", 0, 0, [](HexCursor& c) { c.GoTo(5000); }, 99, 4},
      {"wheel scrolls without the cursor", 5, 0, [](HexCursor& c) { c.Scroll(2); }, 5, 2},
      {"wheel stops at the last full screen", 5, 0, [](HexCursor& c) { c.Scroll(50); }, 5, 4},
      {"wheel stops at the top", 50, 2, [](HexCursor& c) { c.Scroll(-9); }, 50, 0},
  };
  for (const Case& c : cases) {
    HexCursor cursor = Cursor(c.offset, c.top);
    c.move(cursor);
    EXPECT_EQ(cursor.offset, c.want_offset) << c.name;
    EXPECT_EQ(cursor.top, c.want_top) << c.name;
  }
}

TEST(HexCursor, AnEmptyImageKeepsEverythingAtZero) {
  HexCursor c;
  c.rows = 4;
  for (auto move : {&HexCursor::Right, &HexCursor::Down, &HexCursor::PageDown, &HexCursor::Left}) {
    (c.*move)();
    EXPECT_EQ(c.offset, 0u);
    EXPECT_EQ(c.top, 0u);
  }
  c.End(true);
  c.GoTo(10);
  EXPECT_EQ(c.offset, 0u);
  EXPECT_EQ(c.LastTop(), 0u);
}

TEST(HexCursor, FewerRowsOnScreenBringTheCursorBack) {
  HexCursor c = Cursor(70, 2);  // row 4, the last of rows 2-4
  c.SetRows(1);
  EXPECT_EQ(c.top, 4u);  // the one row shown is the cursor's
  EXPECT_EQ(c.offset, 70u);
  c.SetRows(0);  // never fewer than one row
  EXPECT_EQ(c.rows, 1);
}

TEST(HexCursor, OffsetsParseAsHexadecimal) {
  struct Case {
    const char* text;
    bool ok;
    unsigned long value;
  };
  const Case cases[] = {
      {"3C0000", true, 0x3C0000}, {"0x3c0000", true, 0x3C0000},
      {"0X10", true, 0x10},       {"$FF", true, 0xFF},
      {"  12  ", true, 0x12},     {"FFFFFFFF", true, 0xFFFFFFFF},
      {"100000000", false, 0},    {"", false, 0},
      {"0x", false, 0},           {"$", false, 0},
      {"12G", false, 0},          {"-1", false, 0},
      {"1 2", false, 0},
  };
  for (const Case& c : cases) {
    unsigned long value = 77;
    EXPECT_EQ(ParseHexNumber(c.text, value), c.ok) << c.text;
    EXPECT_EQ(value, c.ok ? c.value : 77) << c.text;
  }
}

}  // namespace
