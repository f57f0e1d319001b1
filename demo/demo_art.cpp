#include "demo/demo_art.h"

#include <algorithm>
#include <cmath>

namespace {

struct Rgb {
  int r, g, b;
};

std::uint16_t Mix(Rgb a, Rgb b, int k, int n) {
  auto lerp = [&](int x, int y) { return x + (y - x) * k / std::max(n, 1); };
  return DemoColour(lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b));
}

int AddChar(DemoCharSet& cs, const DemoChar& c) {
  cs.chars.push_back(c);
  return static_cast<int>(cs.chars.size()) - 1;
}

template <typename F>
DemoChar Draw(F f) {
  DemoChar c{};
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) c[8 * y + x] = static_cast<std::uint8_t>(f(x, y));
  return c;
}

}  // namespace

std::array<std::uint16_t, 128> DemoLevelPalette(DemoTheme theme) {
  // Sky ends and accents per theme; the earth, brick and water ramps are shared and tinted.
  Rgb skyTop{4, 10, 24}, skyLow{20, 27, 31}, grassDark{3, 12, 3}, grassLight{14, 26, 6};
  Rgb brickDark{14, 4, 3}, brickLight{27, 12, 8}, waterDark{2, 6, 16}, waterLight{10, 20, 30};
  switch (theme) {
    case DemoTheme::Meadow: break;
    case DemoTheme::Castle: skyTop = {10, 4, 14}, skyLow = {31, 18, 10}; break;
    case DemoTheme::SkyTower:
      skyTop = {2, 2, 10}, skyLow = {16, 10, 28}, brickDark = {8, 6, 14}, brickLight = {18, 16, 26};
      break;
    case DemoTheme::Crystal:
      skyTop = {1, 6, 8}, skyLow = {6, 20, 20}, grassDark = {4, 10, 14}, grassLight = {10, 28, 28};
      brickDark = {6, 4, 12}, brickLight = {16, 12, 26}, waterDark = {2, 10, 12}, waterLight = {8, 28, 26};
      break;
  }
  std::array<std::uint16_t, 128> pal{};
  // Palette 0: terrain.
  for (int k = 0; k < 3; ++k) pal[1 + k] = Mix(grassDark, grassLight, k, 2);
  for (int k = 0; k < 3; ++k) pal[4 + k] = Mix({9, 5, 2}, {20, 13, 6}, k, 2);
  pal[7] = DemoColour(4, 2, 1);
  for (int k = 0; k < 3; ++k) pal[8 + k] = Mix({9, 9, 10}, {24, 24, 25}, k, 2);
  pal[11] = DemoColour(31, 12, 20);
  pal[12] = DemoColour(31, 28, 6);
  pal[13] = Mix(skyTop, skyLow, 11, 11);
  pal[14] = DemoColour(31, 31, 31);
  pal[15] = DemoColour(2, 8, 2);
  // Palette 1: the sky, top to bottom, and clouds.
  for (int k = 0; k < 12; ++k) pal[16 + 1 + k] = Mix(skyTop, skyLow, k, 11);
  pal[16 + 13] = DemoColour(31, 31, 31);
  pal[16 + 14] = DemoColour(26, 27, 30);
  pal[16 + 15] = DemoColour(19, 20, 26);
  // Palette 2: bricks.
  pal[32 + 1] = DemoColour(22, 21, 18);
  for (int k = 0; k < 4; ++k) pal[32 + 2 + k] = Mix(brickDark, brickLight, k, 3);
  pal[32 + 6] = Mix(brickDark, {0, 0, 0}, 1, 2);
  pal[32 + 7] = Mix(brickLight, {31, 31, 31}, 1, 2);
  for (int k = 8; k < 16; ++k) pal[32 + k] = Mix(brickDark, brickLight, k - 8, 7);
  // Palette 3: water.
  for (int k = 0; k < 6; ++k) pal[48 + 1 + k] = Mix(waterLight, waterDark, k, 5);
  pal[48 + 7] = DemoColour(28, 31, 31);
  for (int k = 8; k < 16; ++k) pal[48 + k] = Mix(waterDark, waterLight, k - 8, 7);
  // Palettes 4-7: the same ramps at dusk, for tile variants.
  for (int p = 4; p < 8; ++p) {
    for (int i = 1; i < 16; ++i) {
      const std::uint16_t c = pal[16 * (p - 4) + i];
      const int r = c & 31, g = (c >> 5) & 31, b = (c >> 10) & 31;
      pal[16 * p + i] = DemoColour(std::min(31, r + 4), g * 3 / 4, std::min(31, b * 3 / 4 + 3));
    }
  }
  // Entry 0 of every palette is never shown; the image still stores a colour there.
  for (int p = 0; p < 8; ++p) pal[16 * p] = DemoColour(31, 0, 31);
  return pal;
}

