// Stretched copies: a column or row repeated over a span (the window chrome's edges), and
// table-driven stretching.

#include "gfx/ex_graphics.h"

#include "gfx/raster_walker.h"

#include <new>

void Rw_ncblit_vlinestretch(BITMAP* src, BITMAP* dest, short dx, short dy, short dw) {
  if (!rw::Usable(src) || dw < 1) return;
  rw::WalkRect(dw, src->h, dest, dx, dy, 0,
               [&](const rw::RowSpan& sp, auto) { std::fill_n(sp.d, sp.n, rw::Row32(src, sp.row)[0]); });
}

void Rw_ncblit_hlinestretch(BITMAP* src, BITMAP* dest, short dx, short dy, short dh) {
  if (!rw::Usable(src) || dh < 1) return;
  rw::WalkRect(src->w, dh, dest, dx, dy, 0, [&](const rw::RowSpan& sp, auto) {
    std::memmove(sp.d, rw::Row32(src, 0) + sp.col, size_t(sp.n) * sizeof(uint32_t));
  });
}

Rw_StretchTable* Rw_create_stretch_table(BITMAP* src, short w, short h) {
  if (!rw::Usable(src) || w < 1 || h < 1) return nullptr;
  auto* table = new (std::nothrow) Rw_StretchTable{nullptr, uint32_t(w) * uint32_t(h), uint32_t(w), uint32_t(h)};
  if (!table) return nullptr;
  table->ptrs = new (std::nothrow) uint32_t*[table->length];
  if (!table->ptrs) {
    delete table;
    return nullptr;
  }
  for (int y = 0; y < h; ++y) {
    uint32_t* row = rw::Row32(src, int(long(y) * src->h / h));
    for (int x = 0; x < w; ++x) table->ptrs[long(y) * w + x] = row + long(x) * src->w / w;
  }
  return table;
}

void Rw_destroy_stretch_table(Rw_StretchTable* table) {
  if (!table) return;
  delete[] table->ptrs;
  delete table;
}

void Rw_ncblit_stretched_video(Rw_StretchTable* table, BITMAP* dest, short x, short y) {
  if (!table || !table->ptrs || table->width == 0 || table->width > uint32_t(INT_MAX)) return;
  const int tw = int(table->width);
  const int th = int(std::min<uint32_t>(table->height, table->length / table->width));
  if (!rw::Usable(dest)) return;
  acquire_bitmap(dest);
  rw::WalkRect(tw, th, dest, x, y, 0, [&](const rw::RowSpan& sp, auto) {
    // Video bitmaps are written through the write-line access, not their line array.
    auto* line = reinterpret_cast<uint32_t*>(bmp_write_line(dest, y + sp.row)) + x + sp.col;
    uint32_t* const* from = table->ptrs + long(sp.row) * tw + sp.col;
    for (int i = 0; i < sp.n; ++i) line[i] = *from[i];
  });
  bmp_unwrite_line(dest);
  release_bitmap(dest);
}
