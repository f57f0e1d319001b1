#include "tests/gfx/gfx_support.h"

#include "tests/common/headless_allegro.h"

namespace gfxtest {

void InitAllegro() {
  static const bool ready = [] {
    if (!StartHeadlessAllegro()) return false;
    EXG_FillPercentageOfValueArray();
    return true;
  }();
  ASSERT_TRUE(ready);
}

Bitmap Make(int w, int h, uint32_t fill) {
  Bitmap b(create_bitmap_ex(32, w, h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) Put(b.get(), x, y, fill);
  return b;
}

uint32_t Pattern(int x, int y) { return 0xFF000000u | uint32_t(y) << 12 | uint32_t(x) << 1 | 1u; }

Bitmap MakePattern(int w, int h) {
  Bitmap b = Make(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) Put(b.get(), x, y, Pattern(x, y));
  return b;
}

std::vector<uint32_t> Pixels(BITMAP* b) {
  std::vector<uint32_t> out;
  for (int y = 0; y < b->h; ++y)
    for (int x = 0; x < b->w; ++x) out.push_back(Get(b, x, y));
  return out;
}

}  // namespace gfxtest
