#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Indexed-colour PNG files (colour type 3) in memory: the character sheets of
// the exchange folder are written as such, and read back by the import.

// A picture of palette indexes.
struct IndexedPicture {
  int w = 0;
  int h = 0;
  std::vector<std::uint8_t> pixels;  // row by row, one index per pixel
  std::vector<std::uint32_t> palette;  // the file's colours (0xRRGGBB) as read; unused when writing

  std::uint8_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * w + x]; }
};

// The PNG file of `picture`: bit depth 4 when every index is below 16, else 8;
// `palette` as its colours (0xRRGGBB, at most 256); index 0 fully transparent
// when `clear0`. Empty when the picture is empty or the file cannot be made.
std::vector<unsigned char> QBR1_IndexedPngBytes(const IndexedPicture& picture, const std::vector<std::uint32_t>& palette,
                                                bool clear0);

// Reads an indexed PNG of any bit depth (1, 2, 4 or 8) from `size` bytes at
// `data`, pixels as stored and the palette's colours beside them. False, with a
// one-line reason, for anything else: not a PNG, another colour type, a
// picture of more than `max_pixels` pixels (refused before it is decoded), or a
// damaged file.
bool QBR1_ReadIndexedPng(const unsigned char* data, std::size_t size, std::size_t max_pixels, IndexedPicture& out,
                         std::string& reason);
