// Light cones prerendered into bitmaps, for drawing with the additive or luminance routines.

#include "gfx/ex_graphics.h"

#include "gfx/raster_walker.h"

#include <cmath>

namespace {

// Colour a to b by t/256 per byte (t in 0..256).
uint32_t Mix(uint32_t a, uint32_t b, int t) {
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const int ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
    out |= uint32_t(ca + (cb - ca) * t / 256) << shift;
  }
  return out;
}

// A (2 * height + 1)-square bitmap filled with `outside`, with rays cast from the centre
// across the cone; the pixel at radius r takes Mix(inner, outer, r / height).
BITMAP* Cone(double degWidth, int height, int cutRadius, double degOffset, uint32_t inner, uint32_t outer,
             uint32_t outside) {
  if (height < 1 || height > 4096 || !(degWidth >= 0.0) || !std::isfinite(degOffset)) return nullptr;
  const int size = 2 * height + 1;
  BITMAP* bmp = create_bitmap_ex(32, size, size);
  if (!bmp) return nullptr;
  clear_to_color(bmp, int(outside));
  const double width = std::min(degWidth, 360.0);
  // Rays close enough that neighbouring ones touch at the rim.
  const double stepDeg = 180.0 / (3.14159265 * height) * 0.5;
  const int rays = int(width / stepDeg) + 1;
  for (int i = 0; i <= rays; ++i) {
    const double angle = degOffset - width / 2 + width * i / rays;
    for (int r = std::max(cutRadius, 0); r <= height; ++r) {
      const int x = height + EXM_sin(angle, r) / 256;
      const int y = height + EXM_cos(angle, r) / 256;
      if (x >= 0 && x < size && y >= 0 && y < size) rw::Row32(bmp, y)[x] = Mix(inner, outer, r * 256 / height);
    }
  }
  return bmp;
}

}  // namespace

BITMAP* prerender_efx_highlight(double p_deg_width, int p_height, int p_cut_radius, double p_deg_offset,
                                unsigned long p_color) {
  return Cone(p_deg_width, p_height, p_cut_radius, p_deg_offset, uint32_t(p_color), 0, 0);
}

BITMAP* prerender_efx_luminance(double p_deg_width, int p_height, int p_cut_radius, double p_deg_offset,
                                unsigned long p_color, unsigned long p_colorX) {
  return Cone(p_deg_width, p_height, p_cut_radius, p_deg_offset, uint32_t(p_color), uint32_t(p_colorX),
              uint32_t(p_colorX));
}
