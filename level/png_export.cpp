#include "level/png_export.h"

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

// libpng reports errors by longjmp; everything this function owns is created
// before setjmp so that no destructor is skipped.
bool WriteRows(std::FILE* f, BITMAP* bmp, bool alpha, std::vector<png_byte>& row) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, static_cast<png_uint_32>(bmp->w), static_cast<png_uint_32>(bmp->h), 8,
               alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  const int channels = alpha ? 4 : 3;
  for (int y = 0; y < bmp->h; ++y) {
    const auto* src = reinterpret_cast<const std::uint32_t*>(bmp->line[y]);
    for (int x = 0; x < bmp->w; ++x) {
      png_byte* out = &row[static_cast<std::size_t>(channels) * x];
      out[0] = static_cast<png_byte>(src[x] >> 16);
      out[1] = static_cast<png_byte>(src[x] >> 8);
      out[2] = static_cast<png_byte>(src[x]);
      if (alpha) out[3] = static_cast<png_byte>(src[x] >> 24);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

bool WritePng(const std::string& path, BITMAP* bmp, bool alpha) {
  if (!bmp || bitmap_color_depth(bmp) != 32 || bmp->w <= 0 || bmp->h <= 0) return false;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  std::vector<png_byte> row(static_cast<std::size_t>(bmp->w) * (alpha ? 4 : 3));
  const bool written = WriteRows(f, bmp, alpha, row);
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) std::remove(path.c_str());
  return written && closed;
}

}  // namespace

bool QBR1_WritePng(const std::string& path, BITMAP* bmp) { return WritePng(path, bmp, false); }

bool QBR1_WritePngAlpha(const std::string& path, BITMAP* bmp) { return WritePng(path, bmp, true); }
