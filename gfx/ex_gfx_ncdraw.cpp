// Whole-source copies that skip mask pixels, for callers that know the rectangle fits.

#include "gfx/ex_graphics.h"

#include "gfx/raster_walker.h"

void Rw_ncdraw(BITMAP* src, BITMAP* dest, short dx, short dy) {
  rw::DrawArea(src, dest, dx, dy, 0, rw::MaskedBy(rw::Copy{}));
}

void Rw_ncdraw_luminance(BITMAP* src, BITMAP* dest, short dx, short dy) {
  rw::DrawArea(src, dest, dx, dy, 0, rw::MaskedBy(rw::LuminanceRGB{}));
}

void Rw_ncdraw_fixed_origin(BITMAP* src, BITMAP* dest) {
  if (src) rw::DrawRun(src, dest, long(src->w) * src->h, rw::MaskedBy(rw::Copy{}));
}

void Rw_ncdraw_binary_dots(BITMAP* bmp, short x, short y, unsigned long c0, unsigned long c1, unsigned long bits) {
  if (!rw::Usable(bmp) || y < 0 || y >= bmp->h) return;
  uint32_t* row = rw::Row32(bmp, y);
  for (int k = 0; k < 32; ++k) {
    const int px = x + 31 - k;
    const uint32_t c = uint32_t((bits >> k) & 1 ? c1 : c0);
    if (px >= 0 && px < bmp->w && !rw::IsMask(c)) row[px] = c;
  }
}
