#include "gfx/scale.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "gfx/raster_walker.h"

namespace {

// Intersects [start, start + n) of positions in a bitmap of `size` with the
// bitmap: returns how many of the first positions to skip and how many remain.
void ClipSpan(long start, long n, long size, long& skip, long& count) {
  skip = start < 0 ? -start : 0;
  count = std::min(n, size - start) - skip;
  if (count < 0) count = 0;
}

// Destination columns [from, to) of an enlarged row: column i shows source pixel i / F.
// F is a constant, so the division is a shift or a multiplication.
template <int F>
void EnlargeRow(const uint32_t* in, uint32_t* out, long from, long to) {
  for (long i = from; i < to; ++i) *out++ = in[i / F];
}

// The common 2x case: whole pairs written as one 64-bit store.
template <>
void EnlargeRow<2>(const uint32_t* in, uint32_t* out, long from, long to) {
  long i = from;
  if (i & 1) *out++ = in[i++ / 2];
  for (; i + 1 < to; i += 2) {
    const uint64_t p = in[i / 2];
    const uint64_t pair = p | (p << 32);
    std::memcpy(out, &pair, sizeof pair);
    out += 2;
  }
  if (i < to) *out = in[i / 2];
}

}  // namespace

void Rw_blit_enlarged(BITMAP* src, int sx, int sy, int w, int h, BITMAP* dest, int dx, int dy, int factor) {
  if (!rw::Usable(src) || !rw::Usable(dest) || factor < 1 || factor > 4 || w <= 0 || h <= 0) return;
  // Source area inside src.
  long skip_x = 0, cols = 0, skip_y = 0, rows = 0;
  ClipSpan(sx, w, src->w, skip_x, cols);
  ClipSpan(sy, h, src->h, skip_y, rows);
  if (cols == 0 || rows == 0) return;
  // Destination columns and rows of that area, clipped to dest.
  const long d0x = dx + skip_x * factor, d0y = dy + skip_y * factor;
  long dskip_x = 0, dcols = 0, dskip_y = 0, drows = 0;
  ClipSpan(d0x, cols * factor, dest->w, dskip_x, dcols);
  ClipSpan(d0y, rows * factor, dest->h, dskip_y, drows);
  if (dcols == 0 || drows == 0) return;
  const long first_col = sx + skip_x;
  const long first_row = sy + skip_y;
  const std::size_t bytes = static_cast<std::size_t>(dcols) * sizeof(uint32_t);
  for (long j = dskip_y; j < dskip_y + drows;) {
    const uint32_t* in = rw::Row32(src, static_cast<int>(first_row + j / factor));
    uint32_t* out = rw::Row32(dest, static_cast<int>(d0y + j)) + d0x + dskip_x;
    // One row built, then copied to the other rows of the same source row.
    switch (factor) {
      case 1: EnlargeRow<1>(in + first_col, out, dskip_x, dskip_x + dcols); break;
      case 2: EnlargeRow<2>(in + first_col, out, dskip_x, dskip_x + dcols); break;
      case 3: EnlargeRow<3>(in + first_col, out, dskip_x, dskip_x + dcols); break;
      default: EnlargeRow<4>(in + first_col, out, dskip_x, dskip_x + dcols); break;
    }
    const long block_end = std::min(dskip_y + drows, (j / factor + 1) * factor);
    for (long k = j + 1; k < block_end; ++k) std::memcpy(rw::Row32(dest, static_cast<int>(d0y + k)) + d0x + dskip_x, out, bytes);
    j = block_end;
  }
}

void Rw_blit_sampled(BITMAP* src, int sx, int sy, BITMAP* dest, int dx, int dy, int dw, int dh, int step) {
  if (!rw::Usable(src) || !rw::Usable(dest) || step < 1 || step > 4 || dw <= 0 || dh <= 0) return;
  // Destination pixel i reads source column sx + step i: keep the i whose column
  // lies in src and whose destination lies in dest.
  auto range = [step](long s, long d, long n, long src_size, long dest_size, long& first, long& last) {
    first = std::max<long>(0, -d);
    if (s < 0) first = std::max<long>(first, (-s + step - 1) / step);
    last = std::min<long>(n, dest_size - d);
    if (s < src_size) last = std::min<long>(last, (src_size - s + step - 1) / step);
    else last = 0;
  };
  long i0 = 0, i1 = 0, j0 = 0, j1 = 0;
  range(sx, dx, dw, src->w, dest->w, i0, i1);
  range(sy, dy, dh, src->h, dest->h, j0, j1);
  if (i0 >= i1 || j0 >= j1) return;
  for (long j = j0; j < j1; ++j) {
    const uint32_t* in = rw::Row32(src, static_cast<int>(sy + step * j)) + sx;
    uint32_t* out = rw::Row32(dest, static_cast<int>(dy + j)) + dx;
    for (long i = i0; i < i1; ++i) out[i] = in[step * i];
  }
}
