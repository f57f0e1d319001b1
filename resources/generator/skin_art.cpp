#include "resources/generator/art.h"

namespace {

// The dark theme: near-black outline, a 4-pixel frame ring, lighter faces.
constexpr uint32_t kOutline = 0x0E0E0E;
constexpr uint32_t kRing[4] = {kOutline, 0x484848, 0x383838, 0x262626};
constexpr uint32_t kCaptionTop = 0x505050;
constexpr uint32_t kCaptionBottom = 0x303030;
constexpr uint32_t kCaptionLight = 0x646464;
constexpr uint32_t kCaptionRule = 0x1A1A1A;

uint32_t CaptionFill(int row) { return Mix(kCaptionTop, kCaptionBottom, (row - 1) / 21.0); }

// Toolbar background by row; tool buttons copy it where they are not drawn.
uint32_t ToolbarRow(int row) {
  if (row == 0) return 0x2A2A2A;
  if (row == 23) return 0x1C1C1C;
  return Mix(0x3E3E3E, 0x303030, (row - 1) / 21.0);
}

uint32_t StatusRow(int row) { return row == 0 ? 0x1C1C1C : Mix(0x383838, 0x2C2C2C, (row - 1) / 14.0); }

// Scroll-bar track across its 12 pixels (row of a horizontal bar, column of a vertical one).
uint32_t TrackAcross(int i) { return (i == 0 || i == 11) ? 0x1A1A1A : 0x262626; }
constexpr uint32_t kThumbLight = 0x8C8C8C;
constexpr uint32_t kThumbFace = 0x6C6C6C;
constexpr uint32_t kThumbDark = 0x484848;
constexpr uint32_t kThumbSide = 0x5A5A5A;

// Thumb body across its 12 pixels, light side first.
uint32_t ThumbAcross(int i, uint32_t face) {
  if (i == 0 || i == 11) return TrackAcross(i);
  if (i == 1) return kThumbLight;
  if (i == 10) return kThumbDark;
  return face;
}
// Thumb end cap across its 12 pixels: rounded by track colour at the corners.
uint32_t ThumbCapOuter(int i) { return (i <= 1 || i >= 10) ? TrackAcross(i) : kThumbSide; }

}  // namespace

Canvas FrameSheet() {
  Canvas s(8, 32);
  // Slot 0: left end of the caption, its top corner rounded as the window outline is.
  const int cut[4] = {4, 2, 1, 1};  // masked pixels at the start of rows 0-3
  auto masked = [&](int x, int y) { return x < 0 || y < 0 || (y < 4 && x < cut[y]); };
  auto outer = [&](int x, int y) { return !masked(x, y) && (masked(x - 1, y) || masked(x, y - 1)); };
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 6; ++x) {
      if (masked(x, y)) continue;
      uint32_t c = y == 23 ? kCaptionRule : CaptionFill(y);
      if (outer(x, y)) c = kOutline;
      else if (y != 23 && (outer(x - 1, y) || outer(x, y - 1) || outer(x - 1, y - 1))) c = kCaptionLight;
      s.Set(x, y, c);
    }
  // Slot 1: the caption's middle column.
  for (int y = 0; y < 24; ++y)
    s.Set(7, y, y == 0 ? kOutline : y == 1 ? kCaptionLight : y == 23 ? kCaptionRule : CaptionFill(y));
  // Slot 5: one row of the left border, outline outermost.
  for (int x = 0; x < 4; ++x) s.Set(x, 24, kRing[x]);
  // Slot 6: bottom-left corner; its outermost pixel is cut from the window.
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) s.Set(x, 28 + y, kRing[std::min(x, 3 - y)]);
  s.Set(0, 31, kMagenta);
  // Slot 7: one column of the bottom border.
  for (int y = 0; y < 4; ++y) s.Set(4, 28 + y, kRing[3 - y]);
  return s;
}

Canvas SpareSheet() {
  Canvas s(200, 20);
  s.Fill(0, 0, 200, 20, 0x262626);
  s.Frame(0, 0, 200, 20, kOutline);
  s.VGradient(2, 2, 120, 16, 0x5A80C8, 0x2A4A90);
  return s;
}

