#pragma once

// The tests' own PNG writer, independent of the program's: any colour type and bit depth, rows
// unfiltered, the image data in stored (uncompressed) deflate blocks.

#include <cstdint>
#include <vector>

struct TestPng {
  int w = 0;
  int h = 0;
  int depth = 8;                       // bits per sample: 1, 2, 4, 8 (or 16 for the colour types that allow it)
  int colour_type = 3;                 // 3 indexed, 2 RGB, 0 grey, 6 RGBA, 4 grey and alpha
  std::vector<std::uint32_t> samples;  // row by row, one per pixel and channel
  int palette_size = 16;               // entries of the PLTE chunk (indexed only)
  std::vector<std::uint32_t> colours;  // the PLTE entries as 0xRRGGBB; empty: palette_size made-up ones
};

// The bytes of the PNG file.
std::vector<unsigned char> MakeTestPng(const TestPng& png);