DemoCharSet DemoMakeChars(DemoRng& rng) {
  DemoCharSet cs;
  cs.chars.push_back(DemoChar{});
  for (int j = 0; j < 12; ++j) {
    // Each band dithers into the one above on its first rows, so the gradient has no hard steps.
    cs.sky[j] = AddChar(cs, Draw([&](int x, int y) { return (y < 2 && j > 0 && (x + y) % 2 == 0) ? j : j + 1; }));
  }
  for (int k = 0; k < 4; ++k) {
    const int ox = 8 * (k % 2), oy = 8 * (k / 2);
    cs.cloud[k] = AddChar(cs, Draw([&](int x, int y) {
                            const double dx = ox + x - 7.5, dy = oy + y - 9.0;
                            const double lobe =
                                std::min(std::hypot(dx + 3, dy) - 4.5,
                                         std::min(std::hypot(dx - 3, dy) - 4.5, std::hypot(dx, dy + 3) - 5.0));
                            // The sky behind the cloud is the band of the tile row the character sits on.
                            if (lobe > 0 || oy + y > 13) return 6 + k / 2;
                            return dy > 2 ? 15 : (dx + dy < -4 ? 13 : 14);
                          }));
  }
  for (int k = 0; k < 4; ++k) {
    int top[8];
    for (int& t : top) t = rng.Below(4);
    cs.grass[k] = AddChar(cs, Draw([&](int x, int y) {
                            if (y < top[x]) return 13;
                            if (y == top[x]) return 3;
                            if (y < 5) return 1 + rng.Below(3);
                            return y == 5 ? 15 : 4 + rng.Below(2);
                          }));
  }
  for (int k = 0; k < 4; ++k) {
    const int px = rng.Below(6), py = rng.Below(6);
    cs.dirt[k] = AddChar(cs, Draw([&](int x, int y) {
                           if (k % 2 == 0 && x >= px && x < px + 2 && y >= py && y < py + 2)
                             return 9 + (x == px && y == py);
                           const int n = rng.Below(10);
                           return n < 5 ? 4 : (n < 8 ? 5 : 6);
                         }));
  }
  for (int k = 0; k < 2; ++k) {
    cs.flower[k] = AddChar(cs, Draw([&](int x, int y) {
                             const int cx = 3 + k, petal = k ? 12 : 11;
                             if (y >= 3 && x == cx) return 2;
                             if (y >= 6 && (x + k) % 3 == 0) return 3;
                             if (y < 3 && std::abs(x - cx) + std::abs(y - 1) <= 1)
                               return (x == cx && y == 1) ? 12 - k : petal;
                             return 13;
                           }));
  }
  for (int k = 0; k < 2; ++k) {
    cs.brick[k] = AddChar(cs, Draw([&](int x, int y) {
                            if (y == 0 || y == 4) return 1;
                            if ((y < 4 && x == (k ? 4 : 0)) || (y > 4 && x == (k ? 0 : 4))) return 1;
                            if (y == 1 || y == 5) return 7;
                            if (y == 3 || y == 7) return 6;
                            return 2 + rng.Below(4);
                          }));
  }
  for (int k = 0; k < 4; ++k) {
    const int ox = 8 * (k % 2), oy = 8 * (k / 2);
    cs.stone[k] = AddChar(cs, Draw([&](int x, int y) {
                            const int X = ox + x, Y = oy + y;
                            if (X == 15 || Y == 15) return 7;
                            if (X == 0 || Y == 0) return 10;
                            if (X == 14 || Y == 14) return 8;
                            return rng.Below(6) == 0 ? 10 : 9;
                          }));
  }
  cs.plank = AddChar(cs, Draw([&](int x, int y) {
                       if (y == 0 || y == 7 || x == 7) return 7;
                       if (y == 1) return 6;
                       return (x * 3 + y * 5) % 7 == 0 ? 4 : 5;
                     }));
  cs.waterTop = AddChar(cs, Draw([&](int x, int y) {
                          const int crest = static_cast<int>(std::lround(1.5 + 1.5 * std::sin(x * 0.785)));
                          if (y < crest) return 0;
                          return y == crest ? 7 : 1 + std::min(5, (y - crest) / 2);
                        }));
  cs.water = AddChar(cs, Draw([&](int x, int y) { return (x + 2 * y) % 9 == 0 ? 3 : 4 + y / 4; }));
  return cs;
}