Canvas CaptionButtonSheet() {
  Canvas s(100, 80);
  struct Look {
    uint32_t border, top, bottom, glyph;
  };
  for (int col = 0; col < 5; ++col)
    for (int row = 0; row < 4; ++row) {
      Look look{};
      if (row == 0) look = {0x2A2A2A, 0x363636, 0x303030, 0x4C4C4C};
      if (row == 1) look = {0x202020, 0x4C4C4C, 0x3A3A3A, 0xC8C8C8};
      if (row >= 2) {
        // Hover and pressed faces are coloured: red closes, green helps, blue for the rest.
        const bool pressed = row == 3;
        if (col == 0)
          look = pressed ? Look{0x400808, 0x801818, 0x9C2222, 0xE0E0E0} : Look{0x5A1010, 0xE04848, 0xA82828, 0xFFFFFF};
        else if (col == 4)
          look = pressed ? Look{0x0C3014, 0x1A6028, 0x227434, 0xE0E0E0} : Look{0x104018, 0x4CC05C, 0x248838, 0xFFFFFF};
        else
          look = pressed ? Look{0x0C1C40, 0x1C3A78, 0x244890, 0xE0E0E0} : Look{0x102850, 0x5488DC, 0x2A56A8, 0xFFFFFF};
      }
      const int x0 = col * 20;
      const int y0 = row * 20;
      s.VGradient(x0 + 1, y0 + 1, 18, 18, look.top, look.bottom);
      s.Frame(x0, y0, 20, 20, look.border);
      for (int cx : {0, 19})
        for (int cy : {0, 19}) s.Set(x0 + cx, y0 + cy, kMagenta);
      const uint32_t g = look.glyph;
      const int d = row == 3 ? 1 : 0;  // pressed glyphs sink by a pixel
      const int gx = x0 + d;
      const int gy = y0 + d;
      switch (col) {
        case 0:  // close: a cross two pixels thick
          for (int i = 0; i < 8; ++i) {
            s.Fill(gx + 6 + i, gy + 6 + i, 2, 1, g);
            s.Fill(gx + 12 - i, gy + 6 + i, 2, 1, g);
          }
          break;
        case 1:  // restore: two overlapping windows
          s.Frame(gx + 8, gy + 4, 8, 7, g);
          s.HLine(gx + 8, gy + 5, 8, g);
          s.VGradient(gx + 5, gy + 8, 8, 7, look.top, look.bottom);
          s.Frame(gx + 4, gy + 7, 9, 8, g);
          s.HLine(gx + 4, gy + 8, 9, g);
          break;
        case 2:  // maximise: one large window
          s.Frame(gx + 5, gy + 5, 10, 10, g);
          s.HLine(gx + 5, gy + 6, 10, g);
          break;
        case 3:  // minimise: a bar at the bottom
          s.Fill(gx + 5, gy + 13, 10, 2, g);
          break;
        case 4:  // help: a question mark
          DrawArt(s, gx + 7, gy + 5,
                  {".####.", "##..##", "....##", "...##.", "..##..", "..##..", "......", "..##..", "..##.."},
                  {{'#', g}});
          break;
      }
    }
  return s;
}

Canvas MenuBarSheet() {
  Canvas s(4, 12);
  for (int y = 0; y < 12; ++y) {
    const uint32_t bar = Mix(0x3A3A3A, 0x303030, y / 11.0);
    s.Set(0, y, bar);                                  // slot 9: the bar
    s.Set(1, y, (y >= 2 && y <= 9) ? 0x222222 : bar);  // slot 8: divider after a title
    s.Set(2, y, Mix(0x5C5C5C, 0x4A4A4A, y / 11.0));    // slot 10: title under the mouse
    s.Set(3, y, Mix(0xB8B8B8, 0x969696, y / 11.0));    // slot 11: open title (dark text)
  }
  return s;
}

Canvas ToolbarSheet() {
  Canvas s(3, 24);
  for (int y = 0; y < 24; ++y) {
    const bool edge = y == 0 || y == 23;
    s.Set(0, y, ToolbarRow(y));                    // slot 12: toolbar background
    s.Set(1, y, edge ? ToolbarRow(y) : 0x1A1A1A);  // slot 13: panel separator
    s.Set(2, y, edge ? ToolbarRow(y) : 0x242424);  // slot 14: panel background
  }
  return s;
}

