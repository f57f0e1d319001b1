#include "tests/editor/reference_picture.h"

#include <algorithm>

namespace {

constexpr std::uint32_t kClear = 0x00FF00FF;

struct Canvas {
  DemoPicture& pic;
  void Put(int x, int y, std::uint32_t c) {
    if (x < 0 || y < 0 || x >= pic.w || y >= pic.h || c == kClear) return;
    pic.pixels[static_cast<std::size_t>(y) * pic.w + x] = c & 0xFFFFFF;
  }
};

void DrawTile(Canvas& canvas, const DemoLevel& level, std::uint16_t entry, int col, int row) {
  const int t = entry & 0x3FFF;
  if (t == 0 || t >= static_cast<int>(level.tiles.size())) return;
  const bool h = entry & 0x4000, v = entry & 0x8000;
  const DemoPicture& tile = level.tiles[static_cast<std::size_t>(t)];
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) canvas.Put(32 * col + x, 32 * row + y, tile.At(h ? 31 - x : x, v ? 31 - y : y));
}

}  // namespace

DemoPicture ReferencePicture(const DemoImage& demo, const DemoLevel& level) {
  DemoPicture pic;
  pic.w = 32 * level.tile_w;
  pic.h = 32 * level.tile_h;
  pic.pixels.resize(static_cast<std::size_t>(pic.w) * pic.h);
  Canvas canvas{pic};
  for (int row = 0; row < level.tile_h; ++row)
    for (int col = 0; col < level.tile_w; ++col) {
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) canvas.Put(32 * col + x, 32 * row + y, ((col ^ row) & 1) ? 0x0A0A0A : 0x020202);
      if (!level.underMap.empty()) {
        DrawTile(canvas, level, level.underMap[static_cast<std::size_t>(row) * level.tile_w + col], col, row);
      }
      DrawTile(canvas, level, level.MapAt(col, row), col, row);
    }

  for (const DemoBananaGroup& g : level.bananas) {
    if (g.x > pic.w) break;
    for (int c = 0; c < g.columns; ++c)
      for (int r = 0; r < g.rows; ++r) {
        if (!g.Cell(c, r)) continue;
        const DemoPicture& frame = demo.bananaFrames[0][static_cast<std::size_t>((g.x / 8 + g.y / 8 + c + r) & 7)];
        for (int y = 0; y < 16; ++y)
          for (int x = 0; x < 16; ++x) canvas.Put(g.x + 8 * c + x, g.y + 8 * r + y, frame.At(15 - x, y));
      }
  }

  for (const DemoObject& o : level.objects) {
    if (o.x > pic.w + 64) break;
    if (o.x < -64 || o.spr == 0 || o.sprite.w == 0) continue;
    // The drawn sprite is the box around its visible pixels; mirroring turns
    // that box about its reference point.
    int left = o.sprite.w, top = o.sprite.h, right = -1, bottom = -1;
    for (int y = 0; y < o.sprite.h; ++y)
      for (int x = 0; x < o.sprite.w; ++x)
        if (o.sprite.At(x, y) != kClear) {
          left = std::min(left, x), right = std::max(right, x);
          top = std::min(top, y), bottom = std::max(bottom, y);
        }
    if (right < 0) continue;
    const int w = right - left + 1;
    const int cx = o.refX - left, cy = o.refY - top;
    const int dx = o.flipped ? o.x - (w - cx) : o.x - cx;
    const int dy = o.y - cy;
    for (int y = top; y <= bottom; ++y)
      for (int x = left; x <= right; ++x) {
        const int bx = x - left;
        canvas.Put(dx + (o.flipped ? w - 1 - bx : bx), dy + (y - top), o.sprite.At(x, y));
      }
  }
  return pic;
}
