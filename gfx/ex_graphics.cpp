// The multiplication table and the clipped, mirrored sprite draws.

#include "gfx/ex_graphics.h"

#include "gfx/raster_walker.h"

unsigned char PercentageOfValue256[256][256];

void EXG_FillPercentageOfValueArray() {
  for (int a = 0; a < 256; ++a)
    for (int b = 0; b < 256; ++b) PercentageOfValue256[a][b] = static_cast<unsigned char>(double(a) * b / 256.0);
}

void Rw_drawvh(BITMAP* src, BITMAP* dest, short dx, short dy, short flip) {
  rw::DrawArea(src, dest, dx, dy, flip, rw::MaskedBy(rw::Copy{}));
}

void Rw_drawvh_add(BITMAP* src, BITMAP* dest, short dx, short dy, short flip) {
  rw::DrawArea(src, dest, dx, dy, flip, rw::MaskedBy(rw::Add{}));
}

void Rw_drawvh_subtract(BITMAP* src, BITMAP* dest, short dx, short dy, short flip) {
  rw::DrawArea(src, dest, dx, dy, flip, rw::MaskedBy(rw::Subtract{}));
}

void Rw_drawvh_invsub(BITMAP* src, BITMAP* dest, short dx, short dy, short flip) {
  rw::DrawArea(src, dest, dx, dy, flip, rw::MaskedBy(rw::InvSub{}));
}

void Rw_drawvh_luminance(BITMAP* src, BITMAP* dest, short dx, short dy, short flip) {
  rw::DrawArea(src, dest, dx, dy, flip, rw::MaskedBy(rw::Luminance{}));
}

void Rw_drawvhxc(BITMAP* src, BITMAP* dest, short dx, short dy, short flip) {
  rw::DrawArea(src, dest, dx, dy, flip, rw::Copy{});
}

void Rw_drawvhxc_add(BITMAP* src, BITMAP* dest, short dx, short dy, short flip) {
  Rw_drawvh_add(src, dest, dx, dy, flip);
}

void Rw_draw_at(BITMAP* src, BITMAP* dest, int dx, int dy) {
  rw::DrawArea(src, dest, dx, dy, 0, rw::MaskedBy(rw::Copy{}));
}

void Rw_draw_monochrome(BITMAP* src, BITMAP* dest, short dx, short dy, unsigned long color) {
  rw::DrawArea(src, dest, dx, dy, 0, rw::MaskedBy(rw::Fill{uint32_t(color)}));
}

void Rw_draw_subtracted(BITMAP* src, BITMAP* dest, short dx, short dy, unsigned char sv) {
  rw::DrawArea(src, dest, dx, dy, 0, rw::MaskedBy(rw::Darken{sv * 0x01010101u}));
}

// The block routines read the 32x32 tile at the source's top-left corner.
static constexpr int kBlock = 32;

void Rw_blit(BITMAP* src, BITMAP* dest, short dx, short dy) {
  rw::DrawArea(src, dest, dx, dy, 0, rw::Copy{}, kBlock, kBlock);
}

void Rw_draw(BITMAP* src, BITMAP* dest, short dx, short dy) {
  rw::DrawArea(src, dest, dx, dy, 0, rw::MaskedBy(rw::Copy{}), kBlock, kBlock);
}

void Rw_draw_add(BITMAP* src, BITMAP* dest, short dx, short dy) {
  rw::DrawArea(src, dest, dx, dy, 0, rw::MaskedBy(rw::Add{}), kBlock, kBlock);
}