std::vector<DemoTileDef> DemoMakeTileSet(const DemoCharSet& cs, int count, DemoRng& rng) {
  std::vector<DemoTileDef> tiles;
  auto grid = [&](auto word) {
    DemoTileDef t{};
    for (int k = 0; k < 16; ++k) t[k] = word(k % 4, k / 4);
    return t;
  };
  tiles.push_back(DemoTileDef{});
  for (int band = 0; band < 3; ++band)
    tiles.push_back(grid([&](int, int y) { return DemoTileWord(cs.sky[4 * band + y], 1); }));
  tiles.push_back(grid([&](int x, int y) {
    if (x >= 1 && x <= 2 && y >= 1 && y <= 2) return DemoTileWord(cs.cloud[(x - 1) + 2 * (y - 1)], 1);
    return DemoTileWord(cs.sky[4 + y], 1);
  }));
  tiles.push_back(grid([&](int x, int y) {
    return y == 0 ? DemoTileWord(cs.grass[x], 0, x % 2 == 1) : DemoTileWord(cs.dirt[(x + y) % 4], 0, y % 2, x % 2);
  }));
  tiles.push_back(grid([&](int x, int y) { return DemoTileWord(cs.dirt[(x * 3 + y) % 4], 0, (x + y) % 2, y % 2); }));
  tiles.push_back(grid([&](int x, int y) { return DemoTileWord(cs.brick[y % 2], 2, false, x % 2 && y % 2); }));
  tiles.push_back(grid([&](int x, int y) { return DemoTileWord(cs.stone[(x % 2) + 2 * (y % 2)], 0); }));
  tiles.push_back(
      grid([&](int, int y) { return y == 0 ? DemoTileWord(cs.plank, 0) : DemoTileWord(cs.sky[4 + y], 1); }));
  tiles.push_back(grid([&](int, int y) { return DemoTileWord(y == 0 ? cs.waterTop : cs.water, 3); }));
  tiles.push_back(grid([&](int, int) { return DemoTileWord(cs.water, 3); }));
  tiles.push_back(grid([&](int x, int y) {
    return y < 3 ? DemoTileWord(y == 2 ? cs.flower[x % 2] : cs.sky[11], y == 2 ? 0 : 1, x >= 2)
                 : DemoTileWord(cs.grass[x], 0);
  }));
  tiles.push_back(grid([&](int x, int y) { return DemoTileWord(cs.brick[(y + 1) % 2], 6, x % 2 == 0); }));
  // Variants: a base kind in its dusk palettes with every mirror combination.
  while (static_cast<int>(tiles.size()) < count) {
    const DemoTileDef& base = tiles[1 + rng.Below(kTileKinds - 1)];
    const int mirror = rng.Below(4);
    DemoTileDef t = base;
    for (auto& w : t) {
      const int ch = w & 0x3FF, pal = ((w >> 10) & 7) ^ 4;
      const bool h = ((w >> 14) & 1) ^ (mirror & 1), v = ((w >> 15) & 1) ^ (mirror >> 1);
      w = DemoTileWord(ch, pal, h, v);
    }
    tiles.push_back(t);
  }
  tiles.resize(count);
  return tiles;
}

