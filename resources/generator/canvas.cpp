#include "resources/generator/canvas.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <map>

Canvas::Canvas(int width, int height, uint32_t fill) : w(width), h(height), px(size_t(width) * height, fill) {}

void Canvas::Set(int x, int y, uint32_t c) {
  if (x >= 0 && y >= 0 && x < w && y < h) px[size_t(y) * w + x] = c;
}

uint32_t Canvas::Get(int x, int y) const {
  if (x >= 0 && y >= 0 && x < w && y < h) return px[size_t(y) * w + x];
  return kMagenta;
}

void Canvas::Fill(int x, int y, int width, int height, uint32_t c) {
  for (int r = 0; r < height; ++r)
    for (int col = 0; col < width; ++col) Set(x + col, y + r, c);
}

void Canvas::Frame(int x, int y, int width, int height, uint32_t c) {
  HLine(x, y, width, c);
  HLine(x, y + height - 1, width, c);
  VLine(x, y, height, c);
  VLine(x + width - 1, y, height, c);
}

void Canvas::VGradient(int x, int y, int width, int height, uint32_t top, uint32_t bottom) {
  for (int r = 0; r < height; ++r)
    HLine(x, y + r, width, Mix(top, bottom, height > 1 ? double(r) / (height - 1) : 0.0));
}

void Canvas::Draw(const Canvas& src, int x, int y) {
  for (int r = 0; r < src.h; ++r)
    for (int c = 0; c < src.w; ++c)
      if (src.Get(c, r) != kMagenta) Set(x + c, y + r, src.Get(c, r));
}

void Canvas::Copy(const Canvas& src, int sx, int sy, int width, int height, int x, int y) {
  for (int r = 0; r < height; ++r)
    for (int c = 0; c < width; ++c) Set(x + c, y + r, src.Get(sx + c, sy + r));
}

uint32_t Mix(uint32_t a, uint32_t b, double t) {
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const double ca = (a >> shift) & 0xFF;
    const double cb = (b >> shift) & 0xFF;
    const int v = std::clamp(int(ca + (cb - ca) * t + 0.5), 0, 255);
    out |= uint32_t(v) << shift;
  }
  return out;
}

void DrawArt(Canvas& canvas, int x, int y, const std::vector<std::string>& rows,
             const std::vector<PaletteEntry>& palette) {
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t c = 0; c < rows[r].size(); ++c)
      for (const PaletteEntry& entry : palette)
        if (entry.key == rows[r][c]) canvas.Set(x + int(c), y + int(r), entry.colour);
}

bool WritePng(const Canvas& canvas, const std::string& path, bool indexed) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(canvas.w);
  image.height = png_uint_32(canvas.h);
  std::vector<png_byte> data;
  std::vector<png_byte> colourmap;
  if (indexed) {
    std::map<uint32_t, int> index;
    for (uint32_t c : canvas.px)
      if (!index.count(c)) {
        const int next = int(index.size());
        index[c] = next;
      }
    if (index.size() > 256) return false;
    colourmap.resize(index.size() * 3);
    for (auto& [colour, i] : index) {
      colourmap[size_t(i) * 3 + 0] = png_byte(colour >> 16);
      colourmap[size_t(i) * 3 + 1] = png_byte(colour >> 8);
      colourmap[size_t(i) * 3 + 2] = png_byte(colour);
    }
    for (uint32_t c : canvas.px) data.push_back(png_byte(index[c]));
    image.format = PNG_FORMAT_RGB_COLORMAP;
    image.colormap_entries = png_uint_32(index.size());
  } else {
    for (uint32_t c : canvas.px) {
      data.push_back(png_byte(c >> 16));
      data.push_back(png_byte(c >> 8));
      data.push_back(png_byte(c));
    }
    image.format = PNG_FORMAT_RGB;
  }
  const int ok = png_image_write_to_file(&image, path.c_str(), 0, data.data(), 0, indexed ? colourmap.data() : nullptr);
  if (!ok) std::fprintf(stderr, "%s: %s\n", path.c_str(), image.message);
  return ok != 0;
}
