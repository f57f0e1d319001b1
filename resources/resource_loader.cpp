#include "resources/resource_loader.h"

#include <png.h>

#include <cstdint>
#include <vector>

#include "gfx/ex_graphics.h"
#include "resources/embedded_art.h"
#include "resources/resource_table.h"
#include "shell/base/functions.h"

namespace {

// Larger than any built-in image by far; guards against headers that claim
// gigapixel pictures.
constexpr png_uint_32 kMaxSide = 4096;

uint32_t* Row(BITMAP* bmp, int y) { return reinterpret_cast<uint32_t*>(bmp->line[y]); }

BITMAP* BlankBitmap(int w, int h) {
  BITMAP* bmp = create_bitmap_ex(32, w, h);
  if (bmp != nullptr) clear_to_color(bmp, int(kMaskPixel));
  return bmp;
}

// Pixel as the grabber's getpixel sees it: -1 outside the bitmap.
int SheetPixel(BITMAP* bmp, int x, int y) {
  if (x < 0 || y < 0 || x >= bmp->w || y >= bmp->h) return -1;
  return int(Row(bmp, y)[x]);
}

// Finds the next glyph box at or after (x, y) in reading order, exactly as
// the grabber does; w = h = 0 when there is none.
void FindGlyphBox(BITMAP* bmp, int& x, int& y, int& w, int& h) {
  const int c = SheetPixel(bmp, 0, 0);
  while (SheetPixel(bmp, x, y) != c || SheetPixel(bmp, x + 1, y) != c || SheetPixel(bmp, x, y + 1) != c ||
         SheetPixel(bmp, x + 1, y + 1) == c) {
    ++x;
    if (x >= bmp->w) {
      x = 0;
      ++y;
      if (y >= bmp->h) {
        w = h = 0;
        return;
      }
    }
  }
  w = 0;
  while (SheetPixel(bmp, x + w + 1, y + 1) != c && x + w + 1 <= bmp->w) ++w;
  h = 0;
  while (SheetPixel(bmp, x + 1, y + h + 1) != c && y + h + 1 <= bmp->h) ++h;
}

}  // namespace

std::span<const unsigned char> EmbeddedArtBytes(int id) {
  for (const EmbeddedArt* art = EmbeddedArtTable(); art->data != nullptr; ++art)
    if (art->id == id) return {art->data, art->size};
  return {};
}

BITMAP* DecodePngBitmap(std::span<const unsigned char> bytes) {
  if (bytes.empty()) return nullptr;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return nullptr;
  if (image.width == 0 || image.height == 0 || image.width > kMaxSide || image.height > kMaxSide) {
    png_image_free(&image);
    return nullptr;
  }
  image.format = PNG_FORMAT_RGBA;
  std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    return nullptr;
  }
  BITMAP* bmp = create_bitmap_ex(32, int(image.width), int(image.height));
  if (bmp == nullptr) return nullptr;
  for (int y = 0; y < bmp->h; ++y)
    for (int x = 0; x < bmp->w; ++x) {
      const png_byte* p = &pixels[(size_t(y) * bmp->w + x) * 4];
      const uint32_t rgb = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
      const bool transparent = p[3] == 0 || rgb == (kMaskPixel & 0xFFFFFFu);
      Row(bmp, y)[x] = transparent ? kMaskPixel : (0xFF000000u | rgb);
    }
  return bmp;
}

BITMAP* ResourceBitmapFromBytes(int id, std::span<const unsigned char> bytes) {
  const ResourceInfo* info = FindResourceInfo(id);
  if (info == nullptr) return nullptr;
  BITMAP* bmp = DecodePngBitmap(bytes);
  // The skin is cut from these sheets by fixed rectangles, so a picture of
  // another size is as unusable as a missing one.
  if (bmp != nullptr && (bmp->w != info->w || bmp->h != info->h)) Nullify(bmp);
  if (bmp == nullptr) bmp = BlankBitmap(info->w, info->h);
  return bmp;
}

BITMAP* load_bmp_res(int id) { return ResourceBitmapFromBytes(id, EmbeddedArtBytes(id)); }

int CountFontGlyphBoxes(BITMAP* sheet) {
  if (sheet == nullptr || bitmap_color_depth(sheet) != 32) return 0;
  int x = 0, y = 0, w = 0, h = 0, count = 0;
  while (true) {
    FindGlyphBox(sheet, x, y, w, h);
    if (w <= 0 || h <= 0) break;
    ++count;
    x += w;
  }
  return count;
}

FONT* GrabFontOrDefault(BITMAP* sheet) {
  FONT* grabbed = CountFontGlyphBoxes(sheet) > 0 ? grab_font_from_bitmap(sheet) : nullptr;
  return grabbed != nullptr ? grabbed : extract_font_range(font, -1, -1);
}

FONT* load_font_res(int id) {
  BITMAP* sheet = load_bmp_res(id);
  FONT* f = GrabFontOrDefault(sheet);
  Nullify(sheet);
  return f;
}

FONT* load_font_rec_res(int id, unsigned long colour) {
  BITMAP* sheet = load_bmp_res(id);
  BITMAP* copy = sheet != nullptr ? create_bitmap_ex(32, sheet->w, sheet->h) : nullptr;
  if (copy != nullptr) {
    blit(sheet, copy, 0, 0, 0, 0, sheet->w, sheet->h);
    Rw_bmp_REC_32(copy, colour);
  }
  FONT* f = GrabFontOrDefault(copy);
  Nullify(copy);
  Nullify(sheet);
  return f;
}