std::array<std::uint8_t, 256> DemoBananaFrame(int set, int frame) {
  std::array<std::uint8_t, 256> px{};
  const double a = frame * M_PI / 4;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const double dx = x - 7.5, dy = y - 7.5;
      const double rx = dx * std::cos(a) + dy * std::sin(a), ry = -dx * std::sin(a) + dy * std::cos(a);
      int c = 0;
      switch (set) {
        case 0: {  // a crescent turning round
          const double outer = std::hypot(rx, ry), inner = std::hypot(rx, ry + 3.5);
          if (outer < 7 && inner > 5.5)
            c = outer > 6 || inner < 6.3 ? 15 : (rx < -4.5 || rx > 4.5 ? 5 : 1 + (ry > 2) + (ry > 4));
          break;
        }
        case 1: {  // a spinning coin
          const double half = 0.5 + 6.5 * std::fabs(std::cos(a));
          const double e = (dx * dx) / (half * half) + (dy * dy) / 49.0;
          if (e < 1) c = e > 0.7 ? 15 : (dx < 0 ? 6 : 7 + (std::fabs(dx) < half / 3));
          break;
        }
        case 2: {  // a turning gem
          const double d = std::fabs(rx) + std::fabs(ry);
          if (d < 7) c = d > 6 ? 15 : 9 + (rx > 0) + (ry > 0);
          break;
        }
        case 3: {  // a star
          const double ang = std::atan2(ry, rx), r = std::hypot(rx, ry);
          const double lim = 3.5 + 3.5 * std::pow(std::fabs(std::cos(2.5 * ang)), 3);
          if (r < lim) c = r < 2.5 ? 14 : 2 + (r > 4);
          break;
        }
        default: {  // a beating heart
          const double s = 1.0 + 0.12 * std::sin(a * 2);
          const double hx = dx / (6.5 * s), hy = -(dy - 0.5) / (6.5 * s);
          const double v = std::pow(hx * hx + hy * hy - 0.5, 3) - hx * hx * hy * hy * hy;
          if (v < 0) c = hy > 0.3 && hx < -0.1 ? 13 : 12;
          break;
        }
      }
      px[16 * y + x] = static_cast<std::uint8_t>(c);
    }
  }
  return px;
}

std::array<std::uint16_t, 15> DemoBananaPalette() {
  return {DemoColour(31, 29, 8),  DemoColour(30, 25, 4),  DemoColour(26, 20, 2),  DemoColour(31, 31, 20),
          DemoColour(12, 8, 2),   DemoColour(28, 20, 4),  DemoColour(31, 26, 8),  DemoColour(31, 31, 16),
          DemoColour(4, 22, 10),  DemoColour(8, 28, 14),  DemoColour(18, 31, 22), DemoColour(28, 4, 6),
          DemoColour(31, 16, 20), DemoColour(31, 31, 31), DemoColour(6, 4, 2)};
}

namespace {

void Ellipse(DemoSpriteModel& m, double cx, double cy, double rx, double ry, int inner, int rim) {
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x) {
      const double e = ((x + 0.5 - cx) * (x + 0.5 - cx)) / (rx * rx) + ((y + 0.5 - cy) * (y + 0.5 - cy)) / (ry * ry);
      if (e < 1) m.pixels[y * m.w + x] = static_cast<std::uint8_t>(e > 0.75 ? rim : inner);
    }
}

void Rect(DemoSpriteModel& m, int x0, int y0, int w, int h, int c) {
  for (int y = std::max(y0, 0); y < std::min(y0 + h, m.h); ++y)
    for (int x = std::max(x0, 0); x < std::min(x0 + w, m.w); ++x) m.pixels[y * m.w + x] = static_cast<std::uint8_t>(c);
}

DemoSpriteModel Sheet(int w, int h, int refX, int refY) {
  DemoSpriteModel m;
  m.w = w, m.h = h, m.refX = refX, m.refY = refY;
  m.pixels.assign(static_cast<std::size_t>(w) * h, 0);
  return m;
}

}  // namespace

