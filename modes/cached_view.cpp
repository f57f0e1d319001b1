#include "modes/cached_view.h"

bool FitCachedBitmap(BITMAP*& bitmap, int w, int h) {
  w = w > 0 ? w : 1;
  h = h > 0 ? h : 1;
  if (bitmap && bitmap->w == w && bitmap->h == h) return false;
  if (bitmap) destroy_bitmap(bitmap);
  bitmap = create_bitmap_ex(32, w, h);
  return bitmap != nullptr;
}