Canvas ToolButtonSheet() {
  Canvas s(12, 24);
  struct Face {
    uint32_t border, top, bottom;
  };
  const Face faces[3] = {
      {0x2C2C2C, 0x444444, 0x363636},  // normal: barely raised from the bar
      {0x767676, 0x646464, 0x4E4E4E},  // hover: light
      {0x121212, 0x202020, 0x2C2C2C},  // down: dark, lit from below
  };
  for (int state = 0; state < 3; ++state) {
    const Face& f = faces[state];
    const int x0 = state * 3;
    for (int y = 0; y < 24; ++y) {
      const uint32_t face = Mix(f.top, f.bottom, (y - 2) / 19.0);
      const bool band = y == 0 || y == 23;
      const bool rim = y == 1 || y == 22;
      s.Set(x0, y, (band || rim) ? ToolbarRow(y) : f.border);          // edge, outer column (rounded)
      s.Set(x0 + 1, y, band ? ToolbarRow(y) : rim ? f.border : face);  // edge, inner column
      s.Set(x0 + 2, y, band ? ToolbarRow(y) : rim ? f.border : face);  // middle
    }
  }
  return s;
}

Canvas ScrollBarSheet() {
  Canvas s(72, 24);
  // Arrow buttons: normal pictures on row 0, pressed on row 12; the arrow is
  // cut out in magenta so the state colour behind the button shows through.
  auto button = [&](int x0, int y0, bool pressed, int dir) {
    const uint32_t top = pressed ? 0x3C3C3C : 0x6E6E6E;
    const uint32_t bottom = pressed ? 0x464646 : 0x525252;
    s.VGradient(x0 + 1, y0 + 1, 10, 10, top, bottom);
    s.Frame(x0, y0, 12, 12, 0x1A1A1A);
    for (int cx : {0, 11})
      for (int cy : {0, 11}) s.Set(x0 + cx, y0 + cy, kMagenta);
    if (dir < 0) return;
    const int d = pressed ? 1 : 0;
    for (int step = 0; step < 4; ++step) {
      // step 0 is the tip; each step back widens the arrow by a pixel each side
      const int lo = 5 - step;
      const int hi = 6 + step;
      for (int i = lo; i <= hi; ++i) {
        int px = 0, py = 0;
        switch (dir) {
          case 0:
            px = 3 + step;
            py = i;
            break;  // left
          case 1:
            px = 8 - step;
            py = i;
            break;  // right
          case 2:
            px = i;
            py = 3 + step;
            break;  // up
          case 3:
            px = i;
            py = 8 - step;
            break;  // down
        }
        s.Set(x0 + px + d, y0 + py + d, kMagenta);
      }
    }
  };
  button(0, 0, false, -1);  // slots 33, 34: plain corner square
  button(0, 12, true, -1);
  for (int dir = 0; dir < 4; ++dir) {
    button(12 + dir * 12, 0, false, dir);
    button(12 + dir * 12, 12, true, dir);
  }
  for (int i = 0; i < 12; ++i) {
    s.Set(60, i, TrackAcross(i));       // slot 35: horizontal track
    s.Set(60 + i, 12, TrackAcross(i));  // slot 36: vertical track
    s.Set(61, i, ThumbCapOuter(i));     // slot 37: thumb left end
    s.Set(62, i, i == 0 || i == 11 ? TrackAcross(i) : ThumbAcross(i, kThumbFace));
    s.Set(63, i, ThumbAcross(i, kThumbFace));                                     // slot 38: thumb middle
    s.Set(64, i, ThumbAcross(i, (i >= 4 && i <= 7) ? kThumbLight : kThumbFace));  // slot 39: grip
    s.Set(60 + i, 13, ThumbCapOuter(i));                                          // slot 41: thumb top end
    s.Set(60 + i, 14, i == 0 || i == 11 ? TrackAcross(i) : ThumbAcross(i, kThumbFace));
    s.Set(60 + i, 15, ThumbAcross(i, kThumbFace));                                     // slot 42: thumb middle
    s.Set(60 + i, 16, ThumbAcross(i, (i >= 4 && i <= 7) ? kThumbLight : kThumbFace));  // slot 43
  }
  return s;
}

Canvas StatusBarSheet() {
  Canvas s(18, 16);
  for (int y = 0; y < 16; ++y) {
    s.Set(0, y, StatusRow(y));                                   // slot 21: status bar
    s.Set(1, y, (y >= 3 && y <= 12) ? 0x1A1A1A : StatusRow(y));  // slot 22: divider
    s.HLine(2, y, 16, StatusRow(y));                             // slot 23: grip ground
  }
  // Grip: a triangle of raised dots toward the corner.
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      if (r + c >= 3) {
        const int x = 2 + 3 + 3 * c;
        const int y = 2 + 3 * r;
        s.Set(x + 1, y + 1, 0x141414);
        s.Set(x, y, 0x8C8C8C);
      }
  return s;
}
