#pragma once

// The program's own raster routines on 32-bit memory bitmaps (colour 0xAARRGGBB).
//
// Vocabulary of the names:
//   blit  copies every pixel; draw skips mask pixels (low 24 bits 0xFF00FF, any alpha).
//   vh    takes a mirroring mode: 0 none, 1 left-right, 2 top-bottom, 3 both, other values none.
//   nc    the caller promises the rectangle fits; the routines still clip, so a broken
//         promise never writes outside a bitmap.
// Every routine is a no-op for a null bitmap or one that is not 32 bits per pixel, and
// never reads or writes outside either bitmap whatever the position and sizes.

#include "platform/allegro_include.h"

#include "gfx/ExMath.h"

// A precomputed stretch: for each destination pixel the source pixel it shows.
struct Rw_StretchTable {
  uint32_t** ptrs;  // length pixel pointers, row by row
  uint32_t length;  // width * height
  uint32_t width;
  uint32_t height;
};

// [a][b] = a * b / 256, truncated; filled by EXG_FillPercentageOfValueArray.
extern unsigned char PercentageOfValue256[256][256];

// Fills PercentageOfValue256; must run before any luminance or percentage operation.
void EXG_FillPercentageOfValueArray();

// ---- Clipped, mirrored sprite draws (whole source at (dx, dy), mask pixels skipped) ----

// Plain copy of the non-mask pixels.
void Rw_drawvh(BITMAP* src, BITMAP* dest, short dx, short dy, short flip);
// Each byte of the destination plus the source byte, at most 255.
void Rw_drawvh_add(BITMAP* src, BITMAP* dest, short dx, short dy, short flip);
// Each byte of the destination minus the source byte, at least 0.
void Rw_drawvh_subtract(BITMAP* src, BITMAP* dest, short dx, short dy, short flip);
// Each colour byte minus the sum of the two other source colour bytes, at least 0; alpha kept.
void Rw_drawvh_invsub(BITMAP* src, BITMAP* dest, short dx, short dy, short flip);
// Each byte becomes PercentageOfValue256[destination][source].
void Rw_drawvh_luminance(BITMAP* src, BITMAP* dest, short dx, short dy, short flip);
// Copies every pixel, mask colour included.
void Rw_drawvhxc(BITMAP* src, BITMAP* dest, short dx, short dy, short flip);
// Same as Rw_drawvh_add.
void Rw_drawvhxc_add(BITMAP* src, BITMAP* dest, short dx, short dy, short flip);

// As Rw_drawvh / _add / _luminance, but only where ppmask[32 * row + column] == show.
// ppmask holds 32 entries per source row; source columns from 32 on are never drawn.
void Rw_drawvhm(BITMAP* src, BITMAP* dest, short dx, short dy, short flip, const bool* ppmask, bool show);
void Rw_drawvhm_add(BITMAP* src, BITMAP* dest, short dx, short dy, short flip, const bool* ppmask, bool show);
void Rw_drawvhm_luminance(BITMAP* src, BITMAP* dest, short dx, short dy, short flip, const bool* ppmask, bool show);

// As Rw_drawvh unmirrored, at a position of any size: a whole level's picture is wider
// than the 16-bit range.
void Rw_draw_at(BITMAP* src, BITMAP* dest, int dx, int dy);

// Every non-mask source pixel writes color (a silhouette).
void Rw_draw_monochrome(BITMAP* src, BITMAP* dest, short dx, short dy, unsigned long color);
// Every non-mask source pixel is written with each byte lowered by sv, at least 0.
void Rw_draw_subtracted(BITMAP* src, BITMAP* dest, short dx, short dy, unsigned char sv);

// ---- 32x32 block from the source's top-left corner (smaller sources: their whole area) ----

// Copies the block.
void Rw_blit(BITMAP* src, BITMAP* dest, short dx, short dy);
// Copies the block's non-mask pixels.
void Rw_draw(BITMAP* src, BITMAP* dest, short dx, short dy);
// Adds the block's non-mask pixels with saturation.
void Rw_draw_add(BITMAP* src, BITMAP* dest, short dx, short dy);

// ---- Whole-source copies for callers that know the rectangle fits ----

// Copies the whole source to (dx, dy).
void Rw_ncblit(BITMAP* src, BITMAP* dest, short dx, short dy);
// Copies the whole source's non-mask pixels to (dx, dy).
void Rw_ncdraw(BITMAP* src, BITMAP* dest, short dx, short dy);
// Blue, green, red bytes become PercentageOfValue256[destination][source]; alpha kept.
void Rw_ncblit_luminance(BITMAP* src, BITMAP* dest, short dx, short dy);
// As Rw_ncblit_luminance for the non-mask pixels only.
void Rw_ncdraw_luminance(BITMAP* src, BITMAP* dest, short dx, short dy);
// One-pixel-wide source: fills a dw x source-height rectangle, row r with source pixel r; dw < 1 draws nothing.
void Rw_ncblit_vlinestretch(BITMAP* src, BITMAP* dest, short dx, short dy, short dw);
// The source's first row repeated on dh rows; dh < 1 draws nothing.
void Rw_ncblit_hlinestretch(BITMAP* src, BITMAP* dest, short dx, short dy, short dh);
// Copies source width * height pixels, read as one run, to the destination's run from its origin.
void Rw_ncblit_fixed_origin(BITMAP* src, BITMAP* dest);
// As Rw_ncblit_fixed_origin, skipping mask pixels.
void Rw_ncdraw_fixed_origin(BITMAP* src, BITMAP* dest);
// Copies n pixels inside bmp from (sx, sy) to (dx, dy), one by one left to right.
void Rw_ncblit_linecopy(BITMAP* bmp, short sx, short sy, short dx, short dy, short n);
// As Rw_ncblit_linecopy, skipping mask pixels.
void Rw_ncdraw_linecopy(BITMAP* bmp, short sx, short sy, short dx, short dy, short n);
// 32 pixels from (x + 31, y) leftward: pixel x + 31 - k is c1 when bit k of bits is set, else c0;
// a mask-coloured c0 or c1 is not drawn.
void Rw_ncdraw_binary_dots(BITMAP* bmp, short x, short y, unsigned long c0, unsigned long c1, unsigned long bits);

