#include "level/png_indexed.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace {

// libpng reports errors by longjmp; the functions below create everything
// with a destructor before setjmp, so none is skipped.
struct ErrorSink {
  std::string message;
};

void OnError(png_structp png, png_const_charp message) {
  static_cast<ErrorSink*>(png_get_error_ptr(png))->message = message ? message : "";
  png_longjmp(png, 1);
}

// A file read from memory warns about nothing: the caller only wants the pixels or a reason.
void OnWarning(png_structp, png_const_charp) {}

void Append(png_structp png, png_bytep data, png_size_t n) {
  auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}

void Flush(png_structp) {}

struct Source {
  const unsigned char* data;
  std::size_t size;
  std::size_t at;
};

void Take(png_structp png, png_bytep into, png_size_t n) {
  auto* src = static_cast<Source*>(png_get_io_ptr(png));
  if (n > src->size - src->at) png_error(png, "the file ends early");
  std::memcpy(into, src->data + src->at, n);
  src->at += n;
}

bool Write(const IndexedPicture& picture, const std::vector<png_color>& colours, bool clear0,
           std::vector<unsigned char>& out, std::vector<png_bytep>& rows, ErrorSink& sink, int depth) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, OnError, OnWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return false;
  }
  png_set_write_fn(png, &out, Append, Flush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(picture.w), static_cast<png_uint_32>(picture.h), depth,
               PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_PLTE(png, info, colours.data(), static_cast<int>(colours.size()));
  png_byte alpha0 = 0;
  if (clear0) png_set_tRNS(png, info, &alpha0, 1, nullptr);
  png_write_info(png, info);
  // Rows hold one index a byte; libpng packs them to the bit depth.
  png_set_packing(png);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

bool Read(Source& src, std::size_t max_pixels, IndexedPicture& out, ErrorSink& sink, std::string& reason) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &sink, OnError, OnWarning);
  if (!png) {
    reason = "out of memory";
    return false;
  }
  png_infop info = png_create_info_struct(png);
  std::vector<png_bytep> rows;
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    reason = "a damaged PNG file (" + sink.message + ")";
    return false;
  }
  png_set_read_fn(png, &src, Take);
  // Indexes beyond the palette are the caller's to judge, not a reason to stop.
  png_set_check_for_invalid_index(png, 0);
  png_set_benign_errors(png, 1);
  png_read_info(png, info);
  png_uint_32 w = 0, h = 0;
  int depth = 0, type = 0, interlace = 0;
  png_get_IHDR(png, info, &w, &h, &depth, &type, &interlace, nullptr, nullptr);
  if (type != PNG_COLOR_TYPE_PALETTE) {
    png_destroy_read_struct(&png, &info, nullptr);
    reason = "not an indexed-colour PNG (colour type " + std::to_string(type) + ")";
    return false;
  }
  if (w == 0 || h == 0 || static_cast<unsigned long long>(w) * h > max_pixels) {
    png_destroy_read_struct(&png, &info, nullptr);
    reason = "a picture of " + std::to_string(w) + " x " + std::to_string(h) + " pixels is too large";
    return false;
  }
  png_colorp colours = nullptr;
  int count = 0;
  if (png_get_PLTE(png, info, &colours, &count) == PNG_INFO_PLTE)
    for (int i = 0; i < count; ++i)
      out.palette.push_back(static_cast<std::uint32_t>(colours[i].red) << 16 |
                            static_cast<std::uint32_t>(colours[i].green) << 8 | colours[i].blue);
  png_set_packing(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  out.w = static_cast<int>(w);
  out.h = static_cast<int>(h);
  out.pixels.assign(static_cast<std::size_t>(w) * h, 0);
  rows.resize(h);
  for (png_uint_32 y = 0; y < h; ++y) rows[y] = out.pixels.data() + static_cast<std::size_t>(y) * w;
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

}  // namespace

std::vector<unsigned char> QBR1_IndexedPngBytes(const IndexedPicture& picture, const std::vector<std::uint32_t>& palette,
                                                bool clear0) {
  if (picture.w <= 0 || picture.h <= 0 || picture.pixels.size() != static_cast<std::size_t>(picture.w) * picture.h ||
      palette.empty() || palette.size() > 256)
    return {};
  std::vector<png_color> colours;
  for (std::uint32_t c : palette)
    colours.push_back(png_color{static_cast<png_byte>(c >> 16), static_cast<png_byte>(c >> 8), static_cast<png_byte>(c)});
  int highest = 0;
  for (std::uint8_t p : picture.pixels) highest = std::max<int>(highest, p);
  // Every index needs its palette entry.
  colours.resize(std::max<std::size_t>(colours.size(), static_cast<std::size_t>(highest) + 1), png_color{0, 0, 0});
  std::vector<png_bytep> rows(static_cast<std::size_t>(picture.h));
  std::vector<std::uint8_t> pixels = picture.pixels;
  for (int y = 0; y < picture.h; ++y) rows[y] = pixels.data() + static_cast<std::size_t>(y) * picture.w;
  std::vector<unsigned char> out;
  ErrorSink sink;
  if (!Write(picture, colours, clear0, out, rows, sink, highest < 16 && colours.size() <= 16 ? 4 : 8)) return {};
  return out;
}

bool QBR1_ReadIndexedPng(const unsigned char* data, std::size_t size, std::size_t max_pixels, IndexedPicture& out,
                         std::string& reason) {
  out = {};
  if (size < 8 || png_sig_cmp(data, 0, 8) != 0) {
    reason = "not a PNG file";
    return false;
  }
  Source src{data, size, 0};
  ErrorSink sink;
  if (Read(src, max_pixels, out, sink, reason)) return true;
  out = {};
  return false;
}