DemoSpriteModel DemoMakeSprite(DemoSpriteKind kind) {
  switch (kind) {
    case DemoSpriteKind::Snail: {
      DemoSpriteModel m = Sheet(32, 32, 16, 31);
      Ellipse(m, 16, 27, 15, 5, 3, 1);
      Ellipse(m, 18, 15, 11, 11, 6, 5);
      Ellipse(m, 18, 15, 6, 6, 7, 5);
      Ellipse(m, 18, 15, 2.5, 2.5, 8, 5);
      Rect(m, 3, 10, 2, 12, 3);
      Ellipse(m, 4, 9, 2.5, 2.5, 14, 15);
      for (int x = 0; x < 32; x += 16)
        for (int y = 0; y < 32; y += 16) m.large.push_back({x, y});
      return m;
    }
    case DemoSpriteKind::Totem: {
      // Ten large parts: a 3x3 column and a crest on top, more than one double row of the sheet.
      DemoSpriteModel m = Sheet(64, 64, 24, 63);
      Rect(m, 0, 16, 48, 48, 4);
      for (int k = 0; k < 3; ++k) {
        Rect(m, 2, 18 + 16 * k, 44, 2, 9);
        Ellipse(m, 14, 26 + 16 * k, 5, 4, 14, 15);
        Ellipse(m, 34, 26 + 16 * k, 5, 4, 14, 15);
        Rect(m, 20, 30 + 16 * k, 8, 3, 12);
      }
      Ellipse(m, 24, 10, 8, 7, 12, 11);
      Rect(m, 48, 24, 8, 16, 10);
      Rect(m, 56, 20, 8, 8, 13);
      for (int y = 16; y < 64; y += 16)
        for (int x = 0; x < 48; x += 16) m.large.push_back({x, y});
      m.large.push_back({16, 0});
      m.smallB = {{48, 24}, {48, 32}};
      m.smallC = {{56, 20}};
      return m;
    }
    case DemoSpriteKind::Bee: {
      // Small parts only.
      DemoSpriteModel m = Sheet(24, 16, 12, 15);
      Ellipse(m, 12, 12, 11, 4, 12, 15);
      for (int x = 4; x < 22; x += 5) Rect(m, x, 8, 2, 8, 15);
      Ellipse(m, 8, 4, 4, 4, 14, 13);
      Ellipse(m, 16, 4, 4, 4, 14, 13);
      m.smallB = {{0, 8}, {8, 8}, {16, 8}};
      m.smallC = {{4, 0}, {12, 0}};
      return m;
    }
    case DemoSpriteKind::Crab:
    default: {
      // Six large parts in a partly filled double row and one small claw.
      DemoSpriteModel m = Sheet(56, 32, 24, 31);
      Ellipse(m, 24, 18, 22, 11, 12, 11);
      Ellipse(m, 17, 12, 3, 3, 14, 15);
      Ellipse(m, 31, 12, 3, 3, 14, 15);
      for (int x = 4; x < 48; x += 8) Rect(m, x, 28, 3, 4, 11);
      Ellipse(m, 52, 12, 4, 4, 13, 11);
      for (int y = 0; y < 32; y += 16)
        for (int x = 0; x < 48; x += 16) m.large.push_back({x, y});
      m.smallB = {{48, 8}};
      return m;
    }
  }
}

std::array<std::uint16_t, 15> DemoSpritePalette(int variant) {
  const int t = variant % 4;
  const Rgb shell[4] = {{26, 14, 4}, {8, 14, 28}, {24, 6, 24}, {6, 24, 10}};
  std::array<std::uint16_t, 15> p{};
  p[0] = DemoColour(6, 14, 4);                             // 1 outline of a body
  p[1] = DemoColour(12, 24, 8);                            // 2
  p[2] = DemoColour(16, 28, 10);                           // 3 body
  p[3] = DemoColour(14, 9, 4);                             // 4 wood
  p[4] = Mix(shell[t], {0, 0, 0}, 1, 2);                   // 5 shell rim
  p[5] = shell[t].r | shell[t].g << 5 | shell[t].b << 10;  // 6 shell
  p[6] = Mix(shell[t], {31, 31, 31}, 1, 3);                // 7
  p[7] = Mix(shell[t], {31, 31, 31}, 2, 3);                // 8
  p[8] = DemoColour(20, 16, 8);                            // 9 carving
  p[9] = DemoColour(28, 28, 30);                           // 10 metal
  p[10] = Mix(shell[(t + 1) % 4], {0, 0, 0}, 1, 3);        // 11 shell of a crab
  p[11] = Mix(shell[(t + 1) % 4], {31, 31, 31}, 1, 4);     // 12
  p[12] = DemoColour(31, 10, 8);                           // 13 flag
  p[13] = DemoColour(31, 31, 31);                          // 14 eye white
  p[14] = DemoColour(2, 2, 4);                             // 15 dark
  return p;
}