// ---- Blocks onto a 256x224 frame ----

// A 16x16 / 32x32 source block, mask pixels skipped, clipped to 256x224 (and the destination).
void Rw_draw_16x16_to_256x224(BITMAP* src, BITMAP* dest, short dx, short dy);
void Rw_draw_32x32_to_256x224(BITMAP* src, BITMAP* dest, short dx, short dy);
// The same for callers that know the block fits.
void Rw_ncdraw_16x16_to_256x224(BITMAP* src, BITMAP* dest, short dx, short dy);
void Rw_ncdraw_32x32_to_256x224(BITMAP* src, BITMAP* dest, short dx, short dy);
// Whole 256x224 frame (57344 pixels as one run): plain, masked, multiplied.
void Rw_dncblit_256x224(BITMAP* src, BITMAP* dest);
void Rw_dncdraw_256x224(BITMAP* src, BITMAP* dest);
void Rw_dncblit_luminance_256x224(BITMAP* src, BITMAP* dest);

// The drawing library's blit of an n x 1 strip inside bmp.
void blit_linecopy(BITMAP* bmp, short sx, short sy, short dx, short dy, short n);

// ---- Stretching through a table ----

// New table of w x h entries: (x, y) shows source pixel (x * src->w / w, y * src->h / h).
// Null for a null source or w, h below 1. The caller destroys it.
Rw_StretchTable* Rw_create_stretch_table(BITMAP* src, short w, short h);
// Frees the table and its pointer array (null is allowed).
void Rw_destroy_stretch_table(Rw_StretchTable* table);
// Writes the table's pixels into dest through the library's write-line access, table row r
// on destination row y + r from column x.
void Rw_ncblit_stretched_video(Rw_StretchTable* table, BITMAP* dest, short x, short y);

// ---- Whole-bitmap pixel operations (every byte means all four, alpha included) ----

void Rw_bmp_ADDg_32(BITMAP* bmp, unsigned char v);  // every byte + v, at most 255
void Rw_bmp_ADD_32(BITMAP* bmp, unsigned long c);   // colour bytes + those of c, at most 255; alpha kept
void Rw_bmp_SUB_32(BITMAP* bmp, unsigned char v);   // every byte - v, at least 0
void Rw_bmp_NOT_32(BITMAP* bmp);                    // every byte inverted
void Rw_bmp_AND_32(BITMAP* bmp, unsigned char v);   // every byte AND v
void Rw_bmp_OR_32(BITMAP* bmp, unsigned char v);    // every byte OR v
void Rw_bmp_XOR_32(BITMAP* bmp, unsigned char v);   // every byte XOR v
void Rw_bmp_PCT_32(BITMAP* bmp, unsigned char v);   // every byte b becomes PercentageOfValue256[b][v]
// Every pixel whose low 24 bits are neither magenta (0xFF00FF) nor yellow (0xFFFF00) becomes c.
void Rw_bmp_REC_32(BITMAP* bmp, unsigned long c);
// Non-mask pixels: hue set to h (kept within 0-360); written back with alpha 0.
void Rw_bmp_HUE_32(BITMAP* bmp, float h);
// Non-mask pixels: h added to the hue, saturation set to s (kept within 0-1); alpha 0.
void Rw_bmp_IHS_32(BITMAP* bmp, float h, float s);
// As Rw_bmp_IHS_32 with the new hue then held within hl-hh.
void Rw_bmp_IHSC_32(BITMAP* bmp, float h, float hl, float hh, float s);

// ---- Light cones ----

// New (2 * p_height + 1)-square bitmap: a cone of p_deg_width degrees centred on compass
// angle p_deg_offset from the centre, from radius p_cut_radius to p_height, p_color fading to
// black outward; black elsewhere (for additive drawing). Null for p_height < 1.
BITMAP* prerender_efx_highlight(double p_deg_width, int p_height, int p_cut_radius, double p_deg_offset,
                                unsigned long p_color);
// The same cone fading from p_color to p_colorX outward, p_colorX elsewhere (for luminance drawing).
BITMAP* prerender_efx_luminance(double p_deg_width, int p_height, int p_cut_radius, double p_deg_offset,
                                unsigned long p_color, unsigned long p_colorX);
