// Sprite draws through a per-pixel mask array (32 entries per source row): a pixel is drawn
// only where the array holds the wanted value, so one sprite can be shown in two parts.

#include "gfx/ex_graphics.h"

#include "gfx/raster_walker.h"

namespace {

constexpr int kMaskRow = 32;

template <class Op>
void DrawPerPixelMask(BITMAP* src, BITMAP* dest, short dx, short dy, short flip, const bool* ppmask, bool show,
                      const Op& op) {
  if (!rw::Usable(src) || !ppmask) return;
  // Columns beyond the array's row have no entry; the walker sees a source at most 32 wide.
  const int sw = std::min(src->w, kMaskRow);
  const rw::Masked<Op> px{op};
  rw::WalkRect(sw, src->h, dest, dx, dy, flip, [&](const rw::RowSpan& sp, auto step) {
    constexpr int S = decltype(step)::value;
    const uint32_t* s = rw::Row32(src, sp.row);
    const bool* m = ppmask + kMaskRow * sp.row;
    for (int i = 0; i < sp.n; ++i) {
      const int col = sp.col + S * i;
      if (m[col] == show) sp.d[i] = px(sp.d[i], s[col]);
    }
  });
}

}  // namespace

void Rw_drawvhm(BITMAP* src, BITMAP* dest, short dx, short dy, short flip, const bool* ppmask, bool show) {
  DrawPerPixelMask(src, dest, dx, dy, flip, ppmask, show, rw::Copy{});
}

void Rw_drawvhm_add(BITMAP* src, BITMAP* dest, short dx, short dy, short flip, const bool* ppmask, bool show) {
  DrawPerPixelMask(src, dest, dx, dy, flip, ppmask, show, rw::Add{});
}

void Rw_drawvhm_luminance(BITMAP* src, BITMAP* dest, short dx, short dy, short flip, const bool* ppmask, bool show) {
  DrawPerPixelMask(src, dest, dx, dy, flip, ppmask, show, rw::Luminance{});
}
