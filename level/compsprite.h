#pragma once

#include <cstdint>

// A sprite cropped to the bounding box of its visible pixels and packed at
// four bits per pixel. Pixel x of a row is the low nibble of byte x / 2 when x
// is even, the high nibble when odd; 0 is transparent. The record, its row
// table and every row are owned together: the record comes from new, the row
// table and each row from new[] (Nullify(CompSprite*&) frees them in that shape).
struct CompSprite {
  std::uint16_t cx = 0;            // reference point, from the box's left edge (wraps when left of it)
  std::uint16_t cy = 0;            // reference point, from the box's top edge
  std::uint16_t w = 0;             // box width in pixels
  std::uint16_t h = 0;             // box height in pixels
  unsigned char** line = nullptr;  // h rows of (w + 1) / 2 bytes
};

// Frees a compressed sprite with its row table and rows, when not null, and clears the pointer.
void Nullify(CompSprite*& sprite);

// Where a sprite lands when drawn with its reference point at (dx, dy):
// columns [x0, x1) and rows [y0, y1). Mirroring left-right (flip bit 0) moves
// the box about the reference column as the drawing mirrors the pixels.
struct CompSpriteBox {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};
CompSpriteBox PlaceCompSprite(const CompSprite& sprite, int dx, int dy, int flip);
