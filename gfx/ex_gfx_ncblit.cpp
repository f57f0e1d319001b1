// Whole-source copies without the mask test. Callers promise the rectangle fits; the
// shared walker clips anyway, which costs a few comparisons per call.

#include "gfx/ex_graphics.h"

#include "gfx/raster_walker.h"

void Rw_ncblit(BITMAP* src, BITMAP* dest, short dx, short dy) { rw::DrawArea(src, dest, dx, dy, 0, rw::Copy{}); }

void Rw_ncblit_luminance(BITMAP* src, BITMAP* dest, short dx, short dy) {
  rw::DrawArea(src, dest, dx, dy, 0, rw::LuminanceRGB{});
}

void Rw_ncblit_fixed_origin(BITMAP* src, BITMAP* dest) {
  if (src) rw::DrawRun(src, dest, long(src->w) * src->h, rw::Copy{});
}

namespace {

// n pixels from (sx, sy) to (dx, dy) inside bmp, one at a time left to right, so an
// overlapping copy to the right repeats the first pixels as the original routine did.
template <class Px>
void LineCopy(BITMAP* bmp, int sx, int sy, int dx, int dy, int n, const Px& px) {
  if (!rw::Usable(bmp) || sy < 0 || sy >= bmp->h || dy < 0 || dy >= bmp->h) return;
  const int skip = std::max({0, -sx, -dx});
  sx += skip;
  dx += skip;
  n = std::min({n - skip, bmp->w - sx, bmp->w - dx});
  const uint32_t* s = rw::Row32(bmp, sy) + sx;
  uint32_t* d = rw::Row32(bmp, dy) + dx;
  for (int i = 0; i < n; ++i) d[i] = px(d[i], s[i]);
}

}  // namespace

void Rw_ncblit_linecopy(BITMAP* bmp, short sx, short sy, short dx, short dy, short n) {
  LineCopy(bmp, sx, sy, dx, dy, n, rw::Copy{});
}

void Rw_ncdraw_linecopy(BITMAP* bmp, short sx, short sy, short dx, short dy, short n) {
  LineCopy(bmp, sx, sy, dx, dy, n, rw::MaskedBy(rw::Copy{}));
}

void blit_linecopy(BITMAP* bmp, short sx, short sy, short dx, short dy, short n) {
  if (bmp) blit(bmp, bmp, sx, sy, dx, dy, n, 1);
}
