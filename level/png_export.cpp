#include "level/png_export.h"

#include <png.h>

#include <cstdint>

#include "rom/file_replace.h"

namespace {

constexpr int kDeflateLevel = 3;

void AppendBytes(png_structp png, png_bytep data, png_size_t size) {
  auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + size);
}

void NoFlush(png_structp) {}

// libpng reports errors by longjmp; everything this function owns is created
// before setjmp so that no destructor is skipped.
bool EncodeRows(int w, int h, const PngRowSource& source, bool alpha, std::vector<png_byte>& row,
                std::vector<unsigned char>& out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return false;
  }
  png_set_write_fn(png, &out, AppendBytes, NoFlush);
  // Speed over size: deflate level 3 with the Sub filter on every row, instead
  // of level 6 trying all five filters per row, encodes a level picture several
  // times faster; the files come out about as large (6 % larger for the demo's
  // flat tiles, no larger for busy ones). Fixed settings: the same bitmap always
  // gives the same bytes.
  png_set_compression_level(png, kDeflateLevel);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
  png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8,
               alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < h; ++y) {
    const std::uint32_t* src = source(y);
    png_byte* px = row.data();
    // One loop for each layout, with a fixed stride the compiler can unroll.
    if (alpha) {
      for (int x = 0; x < w; ++x, px += 4) {
        px[0] = static_cast<png_byte>(src[x] >> 16);
        px[1] = static_cast<png_byte>(src[x] >> 8);
        px[2] = static_cast<png_byte>(src[x]);
        px[3] = static_cast<png_byte>(src[x] >> 24);
      }
    } else {
      for (int x = 0; x < w; ++x, px += 3) {
        px[0] = static_cast<png_byte>(src[x] >> 16);
        px[1] = static_cast<png_byte>(src[x] >> 8);
        px[2] = static_cast<png_byte>(src[x]);
      }
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

bool WritePng(const std::string& path, BITMAP* bmp, bool alpha, std::string& error) {
  std::vector<unsigned char> bytes;
  if (!QBR1_EncodePng(bmp, alpha, bytes)) {
    error = "the picture cannot be encoded as PNG";
    return false;
  }
  return ReplaceFile(path, bytes, error);
}

}  // namespace

bool QBR1_EncodePng(BITMAP* bmp, bool alpha, std::vector<unsigned char>& out) {
  out.clear();
  if (!bmp || bitmap_color_depth(bmp) != 32) return false;
  return QBR1_EncodePngRows(
      bmp->w, bmp->h, [bmp](int y) { return reinterpret_cast<const std::uint32_t*>(bmp->line[y]); }, alpha, out);
}

bool QBR1_EncodePngRows(int w, int h, const PngRowSource& row, bool alpha, std::vector<unsigned char>& out) {
  out.clear();
  if (w <= 0 || h <= 0) return false;
  std::vector<png_byte> bytes(static_cast<std::size_t>(w) * (alpha ? 4 : 3));
  if (EncodeRows(w, h, row, alpha, bytes, out)) return true;
  out.clear();
  return false;
}

bool QBR1_WritePng(const std::string& path, BITMAP* bmp, std::string& error) {
  return WritePng(path, bmp, false, error);
}

bool QBR1_WritePngAlpha(const std::string& path, BITMAP* bmp, std::string& error) {
  return WritePng(path, bmp, true, error);
}
