// Routines sized for the console's 256x224 frame: tile blocks placed on it and whole-frame copies.

#include "gfx/ex_graphics.h"

#include "gfx/raster_walker.h"

static constexpr int kFrameW = 256;
static constexpr int kFrameH = 224;

void Rw_draw_16x16_to_256x224(BITMAP* src, BITMAP* dest, short dx, short dy) {
  rw::DrawArea(src, dest, dx, dy, 0, rw::MaskedBy(rw::Copy{}), 16, 16, kFrameW, kFrameH);
}

void Rw_draw_32x32_to_256x224(BITMAP* src, BITMAP* dest, short dx, short dy) {
  rw::DrawArea(src, dest, dx, dy, 0, rw::MaskedBy(rw::Copy{}), 32, 32, kFrameW, kFrameH);
}

void Rw_ncdraw_16x16_to_256x224(BITMAP* src, BITMAP* dest, short dx, short dy) {
  Rw_draw_16x16_to_256x224(src, dest, dx, dy);
}

void Rw_ncdraw_32x32_to_256x224(BITMAP* src, BITMAP* dest, short dx, short dy) {
  Rw_draw_32x32_to_256x224(src, dest, dx, dy);
}

void Rw_dncblit_256x224(BITMAP* src, BITMAP* dest) { rw::DrawRun(src, dest, kFrameW * kFrameH, rw::Copy{}); }

void Rw_dncdraw_256x224(BITMAP* src, BITMAP* dest) {
  rw::DrawRun(src, dest, kFrameW * kFrameH, rw::MaskedBy(rw::Copy{}));
}

void Rw_dncblit_luminance_256x224(BITMAP* src, BITMAP* dest) {
  rw::DrawRun(src, dest, kFrameW * kFrameH, rw::LuminanceRGB{});
}
