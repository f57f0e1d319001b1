#pragma once

// The one mechanism behind the Rw_ routines: clip a rectangle against a destination,
// mirror it, and hand every visible row to a row function; plus the pixel operations
// that say how a source pixel meets the destination. Each named routine picks a source
// area, a pixel operation and a mirroring mode.
//
// Other raster code (sprites that are not bitmaps) can use WalkRect directly with a row
// function of its own.

#include "gfx/ex_graphics.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace rw {

inline constexpr uint32_t kMaskRGB = 0xFF00FF;

// Transparent pixel: low 24 bits are magenta, whatever the alpha byte.
inline bool IsMask(uint32_t p) { return (p & 0xFFFFFF) == kMaskRGB; }

// A bitmap the routines may touch through 32-bit rows.
inline bool Usable(const BITMAP* bmp) {
  return bmp != nullptr && bmp->w > 0 && bmp->h > 0 && bitmap_color_depth(const_cast<BITMAP*>(bmp)) == 32;
}

inline uint32_t* Row32(BITMAP* bmp, int y) { return reinterpret_cast<uint32_t*>(bmp->line[y]); }

// Column direction of a visible row: +1 reads the source rightward, -1 leftward (mirrored).
template <int S>
using Step = std::integral_constant<int, S>;

// One visible row: n destination pixels from d, fed by source row `row` from column `col`.
struct RowSpan {
  uint32_t* d;
  int row;
  int col;
  int n;
};

// The visible part of a sw x sh rectangle placed at (dx, dy) in a dw x dh area.
struct Clip {
  int sx, sy;  // skipped source columns and rows (left and top clip)
  int dx, dy;  // destination position of the visible part
  int w, h;    // visible size
};

// Clips as the sprite routines do: nothing unless the rectangle overlaps the area; the left
// and top clip skip source columns and rows; the size is limited by the right and bottom edges.
inline bool ClipRect(int sw, int sh, int dw, int dh, long dx, long dy, Clip& c) {
  if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return false;
  if (dx >= dw || dy >= dh || dx + sw <= 0 || dy + sh <= 0) return false;
  long sx = 0, sy = 0, w = sw, h = sh;
  if (dx < 0) {
    sx = -dx;
    w += dx;
    dx = 0;
  }
  if (dy < 0) {
    sy = -dy;
    h += dy;
    dy = 0;
  }
  w = std::min(w, dw - dx);
  h = std::min(h, dh - dy);
  c = Clip{int(sx), int(sy), int(dx), int(dy), int(w), int(h)};
  return true;
}

// ClipRect against dest, limited to its top-left limW x limH; false for an unusable dest.
inline bool ClipIn(BITMAP* dest, int sw, int sh, long dx, long dy, int limW, int limH, Clip& c) {
  return Usable(dest) && ClipRect(sw, sh, std::min(dest->w, limW), std::min(dest->h, limH), dx, dy, c);
}

// Whether rows y0 .. y0 + rows - 1 of bmp follow one another in memory without gaps, so they
// can be walked as one run (memory bitmaps, and sub-bitmaps as wide as their parent).
inline bool OneRun(BITMAP* bmp, int y0, int rows) {
  return Row32(bmp, y0 + rows - 1) == Row32(bmp, y0) + long(rows - 1) * bmp->w;
}

// Walks the visible rows of a sw x sh source placed at (dx, dy) in dest, limited to the
// top-left limW x limH of dest. flip: 1 left-right, 2 top-bottom, 3 both, other values none.
// Clipping cuts the placed, already mirrored picture, so a clipped mirrored sprite loses the
// columns the mirrored picture would place outside. rowFn(const RowSpan&, Step<+1 or -1>) does the pixels.
template <class RowFn>
void WalkRect(int sw, int sh, BITMAP* dest, long dx, long dy, int flip, RowFn&& rowFn, int limW = INT_MAX,
              int limH = INT_MAX) {
  Clip c;
  if (!ClipIn(dest, sw, sh, dx, dy, limW, limH, c)) return;
  const bool hflip = flip == 1 || flip == 3;
  const bool vflip = flip == 2 || flip == 3;
  auto rows = [&](auto step) {
    const int col = hflip ? sw - 1 - c.sx : c.sx;
    for (int r = 0; r < c.h; ++r) {
      const int srow = vflip ? sh - 1 - c.sy - r : c.sy + r;
      rowFn(RowSpan{Row32(dest, c.dy + r) + c.dx, srow, col, c.w}, step);
    }
  };
  if (hflip) rows(Step<-1>{});
  else rows(Step<1>{});
}

// ---- Pixel operations: new destination pixel from (destination, source) ----

struct Copy {
  uint32_t operator()(uint32_t, uint32_t s) const { return s; }
};

// Per-byte a + b, at most 255 (no carry between bytes).
inline uint32_t AddSat(uint32_t a, uint32_t b) {
  const uint32_t low = (a & 0x7F7F7F7Fu) + (b & 0x7F7F7F7Fu);
  const uint32_t carry = ((a & b) | ((a | b) & low)) & 0x80808080u;
  const uint32_t sum = low ^ ((a ^ b) & 0x80808080u);
  return sum | ((carry << 1) - (carry >> 7));
}

// Per-byte a - b, at least 0.
inline uint32_t SubSat(uint32_t a, uint32_t b) { return ~AddSat(~a, b); }

struct Add {
  uint32_t operator()(uint32_t d, uint32_t s) const { return AddSat(d, s); }
};

struct Subtract {
  uint32_t operator()(uint32_t d, uint32_t s) const { return SubSat(d, s); }
};

