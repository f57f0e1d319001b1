#include <algorithm>

#include "resources/generator/art.h"

namespace {

constexpr int kWidth = 512;
constexpr int kHeight = 96;

// Scales a canvas by an integer factor, mask included.
Canvas Scaled(const Canvas& src, int f) {
  Canvas out(src.w * f, src.h * f);
  for (int y = 0; y < out.h; ++y)
    for (int x = 0; x < out.w; ++x) out.Set(x, y, src.Get(x / f, y / f));
  return out;
}

// Text with a soft drop shadow and a top-to-bottom shine on the letters.
void ShadedText(Canvas& c, int x, int y, const std::string& text, int scale, uint32_t top, uint32_t bottom) {
  DrawMenuText(c, x + scale / 2 + 1, y + scale / 2 + 1, text, scale, 0x0A0A0A, -1);
  Canvas layer(c.w, c.h);
  DrawMenuText(layer, x, y, text, scale, 0xFFFFFF, -1);
  const int glyph_h = 7 * scale;
  for (int r = 0; r < layer.h; ++r)
    for (int col = 0; col < layer.w; ++col)
      if (layer.Get(col, r) == 0xFFFFFF) c.Set(col, r, Mix(top, bottom, std::clamp(double(r - y) / glyph_h, 0.0, 1.0)));
}

Canvas Banner(const std::string& subtitle) {
  Canvas c(kWidth, kHeight);
  c.VGradient(0, 0, kWidth, kHeight, 0x343434, 0x1A1A1A);
  // Faint diagonal hatching for texture.
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      if ((x + y) % 6 == 0) c.Set(x, y, Mix(c.Get(x, y), 0x000000, 0.18));
  // Accent rules above and below the lettering.
  c.HLine(0, 0, kWidth, 0x4A4A4A);
  c.HLine(0, kHeight - 1, kWidth, 0x0C0C0C);
  c.VGradient(0, 78, kWidth, 2, 0x3A6AC0, 0x1E3C78);

  // The enlarged program icon and the lettering, centred as one group.
  const std::string title = "QBR Resource Editor";
  const Canvas icon = Scaled(ProgramIcon(), 4);
  const int title_w = (MenuTextWidth(title) - int(title.size())) * 3;
  const int left = (kWidth - (icon.w + 18 + title_w)) / 2;
  c.Draw(icon, left, 8);
  const int text_x = left + icon.w + 18;
  ShadedText(c, text_x, 14, title, 3, 0xF4F4F4, 0x9A9A9A);
  DrawMenuText(c, text_x + 2, 50, subtitle, 2, 0x8CB4F0, -1);
  const std::string version = "Version 0.0.6.0 alpha";
  DrawMenuText(c, kWidth - 12 - MenuTextWidth(version), 84, version, 1, 0x909090);
  return c;
}

}  // namespace

Canvas StartupBanner() { return Banner("Level and resource viewer"); }
Canvas ExtractBanner() { return Banner("Extraction"); }
