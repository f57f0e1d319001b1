#pragma once

// Test helpers: a headless Allegro with 32-bit bitmaps whose pixels are written directly
// as 0xAARRGGBB values.

#include "gfx/ex_graphics.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

namespace gfxtest {

struct BitmapDeleter {
  void operator()(BITMAP* b) const { destroy_bitmap(b); }
};
using Bitmap = std::unique_ptr<BITMAP, BitmapDeleter>;

// Starts Allegro once without a display, in 32-bit colour, and fills the multiplication table.
void InitAllegro();

// A w x h bitmap with every pixel set to fill.
Bitmap Make(int w, int h, uint32_t fill = 0);

// A w x h bitmap whose pixel (x, y) is Pattern(x, y): distinct, never mask-coloured.
Bitmap MakePattern(int w, int h);
uint32_t Pattern(int x, int y);

inline uint32_t Get(BITMAP* b, int x, int y) { return reinterpret_cast<uint32_t*>(b->line[y])[x]; }
inline void Put(BITMAP* b, int x, int y, uint32_t c) { reinterpret_cast<uint32_t*>(b->line[y])[x] = c; }

// Every pixel of the bitmap, row by row.
std::vector<uint32_t> Pixels(BITMAP* b);

class GfxTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitAllegro(); }
};

}  // namespace gfxtest
