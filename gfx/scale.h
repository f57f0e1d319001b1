#pragma once

// Whole-pixel scaling between 32-bit bitmaps: the zoomed level view and the
// scaled window. Both routines clip to both bitmaps and touch rows directly,
// so they are for memory bitmaps (the frame buffer, pages, off-screen pictures).

#include "platform/allegro_include.h"

// Copies the w x h area of `src` at (sx, sy) to `dest` at (dx, dy), every source
// pixel as a factor x factor block (factor 1-4; other factors do nothing).
void Rw_blit_enlarged(BITMAP* src, int sx, int sy, int w, int h, BITMAP* dest, int dx, int dy, int factor);

// Fills the dw x dh area of `dest` at (dx, dy) with every step-th pixel of every
// step-th row of `src`, from (sx, sy): destination pixel (i, j) shows source
// pixel (sx + step i, sy + step j), the nearest-pixel reduction (step 1-4).
// Destination pixels whose source lies outside `src` are left alone.
void Rw_blit_sampled(BITMAP* src, int sx, int sy, BITMAP* dest, int dx, int dy, int dw, int dh, int step);
