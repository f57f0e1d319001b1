// Whole-bitmap pixel operations: brighten, darken, invert, logic, scale, recolour, hue.

#include "gfx/ex_graphics.h"

#include "gfx/raster_walker.h"

#include <cmath>

namespace {

uint32_t Bytes(unsigned char v) { return v * 0x01010101u; }

// Applies op(pixel) to every pixel of bmp.
template <class Op>
void Each(BITMAP* bmp, Op op) {
  rw::MapPixels(bmp, [&](uint32_t p, uint32_t) { return op(p); });
}

// Runs the hue change f(h, s) -> (h, s) on every non-mask pixel through HSV, keeping the value;
// the pixel is written back with alpha 0.
template <class F>
void EachHSV(BITMAP* bmp, F f) {
  Each(bmp, [&](uint32_t p) {
    if (rw::IsMask(p)) return p;
    float h, s, v;
    rgb_to_hsv((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF, &h, &s, &v);
    f(h, s);
    int r, g, b;
    hsv_to_rgb(h, s, v, &r, &g, &b);
    return uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
  });
}

// Hue wrapped into [0, 360).
float WrapHue(float h) {
  if (!std::isfinite(h)) return 0.0f;
  h = std::fmod(h, 360.0f);
  return h < 0.0f ? h + 360.0f : h;
}

// std::clamp that also turns NaN into the lower bound.
float Hold(float v, float lo, float hi) { return v >= lo ? (v <= hi ? v : hi) : lo; }

}  // namespace

void Rw_bmp_ADDg_32(BITMAP* bmp, unsigned char v) {
  Each(bmp, [c = Bytes(v)](uint32_t p) { return rw::AddSat(p, c); });
}

void Rw_bmp_ADD_32(BITMAP* bmp, unsigned long c) {
  Each(bmp, [c = uint32_t(c & 0xFFFFFF)](uint32_t p) { return rw::AddSat(p, c); });
}

void Rw_bmp_SUB_32(BITMAP* bmp, unsigned char v) {
  Each(bmp, [c = Bytes(v)](uint32_t p) { return rw::SubSat(p, c); });
}

void Rw_bmp_NOT_32(BITMAP* bmp) {
  Each(bmp, [](uint32_t p) { return ~p; });
}

void Rw_bmp_AND_32(BITMAP* bmp, unsigned char v) {
  Each(bmp, [c = Bytes(v)](uint32_t p) { return p & c; });
}

void Rw_bmp_OR_32(BITMAP* bmp, unsigned char v) {
  Each(bmp, [c = Bytes(v)](uint32_t p) { return p | c; });
}

void Rw_bmp_XOR_32(BITMAP* bmp, unsigned char v) {
  Each(bmp, [c = Bytes(v)](uint32_t p) { return p ^ c; });
}

void Rw_bmp_PCT_32(BITMAP* bmp, unsigned char v) {
  Each(bmp, [c = Bytes(v)](uint32_t p) { return rw::Luminance{}(p, c); });
}

void Rw_bmp_REC_32(BITMAP* bmp, unsigned long c) {
  Each(bmp, [c = uint32_t(c)](uint32_t p) {
    const uint32_t rgb = p & 0xFFFFFF;
    return rgb == rw::kMaskRGB || rgb == 0xFFFF00 ? p : c;
  });
}

void Rw_bmp_HUE_32(BITMAP* bmp, float h) {
  const float hue = Hold(h, 0.0f, 360.0f);
  EachHSV(bmp, [hue](float& ph, float&) { ph = hue; });
}

void Rw_bmp_IHS_32(BITMAP* bmp, float h, float s) {
  const float sat = Hold(s, 0.0f, 1.0f);
  EachHSV(bmp, [h, sat](float& ph, float& ps) {
    ph = WrapHue(ph + h);
    ps = sat;
  });
}

void Rw_bmp_IHSC_32(BITMAP* bmp, float h, float hl, float hh, float s) {
  const float sat = Hold(s, 0.0f, 1.0f);
  EachHSV(bmp, [h, hl, hh, sat](float& ph, float& ps) {
    ph = WrapHue(Hold(WrapHue(ph + h), hl, hh));
    ps = sat;
  });
}
