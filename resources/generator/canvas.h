#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A 24-bit picture (0xRRGGBB per pixel) with the few drawing operations the
// art needs. Magenta is the mask colour of every sheet.
inline constexpr uint32_t kMagenta = 0xFF00FF;
inline constexpr uint32_t kYellow = 0xFFFF00;

struct Canvas {
  int w = 0;
  int h = 0;
  std::vector<uint32_t> px;

  Canvas(int width, int height, uint32_t fill = kMagenta);

  // Pixel at (x, y); writes outside the canvas are dropped, reads give magenta.
  void Set(int x, int y, uint32_t c);
  uint32_t Get(int x, int y) const;

  void Fill(int x, int y, int width, int height, uint32_t c);
  void HLine(int x, int y, int width, uint32_t c) { Fill(x, y, width, 1, c); }
  void VLine(int x, int y, int height, uint32_t c) { Fill(x, y, 1, height, c); }
  // One-pixel outline of the rectangle.
  void Frame(int x, int y, int width, int height, uint32_t c);
  // Vertical gradient from `top` on row y to `bottom` on row y + height - 1.
  void VGradient(int x, int y, int width, int height, uint32_t top, uint32_t bottom);
  // Copies every pixel of src that is not magenta to (x, y).
  void Draw(const Canvas& src, int x, int y);
  // Copies the src rectangle (sx, sy, width, height) to (x, y), magenta included.
  void Copy(const Canvas& src, int sx, int sy, int width, int height, int x, int y);
};

// Linear mix of two colours, t from 0 (a) to 1 (b).
uint32_t Mix(uint32_t a, uint32_t b, double t);

// Draws text art: one string per row, each character looked up in `palette`
// (pairs of character and colour); '.' and characters not in it stay untouched.
struct PaletteEntry {
  char key;
  uint32_t colour;
};
void DrawArt(Canvas& canvas, int x, int y, const std::vector<std::string>& rows,
             const std::vector<PaletteEntry>& palette);

// Writes the canvas as an 8-bit-per-channel RGB PNG, or as a palette PNG when
// `indexed` is set (the picture then has at most 256 colours). False on failure.
bool WritePng(const Canvas& canvas, const std::string& path, bool indexed);