// Each colour byte loses the sum of the two other source colour bytes; alpha kept.
struct InvSub {
  uint32_t operator()(uint32_t d, uint32_t s) const {
    const int sb = s & 0xFF, sg = (s >> 8) & 0xFF, sr = (s >> 16) & 0xFF;
    const int b = std::max(int(d & 0xFF) - (sg + sr), 0);
    const int g = std::max(int((d >> 8) & 0xFF) - (sr + sb), 0);
    const int r = std::max(int((d >> 16) & 0xFF) - (sb + sg), 0);
    return (d & 0xFF000000u) | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
  }
};

inline uint32_t Pct(uint32_t d, uint32_t s, int shift) {
  return uint32_t(PercentageOfValue256[(d >> shift) & 0xFF][(s >> shift) & 0xFF]) << shift;
}

// Every byte multiplied through PercentageOfValue256[destination][source].
struct Luminance {
  uint32_t operator()(uint32_t d, uint32_t s) const {
    return Pct(d, s, 0) | Pct(d, s, 8) | Pct(d, s, 16) | Pct(d, s, 24);
  }
};

// Blue, green and red multiplied; alpha kept.
struct LuminanceRGB {
  uint32_t operator()(uint32_t d, uint32_t s) const {
    return (d & 0xFF000000u) | Pct(d, s, 0) | Pct(d, s, 8) | Pct(d, s, 16);
  }
};

// Writes one fixed colour.
struct Fill {
  uint32_t color;
  uint32_t operator()(uint32_t, uint32_t) const { return color; }
};

// Writes the source with every byte lowered by a fixed amount.
struct Darken {
  uint32_t amount;  // the amount repeated in all four bytes
  uint32_t operator()(uint32_t, uint32_t s) const { return SubSat(s, amount); }
};

// Leaves the destination alone where the source is mask-coloured; a select, not a branch,
// so the row loops vectorise.
template <class Op>
struct Masked {
  Op op;
  uint32_t operator()(uint32_t d, uint32_t s) const { return IsMask(s) ? d : op(d, s); }
};

template <class Op>
Masked<Op> MaskedBy(Op op) {
  return Masked<Op>{op};
}

// ---- Rows of bitmap sources ----

// n destination pixels from source pixels s, s + S, s + 2S, ...
template <class Px, int S>
inline void ApplyRow(uint32_t* d, const uint32_t* s, long n, const Px& px, Step<S>) {
  if constexpr (S == 1 && std::is_same_v<Px, Copy>) {
    std::memmove(d, s, size_t(n) * sizeof(uint32_t));
  } else {
    for (long i = 0; i < n; ++i) d[i] = px(d[i], s[S * i]);
  }
}

// Draws the top-left sw x sh of src (at most its size) at (dx, dy) in dest through px.
template <class Px>
void DrawArea(BITMAP* src, BITMAP* dest, long dx, long dy, int flip, const Px& px, int sw = INT_MAX, int sh = INT_MAX,
              int limW = INT_MAX, int limH = INT_MAX) {
  if (!Usable(src)) return;
  sw = std::min(sw, src->w);
  sh = std::min(sh, src->h);
  // A plain copy of whole rows of two bitmaps of one width is one memmove instead of one per row.
  Clip c;
  if (std::is_same_v<Px, Copy> && (flip < 1 || flip > 3) && sw == src->w &&
      ClipIn(dest, sw, sh, dx, dy, limW, limH, c) && c.w == sw && c.w == dest->w && OneRun(src, c.sy, c.h) &&
      OneRun(dest, c.dy, c.h)) {
    ApplyRow(Row32(dest, c.dy), Row32(src, c.sy), long(c.w) * c.h, px, Step<1>{});
    return;
  }
  WalkRect(
      sw, sh, dest, dx, dy, flip,
      [&](const RowSpan& sp, auto step) { ApplyRow(sp.d, Row32(src, sp.row) + sp.col, sp.n, px, step); }, limW, limH);
}

// Treats both bitmaps as runs of pixels row after row (as memory bitmaps are laid out) and
// combines the first n pixels of each, limited to the smaller bitmap.
template <class Px>
void DrawRun(BITMAP* src, BITMAP* dest, long n, const Px& px) {
  if (!Usable(src) || !Usable(dest)) return;
  n = std::min({n, long(src->w) * src->h, long(dest->w) * dest->h});
  if (OneRun(src, 0, src->h) && OneRun(dest, 0, dest->h)) {
    ApplyRow(Row32(dest, 0), Row32(src, 0), n, px, Step<1>{});
    return;
  }
  int sy = 0, sx = 0, dy = 0, dx = 0;
  while (n > 0) {
    const int chunk = int(std::min({long(src->w - sx), long(dest->w - dx), n}));
    ApplyRow(Row32(dest, dy) + dx, Row32(src, sy) + sx, chunk, px, Step<1>{});
    n -= chunk;
    if ((sx += chunk) == src->w) {
      sx = 0;
      ++sy;
    }
    if ((dx += chunk) == dest->w) {
      dx = 0;
      ++dy;
    }
  }
}

// Applies px(pixel, pixel) to every pixel of bmp in place.
template <class Px>
void MapPixels(BITMAP* bmp, const Px& px) {
  if (!Usable(bmp)) return;
  for (int y = 0; y < bmp->h; ++y) {
    uint32_t* p = Row32(bmp, y);
    for (int x = 0; x < bmp->w; ++x) p[x] = px(p[x], p[x]);
  }
}

}  // namespace rw
