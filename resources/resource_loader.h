#pragma once

#include <cstddef>
#include <span>

#include "platform/allegro_include.h"

// Loading the images compiled into the program (resources/art). Every bitmap
// is a new 32-bit memory bitmap owned by the caller; transparent pixels are
// magenta with alpha 0 (0x00FF00FF), opaque ones carry alpha 0xFF. No call
// fails loudly: a missing or unreadable image is replaced by a mask-coloured
// bitmap of its size, a font sheet without glyphs by a copy of Allegro's font.

// Built-in image `id`; nullptr only for a number the program does not have.
BITMAP* load_bmp_res(int id);

// Font grabbed from the glyph sheet `id` (characters from 32 on).
FONT* load_font_res(int id);

// Font grabbed from a copy of the glyph sheet `id` in which every pixel that
// is neither magenta nor yellow has been set to `colour` (0xAARRGGBB).
FONT* load_font_rec_res(int id, unsigned long colour);

// The PNG bytes of built-in image `id`; empty when it was not compiled in.
std::span<const unsigned char> EmbeddedArtBytes(int id);

// Image `id` from the PNG `bytes`: the decoded picture when it has the size
// the program expects for id, else a mask-coloured bitmap of that size;
// nullptr for a number the program does not have. load_bmp_res uses the
// compiled-in bytes.
BITMAP* ResourceBitmapFromBytes(int id, std::span<const unsigned char> bytes);

// Decodes PNG bytes into a new 32-bit bitmap as described above; nullptr when
// the bytes are not a complete, readable PNG or the picture is implausibly big.
BITMAP* DecodePngBitmap(std::span<const unsigned char> bytes);

// Number of glyph boxes Allegro's grab_font_from_bitmap finds in `sheet`,
// scanning as it does (separator colour = the top-left pixel); 0 for nullptr.
int CountFontGlyphBoxes(BITMAP* sheet);

// grab_font_from_bitmap(sheet) when the sheet has at least one glyph box (the
// grabber crashes without one), else a copy of Allegro's built-in font.
FONT* GrabFontOrDefault(BITMAP* sheet);
