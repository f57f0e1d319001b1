#include "gui/FramePieces.h"

#include "gfx/ex_graphics.h"

namespace {

bool Fits(BITMAP* piece, BITMAP* dest, int x, int y, int w, int h) {
  return piece && dest && w >= 0 && h >= 0 && x >= 0 && y >= 0 && x + w <= dest->w && y + h <= dest->h;
}

}  // namespace

void DrawMasked(BITMAP* piece, BITMAP* dest, int x, int y) {
  if (piece && Fits(piece, dest, x, y, piece->w, piece->h))
    Rw_ncdraw(piece, dest, static_cast<short>(x), static_cast<short>(y));
}

void DrawCopy(BITMAP* piece, BITMAP* dest, int x, int y) {
  if (piece && Fits(piece, dest, x, y, piece->w, piece->h))
    Rw_ncblit(piece, dest, static_cast<short>(x), static_cast<short>(y));
}

void DrawColumnStretched(BITMAP* piece, BITMAP* dest, int x, int y, int width) {
  if (piece && width > 0 && Fits(piece, dest, x, y, width, piece->h))
    Rw_ncblit_vlinestretch(piece, dest, static_cast<short>(x), static_cast<short>(y), static_cast<short>(width));
}

void DrawRowStretched(BITMAP* piece, BITMAP* dest, int x, int y, int height) {
  if (piece && height > 0 && Fits(piece, dest, x, y, piece->w, height))
    Rw_ncblit_hlinestretch(piece, dest, static_cast<short>(x), static_cast<short>(y), static_cast<short>(height));
}

void DrawMirrored(BITMAP* piece, BITMAP* dest, int x, int y) {
  if (piece && dest) Rw_drawvh(piece, dest, static_cast<short>(x), static_cast<short>(y), 1);
}
