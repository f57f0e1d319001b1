#include "demo/demo_image.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "demo/demo_art.h"

const char* const kDemoUnbuiltName = "Unbuilt Level";

const DemoLevel* DemoImage::Level(int id) const {
  for (const DemoLevel& l : levels)
    if (l.id == id) return &l;
  return nullptr;
}

namespace {

// Table positions: the defaults of the game configuration, and where the demo puts its own data.
constexpr long kThemeFuncTable = 0x39801E, kThemePalBank = 0x390000, kNameBank = 0x380000;
constexpr long kNameTable1 = 0x38A07A, kNameTable2 = 0x38A1E2, kStackTable = 0x18B94;
constexpr long kCamBank = 0x3C0000, kCamTable = 0x3C8000, kObjMapBank = 0x3D0000, kObjMapTable = 0x3D8000;
constexpr long kBnaTable1 = 0x38B41D, kBnaTable2 = 0x38C0E1, kObjPalBank = 0x3C0000;
constexpr long kBananaGraphics = 0x39EB65, kBananaPalette = 0x3C86F2;
constexpr long kShapeTable = 0x38D631, kSpriteTable = 0x3BCC9C, kAnimTable = 0x3E8572;
constexpr long kDefaultGFX = 0x158FC0, kDefaultTIS = 0x19A3C0, kDefaultPalette = 0xA1DC;
// The demo's own data areas. They keep clear of 0x3C95F2-0x3CA7E5, where an opened image is corrected.
constexpr long kNameText = 0x38A400, kCamRecords = 0x3C8200, kObjPalettes = 0x3CB000;
constexpr long kBananaMaps = 0x38C200, kShapes = 0x38DA00, kObjMaps = 0x3D9000;
// Room declared in the configuration for the object and banana lists to grow into: zeros
// inside the object map bank and inside the banana pointers' reach, clear of every table.
constexpr DemoRange kFreeObjects[] = {{0x3DC000, 0x3DDFFF}, {0x3DF000, 0x3DFFFF}};
constexpr DemoRange kFreeBananas[] = {{0x38E000, 0x38FFFF}};
// Room declared for graphics that grow, and the 3-byte pointers (one per archetype number) through
// which archetypes 0 and 6 read theirs; archetype 7 keeps its graphics where they are.
constexpr DemoRange kFreeGraphics[] = {{0x180000, 0x18FFFF}};
constexpr long kGraphicsPointers = 0x17F000;
constexpr int kMovableArchetypes[] = {0, 6};
constexpr long kScriptBank = 0x350000, kAnimBank = 0x3E0000, kAnimScripts = 0x3E9000, kSpriteData = 0x300000;

class Writer {
 public:
  explicit Writer(std::vector<unsigned char>& rom) : rom_(rom) {}
  void Byte(long o, unsigned v) { rom_.at(static_cast<std::size_t>(o)) = static_cast<unsigned char>(v); }
  void Word(long o, unsigned v) { Byte(o, v & 0xFF), Byte(o + 1, (v >> 8) & 0xFF); }
  void Long(long o, unsigned long v) { Word(o, v & 0xFFFF), Byte(o + 2, (v >> 16) & 0xFF); }
  void Bytes(long o, const std::vector<unsigned char>& b) {
    for (std::size_t i = 0; i < b.size(); ++i) Byte(o + static_cast<long>(i), b[i]);
  }

 private:
  std::vector<unsigned char>& rom_;
};

std::uint32_t Rgba(std::uint16_t c) {
  return 0xFF000000u | ((c & 0x1Fu) << 19) | (((c >> 5) & 0x1Fu) << 11) | (((c >> 10) & 0x1Fu) << 3);
}
constexpr std::uint32_t kClear = 0x00FF00FF;

// The four-bit planar form of a character.
void EncodeChar(const DemoChar& c, unsigned char out[32]) {
  for (int i = 0; i < 32; ++i) out[i] = 0;
  for (int r = 0; r < 8; ++r)
    for (int x = 0; x < 8; ++x)
      for (int plane = 0; plane < 4; ++plane)
        if ((c[8 * r + x] >> plane) & 1) out[2 * r + (plane & 1) + 16 * (plane >> 1)] |= 0x80 >> x;
}

std::vector<unsigned char> EncodeChars(const std::vector<DemoChar>& chars) {
  std::vector<unsigned char> raw(chars.size() * 32);
  for (std::size_t n = 0; n < chars.size(); ++n) EncodeChar(chars[n], &raw[32 * n]);
  return raw;
}

struct ArchetypeSpec {
  int archetype;
  int sequencing;
  long gfx, tileset, mapBase;
};
const ArchetypeSpec kArchetypes[] = {
    {0, 0, kDefaultGFX, kDefaultTIS, 0x200000},
    {6, 0, 0x160000, 0x1A0000, 0x210000},
    {7, 1, 0x168000, 0x1A8000, 0x220000},
    {12, 1, 0x170000, 0x1B0000, 0x230000},
};
const int kTileCounts[14] = {586, 436, 254, 348, 213, 571, 291, 386, 393, 230, 128, 389, 124, 122};

struct LevelSpec {
  int id;
  const char* name;
  int archetype;
  DemoTheme theme;
  int length;  // columns of a horizontal level, rows of a vertical one
};
const LevelSpec kLevels[] = {
    {0x16, "Grassy Knoll", 0, DemoTheme::Meadow, 96},    {0x17, "Meadow Run", 0, DemoTheme::Meadow, 64},
    {0x27, "Twin Brick Hall", 6, DemoTheme::Castle, 72}, {0x2E, "Castle Ramparts", 6, DemoTheme::Castle, 64},
    {0x40, "Sky Tower", 7, DemoTheme::SkyTower, 40},     {0x41, "Crystal Shaft", 12, DemoTheme::Crystal, 32},
};

// The stored character number of a tile word: archetype 6 counts its characters from 0x115.
std::uint16_t StoreTileWord(int archetype, std::uint16_t w) {
  const int ch = w & 0x3FF;
  if (archetype == 6 && ch != 0) return static_cast<std::uint16_t>((w & ~0x3FF) | (ch + 0x115));
  return w;
}

DemoPicture RenderTile(const DemoTileDef& def, const std::vector<DemoChar>& chars,
                       const std::array<std::uint16_t, 128>& pal) {
  DemoPicture p;
  p.w = p.h = 32;
  p.pixels.assign(32 * 32, kClear);
  for (int k = 0; k < 16; ++k) {
    const std::uint16_t w = def[k];
    const DemoChar& c = chars[w & 0x3FF];
    const int pn = (w >> 10) & 7;
    for (int r = 0; r < 8; ++r)
      for (int x = 0; x < 8; ++x) {
        const int i = c[8 * r + x];
        const int px = 8 * (k % 4) + ((w >> 14) & 1 ? 7 - x : x), py = 8 * (k / 4) + ((w >> 15) & 1 ? 7 - r : r);
        p.pixels[py * 32 + px] = i == 0 ? kClear : Rgba(pal[16 * pn + i]);
      }
  }
  return p;
}

// Tile map of a horizontal level: sky, rolling ground, pools, floating planks, brick walls in castles.
std::vector<std::uint16_t> HorizontalMap(int w, DemoTheme theme, DemoRng& rng, std::vector<int>& ground) {
  const int h = 16;
  std::vector<std::uint16_t> map(static_cast<std::size_t>(w) * h, 0);
  const double phase = rng.Below(628) / 100.0;
  ground.assign(w, 12);
  for (int c = 0; c < w; ++c) {
    ground[c] = 11 + static_cast<int>(std::lround(1.6 * std::sin(c / 6.0 + phase) + 0.8 * std::sin(c / 2.3)));
  }
  for (int c = 0; c < w; ++c) {
    const int g = ground[c];
    const bool pool = g >= 12 && c > 0 && c + 1 < w && ground[c - 1] >= 12 && ground[c + 1] >= 12 && c % 17 < 4;
    for (int r = 0; r < h; ++r) {
      std::uint16_t t;
      if (r < g) {
        t = r < 4 ? kTileSkyTop : (r < 8 ? kTileSkyMid : kTileSkyLow);
        if (theme == DemoTheme::Castle && r >= 7) t = (c / 8) % 2 ? kTileBrick : kTileBrickDark;
        if (r == 5 && (c * 7 + 3) % 11 == 0) t = kTileCloud;
        if (r == g - 1 && theme == DemoTheme::Meadow && c % 5 == 2) t = kTileFlowers;
      } else if (r == g) {
        t = pool ? kTileWaterTop : (theme == DemoTheme::Castle ? kTileStone : kTileGrass);
        if (t == kTileGrass && c % 2) t |= 0x4000;
      } else {
        t = pool && r == g + 1 ? kTileWater : (theme == DemoTheme::Castle ? kTileStone : kTileDirt);
        if (t == kTileDirt) t |= static_cast<std::uint16_t>(rng.Below(4) << 14);
      }
      map[static_cast<std::size_t>(r) * w + c] = t;
    }
    if (c % 13 >= 4 && c % 13 <= 7) map[6 * static_cast<std::size_t>(w) + c] = kTilePlank;
  }
  return map;
}

// Tile map of a vertical level (64 columns): a shaft between walls, with ledges every few rows.
std::vector<std::uint16_t> VerticalMap(int h, DemoTheme theme, DemoRng& rng) {
  const int w = 64;
  std::vector<std::uint16_t> map(static_cast<std::size_t>(w) * h, 0);
  const std::uint16_t wall = theme == DemoTheme::Crystal ? kTileStone : kTileBrick;
  for (int r = 0; r < h; ++r) {
    const int ledge = (r % 6 == 5) ? rng.Below(40) : -1;
    for (int c = 0; c < w; ++c) {
      std::uint16_t t = (r % 12) < 4 ? kTileSkyTop : ((r % 12) < 8 ? kTileSkyMid : kTileSkyLow);
      if (c < 4 || c >= 60) t = wall | (c >= 60 ? 0x4000 : 0);
      if (ledge >= 0 && c >= 4 + ledge && c < 4 + ledge + 14) t = kTilePlank;
      if (r == h - 2 && c >= 4 && c < 60) t = theme == DemoTheme::Crystal ? kTileWaterTop : kTileGrass;
      if (r == h - 1 && c >= 4 && c < 60) t = theme == DemoTheme::Crystal ? kTileWater : kTileDirt;
      if (t == kTileSkyMid && (r * 31 + c * 17) % 23 == 0) t = kTileCloud;
      map[static_cast<std::size_t>(r) * w + c] = t;
    }
  }
  return map;
}

// A banana group shape: columns x rows cells, stored column by column from the bottom cell up.
struct Shape {
  int columns, rows;
  std::vector<bool> cells;  // c * rows + r
};

const std::vector<Shape>& Shapes() {
  static const std::vector<Shape> shapes = [] {
    std::vector<Shape> s;
    s.push_back({4, 1, {true, true, true, true}});
    s.push_back({2, 3, {true, true, true, true, true, true}});
    Shape arc{7, 3, std::vector<bool>(21, false)};
    const int top[7] = {2, 1, 0, 0, 0, 1, 2};
    for (int c = 0; c < 7; ++c) arc.cells[c * 3 + top[c]] = true;
    s.push_back(arc);
    s.push_back({1, 1, {true}});
    Shape diamond{3, 3, {false, true, false, true, false, true, false, true, false}};
    s.push_back(diamond);
    return s;
  }();
  return shapes;
}

std::vector<unsigned char> ShapeBytes(const Shape& s) {
  std::vector<unsigned char> b = {static_cast<unsigned char>(s.columns), static_cast<unsigned char>(s.rows)};
  const int bits = s.columns * s.rows;
  b.resize(2 + (bits + 7) / 8, 0);
  for (int c = 0; c < s.columns; ++c)
    for (int r = 0; r < s.rows; ++r)
      if (s.cells[c * s.rows + r]) {
        const int z = c * s.rows + (s.rows - 1 - r);
        b[2 + z / 8] |= static_cast<unsigned char>(1 << (z & 7));
      }
  return b;
}

// The sprites of the demo, at sprite numbers (byte offsets into the pointer table).
struct SpriteSpec {
  int number;
  DemoSpriteKind kind;
};
const SpriteSpec kSprites[] = {{0x100, DemoSpriteKind::Snail},
                               {0x104, DemoSpriteKind::Totem},
                               {0x108, DemoSpriteKind::Bee},
                               {0x10C, DemoSpriteKind::Crab}};

// Writes the sprite data at `at`; returns the bytes used.
long WriteSprite(Writer& wr, long at, const DemoSpriteModel& m) {
  const int na = static_cast<int>(m.large.size()), nb = static_cast<int>(m.smallB.size());
  const int nc = static_cast<int>(m.smallC.size());
  const int W = 2 * (na % 8) + nb;
  const int firstB = 32 * (na / 8) + 2 * (na % 8);
  std::map<int, DemoChar> sheet;
  auto cut = [&](int sx, int sy) {
    DemoChar c{};
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) c[8 * y + x] = m.pixels[(sy + y) * m.w + sx + x];
    return c;
  };
  for (int i = 0; i < na; ++i) {
    const int top = 32 * (i / 8) + 2 * (i % 8), below = i / 8 < na / 8 ? 16 : W;
    const auto [px, py] = m.large[i];
    sheet[top] = cut(px, py), sheet[top + 1] = cut(px + 8, py);
    sheet[top + below] = cut(px, py + 8), sheet[top + below + 1] = cut(px + 8, py + 8);
  }
  for (int j = 0; j < nb; ++j) sheet[firstB + j] = cut(m.smallB[j].x, m.smallB[j].y);
  int firstC = 0;
  for (const auto& [n, c] : sheet) firstC = std::max(firstC, n + 1);
  firstC = std::max(firstC, firstB + nb);
  for (int j = 0; j < nc; ++j) sheet[firstC + j] = cut(m.smallC[j].x, m.smallC[j].y);
  wr.Byte(at, na), wr.Byte(at + 1, nb), wr.Byte(at + 2, firstB), wr.Byte(at + 3, nc), wr.Byte(at + 4, firstC);
  // Canvas position of a sheet point: the reference point lands on canvas pixel (128, 128).
  long pos = at + 8;
  auto place = [&](DemoSpriteModel::Part p) {
    wr.Byte(pos, 128 - m.refX + p.x), wr.Byte(pos + 1, 128 - m.refY + p.y);
    pos += 2;
  };
  for (auto p : m.large) place(p);
  for (auto p : m.smallB) place(p);
  for (auto p : m.smallC) place(p);
  const long g = pos;
  int last = 0;
  for (const auto& [n, c] : sheet) last = std::max(last, n);
  for (const auto& [n, c] : sheet) {
    unsigned char bytes[32];
    EncodeChar(c, bytes);
    for (int i = 0; i < 32; ++i) wr.Byte(g + 32L * n + i, bytes[i]);
  }
  return g + 32L * (last + 1) - at;
}

// The sprite as its parts put it together, in palette colours, unmirrored.
DemoPicture SpritePicture(const DemoSpriteModel& m, const std::array<std::uint16_t, 15>& pal) {
  DemoPicture p;
  p.w = m.w, p.h = m.h;
  p.pixels.assign(static_cast<std::size_t>(m.w) * m.h, kClear);
  auto copy = [&](DemoSpriteModel::Part part, int size) {
    for (int y = part.y; y < part.y + size; ++y)
      for (int x = part.x; x < part.x + size; ++x) {
        const int i = m.pixels[y * m.w + x];
        p.pixels[y * m.w + x] = i ? Rgba(pal[i - 1]) : kClear;
      }
  };
  for (auto part : m.large) copy(part, 16);
  for (auto part : m.smallB) copy(part, 8);
  for (auto part : m.smallC) copy(part, 8);
  return p;
}

// An object definition: its script, animation and configuration entries.
struct ObjectType {
  int zo;
  const char* name;
  int ani;          // animation number in the script, 0 for none
  int spriteIndex;  // kSprites index of the first frame, -1 for none
  int palIndex;     // object palette number in the script, -1 for none
  bool flipped;
  bool compound;
  int defineSprite;  // kSprites index from "OBJs_DefineSprite", -1 for none
  int definePal;     // palette number from "OBJs_DefinePalette", -1 for none
  int animPal;       // palette number from "ANIMs_DefinePalette", -1 for none
};
const ObjectType kObjectTypes[] = {
    {0x1000, "Garden Snail", 1, 0, 0, false, false, -1, -1, -1},
    {0x1010, "Carved Totem", 2, 1, 1, false, false, -1, -1, -1},
    {0x1020, "Bumble Bee", 3, 2, 2, false, false, -1, -1, -1},
    {0x1030, "Shore Crab", 4, 3, 3, true, false, -1, -1, -1},
    {0x1040, "Level Gate", 5, -1, -1, false, true, -1, -1, -1},
    {0x1050, "Painted Snail", 6, 0, 0, false, false, 3, 1, 2},
    {0x1060, "Restless Crab", 0, -1, -1, false, false, 3, 2, -1},
};

long ObjPalette(int index) { return kObjPalettes + 0x20L * index; }

void WriteScripts(Writer& wr) {
  auto cmd = [&](long& at, unsigned c, unsigned op) {
    wr.Word(at, c), wr.Word(at + 2, op);
    at += 4;
  };
  auto palOperand = [](int index) { return static_cast<unsigned>(ObjPalette(index) & 0xFFFF); };
  long at = kScriptBank | 0x1000;  // snail: palette, animation
  cmd(at, 0x8800, palOperand(0)), cmd(at, 0x8100, 1), cmd(at, 0x8000, 0);
  at = kScriptBank | 0x1010;  // totem: jumps to its body
  cmd(at, 0x8200, 0x1100);
  at = kScriptBank | 0x1100;
  cmd(at, 0x8300, 0x1234), cmd(at, 0x8800, palOperand(1)), cmd(at, 0x8100, 2), cmd(at, 0x8000, 0);
  at = kScriptBank | 0x1020;  // bee: animation before palette
  cmd(at, 0x8100, 3), cmd(at, 0x8800, palOperand(2)), cmd(at, 0x8000, 0);
  at = kScriptBank | 0x1030;
  cmd(at, 0x8400, 0), cmd(at, 0x8800, palOperand(3)), cmd(at, 0x8100, 4), cmd(at, 0x8000, 0);
  at = kScriptBank | 0x1040;
  cmd(at, 0x8100, 5), cmd(at, 0x8000, 0);
  at = kScriptBank | 0x1050;
  cmd(at, 0x8800, palOperand(0)), cmd(at, 0x8100, 6), cmd(at, 0x8000, 0);
  at = kScriptBank | 0x1060;  // a script that jumps to itself: the walks must give up
  cmd(at, 0x8200, 0x1060);

  // Animation scripts; the table entry is the script's address in bank 0x3E.
  long s = kAnimScripts;
  auto anim = [&](int ani, const std::vector<unsigned>& bytes) {
    wr.Word(kAnimTable + 2L * ani, static_cast<unsigned>(s & 0xFFFF));
    for (unsigned b : bytes) wr.Byte(s++, b);
    s += 4;
  };
  const unsigned a = kSprites[0].number, b = kSprites[1].number, c = kSprites[2].number, d = kSprites[3].number;
  anim(1, {0x85, 1, 2, 3, 4, 5, 0x04, a & 0xFF, a >> 8, 0x80});
  // Animation 2 continues elsewhere first.
  const unsigned jump = static_cast<unsigned>((kAnimScripts + 0x800) & 0xFFFF);
  anim(2, {0x82, 0, jump & 0xFF, jump >> 8});
  long target = kAnimBank | jump;
  for (unsigned byte : {0x8Eu, 0u, 0x06u, b & 0xFF, b >> 8, 0x80u}) wr.Byte(target++, byte);
  anim(3, {0x83, 9, 9, 0x10, c & 0xFF, c >> 8, 0x80});
  anim(4, {0x86, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0x08, d & 0xFF, d >> 8, 0x80});
  anim(5, {0x80, 0x01, 0x00, 0x01});
  anim(6, {0x8C, 0, 0, 0x02, a & 0xFF, a >> 8, 0x80});
}

std::string Hex(unsigned v, int digits) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*X", digits, v);
  return buf;
}

}  // namespace

DemoImage BuildDemoImage(std::uint32_t seed) {
  DemoImage img;
  img.rom.assign(kDemoImageSize, 0);
  Writer wr(img.rom);
  DemoRng rng(seed);
  std::string& cfg = img.config;
  cfg = "# Demo image game configuration\n[Global_Offsets]\n";
  const std::pair<const char*, long> offsets[] = {{"ThemeFuncPtrTable", kThemeFuncTable},
                                                  {"ThemePaletteBank", kThemePalBank},
                                                  {"LevelNameBank", kNameBank},
                                                  {"LevelNamePtrTable1", kNameTable1 & 0xFFFF},
                                                  {"LevelNamePtrTable2", kNameTable2 & 0xFFFF},
                                                  {"LevelStackPtrTable", kStackTable},
                                                  {"LevelCamDataBank", kCamBank},
                                                  {"LevelCamDataPtrTable", kCamTable & 0xFFFF},
                                                  {"LevelOBJMapBank", kObjMapBank},
                                                  {"LevelOBJMapPtrTable", kObjMapTable & 0xFFFF},
                                                  {"LevelBNAMapPtrTable1", kBnaTable1},
                                                  {"LevelBNAMapPtrTable2", kBnaTable2},
                                                  {"ObjectPaletteBank", kObjPalBank},
                                                  {"BananaGraphics", kBananaGraphics},
                                                  {"BananaPalette", kBananaPalette}};
  for (const auto& [key, value] : offsets) cfg += std::string(key) + " = " + Hex(value, 6) + "\n";

  // Characters and tile sets per archetype.
  DemoCharSet cs = DemoMakeChars(rng);
  std::map<int, std::vector<DemoTileDef>> tileSets;
  std::string seqText = "[ArchetypeSequencing]\n", gfxText = "[ThemeGraphics]\n", tisText = "[ThemeTileSet]\n";
  std::string pointerText = "[ThemeGraphicsPointer]\n";
  for (const ArchetypeSpec& a : kArchetypes) {
    std::vector<DemoTileDef> set = DemoMakeTileSet(cs, kTileCounts[a.archetype], rng);
    std::vector<std::uint16_t> stored;
    for (std::size_t t = 0; t < set.size(); ++t)
      for (int k = 0; k < 16; ++k) {
        std::uint16_t w = StoreTileWord(a.archetype, set[t][k]);
        // The last tile of archetypes 6 and 7 names a character the decoder must turn into character 0.
        if (t + 1 == set.size() && k == 5 && (a.archetype == 6 || a.archetype == 7)) {
          w = a.archetype == 6 ? 0x0100 : 0x0355;
          set[t][k] = 0;  // what the level shows there: character 0
        }
        wr.Word(a.tileset + 32L * static_cast<long>(t) + 2 * k, w);
        stored.push_back(w);
      }
    tileSets[a.archetype] = set;
    std::vector<unsigned char> raw = EncodeChars(cs.chars);
    DemoArchetype& built = img.archetypes.emplace_back();
    built.archetype = a.archetype;
    built.gfx = a.gfx;
    built.tileWords = std::move(stored);
    if ((a.archetype & 15) == 12) {
      raw.resize(0x84A0, 0);
      wr.Bytes(a.gfx, raw);
      built.characters = raw;
    } else {
      built.characters = raw;
      CharCompressionStats st;
      wr.Bytes(a.gfx, QBR1_CompressCharacters(raw, &st));
      img.compression.literals += st.literals, img.compression.fills += st.fills;
      img.compression.copies += st.copies, img.compression.overlapping += st.overlapping;
      img.compression.dictionary += st.dictionary;
    }
    wr.Long(kStackTable + 3L * a.archetype, 0xC00000 + static_cast<unsigned long>(a.mapBase));
    seqText += Hex(a.archetype, 2) + " = " + Hex(a.sequencing, 2) + "\n";
    gfxText += Hex(a.archetype, 2) + " = " + Hex(a.gfx, 6) + "\n";
    if (std::find(std::begin(kMovableArchetypes), std::end(kMovableArchetypes), a.archetype) !=
        std::end(kMovableArchetypes)) {
      built.pointer = kGraphicsPointers + 3L * a.archetype;
      wr.Long(built.pointer, 0xC00000 + static_cast<unsigned long>(a.gfx));
      pointerText += Hex(a.archetype, 2) + " = " + Hex(built.pointer, 6) + "\n";
    }
    tisText += Hex(a.archetype, 2) + " = " + Hex(a.tileset, 6) + "\n";
  }

  // Names: index 0 is the name of every level that was not built.
  long text = kNameText;
  auto writeName = [&](int k, const std::string& name) {
    wr.Word(kNameTable2 + 2L * k, static_cast<unsigned>(text - kNameBank));
    for (std::size_t i = 0; i < name.size(); ++i)
      wr.Byte(text++, static_cast<unsigned char>(name[i]) | (i + 1 == name.size() ? 0x80 : 0));
  };
  writeName(0, kDemoUnbuiltName);
  // The default palette (theme words not in the configuration) and the empty banana list.
  const auto meadow = DemoLevelPalette(DemoTheme::Meadow);
  for (int i = 0; i < 128; ++i) wr.Word(kThemePalBank + kDefaultPalette + 2 * i, meadow[i]);
  wr.Word(kBnaTable2, static_cast<unsigned>(kBananaMaps - kBnaTable2));
  long bananaAt = kBananaMaps + 4;
  for (int id = 0; id <= 229; ++id) wr.Word(kCamTable + 2L * id, static_cast<unsigned>((kCamRecords + 4) & 0xFFFF));

  // Banana graphics and palette.
  const auto bpal = DemoBananaPalette();
  for (int i = 0; i < 15; ++i) wr.Word(kBananaPalette + 2 * i, bpal[i]);
  for (int n = 0; n < 5; ++n)
    for (int i = 0; i < 8; ++i) {
      const auto px = DemoBananaFrame(n, i);
      DemoPicture& pic = img.bananaFrames[n][i];
      pic.w = pic.h = 16;
      pic.pixels.resize(256);
      for (int p = 0; p < 256; ++p) pic.pixels[p] = px[p] ? Rgba(bpal[px[p] - 1]) : kClear;
      for (int q = 0; q < 4; ++q) {
        DemoChar c{};
        for (int y = 0; y < 8; ++y)
          for (int x = 0; x < 8; ++x) c[8 * y + x] = px[16 * (8 * (q / 2) + y) + 8 * (q % 2) + x];
        unsigned char bytes[32];
        EncodeChar(c, bytes);
        const long at = kBananaGraphics + 64L * (16 * n + i) + 32L * (16 * (q / 2) + q % 2);
        for (int b = 0; b < 32; ++b) wr.Byte(at + b, bytes[b]);
      }
    }
  // Banana shapes: the pointer table entry for shape s holds the shape's place relative to the table.
  const auto& shapes = Shapes();
  long shapeAt = kShapes;
  for (std::size_t s = 0; s < shapes.size(); ++s) {
    const int shapeValue = 2 * static_cast<int>(s + 1);
    wr.Word(kShapeTable + shapeValue, static_cast<unsigned>(shapeAt - kShapeTable));
    const auto bytes = ShapeBytes(shapes[s]);
    wr.Bytes(shapeAt, bytes);
    shapeAt += static_cast<long>(bytes.size());
  }

  // Sprites, object palettes, scripts and animations.
  long spriteAt = kSpriteData;
  std::vector<DemoSpriteModel> models;
  for (const SpriteSpec& s : kSprites) {
    models.push_back(DemoMakeSprite(s.kind));
    wr.Word(kSpriteTable + s.number, static_cast<unsigned>((0xC00000 + spriteAt) & 0xFFFF));
    wr.Word(kSpriteTable + s.number + 2, static_cast<unsigned>((0xC00000 + spriteAt) >> 16));
    spriteAt += (WriteSprite(wr, spriteAt, models.back()) + 15) & ~15L;
  }
  for (int p = 0; p < 4; ++p) {
    const auto pal = DemoSpritePalette(p);
    for (int i = 0; i < 15; ++i) wr.Word(ObjPalette(p) + 2 * i, pal[i]);
  }
  WriteScripts(wr);
  std::string flipText = "[OBJs_DisplayFlipped]\n", nameText = "[OBJs_Names0001]\n";
  std::string sprText = "[OBJs_DefineSprite]\n", palText = "[OBJs_DefinePalette]\n";
  std::string aniPalText = "[ANIMs_DefinePalette]\n", compText = "[OBJs_Compound]\n";
  for (const ObjectType& t : kObjectTypes) {
    nameText += Hex(t.zo, 4) + " = " + t.name + "\n";
    if (t.flipped) flipText += Hex(t.zo, 4) + " = 1\n";
    if (t.compound) compText += Hex(t.zo, 4) + " = 1\n";
    if (t.defineSprite >= 0) sprText += Hex(t.zo, 4) + " = " + Hex(kSprites[t.defineSprite].number, 4) + "\n";
    if (t.definePal >= 0) palText += Hex(t.zo, 4) + " = " + Hex(ObjPalette(t.definePal) & 0xFFFF, 4) + "\n";
    if (t.animPal >= 0) aniPalText += Hex(t.ani, 4) + " = " + Hex(ObjPalette(t.animPal) & 0xFFFF, 4) + "\n";
  }

  // The levels.
  std::string archText = "[ThemeArchetype]\n", themePalText = "[ThemePalette]\n";
  std::map<int, long> nextStart;
  long objAt = kObjMaps;
  std::map<int, long> objectMapOf, bananaMapOf;
  std::map<int, std::pair<std::vector<DemoObject>, std::vector<DemoBananaGroup>>> shown;
  int index = 0;
  for (const LevelSpec& plan : kLevels) {
    ++index;
    const ArchetypeSpec& a = *std::find_if(std::begin(kArchetypes), std::end(kArchetypes),
                                           [&](const ArchetypeSpec& x) { return x.archetype == plan.archetype; });
    DemoLevel lvl;
    lvl.id = plan.id, lvl.name = plan.name, lvl.archetype = plan.archetype, lvl.sequencing = a.sequencing;
    const unsigned theme = 0x0100u + static_cast<unsigned>(index);
    wr.Word(kThemeFuncTable + 2L * plan.id, theme);
    archText += Hex(theme, 4) + " = " + Hex(plan.archetype, 2) + "\n";
    const long palOffset = kDefaultPalette + 0x100L * index;
    themePalText += Hex(theme, 4) + " = " + Hex(palOffset, 4) + "\n";
    const auto pal = DemoLevelPalette(plan.theme);
    for (int i = 0; i < 128; ++i) wr.Word(kThemePalBank + palOffset + 2 * i, pal[i]);
    lvl.palette = pal;
    lvl.paletteOffset = kThemePalBank + palOffset;
    wr.Byte(kNameTable1 + plan.id, index);
    writeName(index, plan.name);

    std::vector<int> ground;
    if (a.sequencing == 0) {
      lvl.tile_w = plan.length, lvl.tile_h = 16;
      lvl.map = HorizontalMap(lvl.tile_w, plan.theme, rng, ground);
    } else {
      lvl.tile_w = 64, lvl.tile_h = plan.length;
      lvl.map = VerticalMap(lvl.tile_h, plan.theme, rng);
      ground.assign(64, lvl.tile_h - 2);
    }
    lvl.size = a.sequencing == 0 ? 32 * lvl.tile_w : 128 * lvl.tile_h;
    lvl.x = static_cast<int>(nextStart[plan.archetype]);
    const long tilemap = a.mapBase + lvl.x;
    lvl.mapOffset = tilemap;
    auto writeMap = [&](long base, const std::vector<std::uint16_t>& m) {
      for (int r = 0; r < lvl.tile_h; ++r)
        for (int c = 0; c < lvl.tile_w; ++c) {
          const long at = a.sequencing == 0 ? base + 2L * (16 * c + r) : base + 2L * (64 * r + c);
          wr.Word(at, m[static_cast<std::size_t>(r) * lvl.tile_w + c]);
        }
    };
    if (plan.id == 0x27) {
      // Two layers: the castle wall behind, and a front layer of floor and ledges only.
      lvl.underMap = lvl.map;
      for (auto& e : lvl.map) {
        const int t = e & 0x3FFF;
        if (t != kTileStone && t != kTilePlank) e = 0;
      }
      writeMap(tilemap + lvl.size + 0x200, lvl.underMap);
    }
    writeMap(tilemap, lvl.map);
    nextStart[plan.archetype] = lvl.x + 2L * lvl.size + 0x400;
    const long record = kCamRecords + 4L * index;
    wr.Word(kCamTable + 2L * plan.id, static_cast<unsigned>((record + 4 - kCamBank) & 0xFFFF));
    wr.Word(record, static_cast<unsigned>(lvl.x));
    wr.Word(record + 2, static_cast<unsigned>(lvl.x + lvl.size - 0x100));
    for (const DemoTileDef& def : tileSets[plan.archetype]) lvl.tiles.push_back(RenderTile(def, cs.chars, pal));

    // Bananas: groups along the level, above the ground.
    std::vector<DemoBananaGroup> groups;
    const int widthPx = 32 * lvl.tile_w;
    for (int gx = 96 + rng.Below(64); gx + 64 < widthPx && groups.size() < 12; gx += 160 + rng.Below(160)) {
      const Shape& s = shapes[static_cast<std::size_t>(rng.Below(static_cast<int>(shapes.size())))];
      DemoBananaGroup g;
      g.x = gx, g.columns = s.columns, g.rows = s.rows, g.cells = s.cells;
      const int col = std::min(gx / 32, static_cast<int>(ground.size()) - 1);
      // Group y is stored in six bits of 8-pixel units.
      g.y = std::clamp(32 * ground[col] - 8 * s.rows - 24 - 8 * rng.Below(3), 0, 0x1F8) & ~7;
      groups.push_back(g);
    }
    // Objects: one of each type spread along the level, standing on the ground.
    std::vector<DemoObject> objects;
    const int types = static_cast<int>(std::size(kObjectTypes));
    for (int k = 0; k < types; ++k) {
      const ObjectType& t = kObjectTypes[(k + index) % types];
      DemoObject o;
      o.x = 128 + k * std::max(64, (widthPx - 256) / types) + rng.Below(32);
      const int col = std::min(o.x / 32, static_cast<int>(ground.size()) - 1);
      o.y = std::min(0x200, 32 * ground[col]);
      if (a.sequencing != 0) o.y = 0x1E0;
      o.zo = t.zo, o.ani = t.ani, o.name = t.name, o.flipped = t.flipped, o.compound = t.compound;
      const int sprIndex = t.defineSprite >= 0 ? t.defineSprite : t.spriteIndex;
      const int palIndex = t.animPal >= 0 ? t.animPal : (t.definePal >= 0 ? t.definePal : t.palIndex);
      o.spr = sprIndex >= 0 ? kSprites[sprIndex].number : 0;
      o.pal = palIndex >= 0 ? static_cast<int>(ObjPalette(palIndex)) : 0;
      if (sprIndex >= 0) {
        o.sprite = SpritePicture(models[sprIndex], DemoSpritePalette(palIndex));
        o.refX = models[sprIndex].refX, o.refY = models[sprIndex].refY;
      }
      objects.push_back(o);
    }
    std::sort(objects.begin(), objects.end(), [](const DemoObject& p, const DemoObject& q) { return p.x < q.x; });
    shown[plan.id] = {objects, groups};

    // Object and banana maps are stored under the id whose maps this level shows (0x27 and 0x2E swap).
    const int storedId = plan.id == 0x27 ? 0x2E : (plan.id == 0x2E ? 0x27 : plan.id);
    wr.Word(kObjMapTable + 2L * storedId, static_cast<unsigned>(objAt & 0xFFFF));
    for (const DemoObject& o : objects) {
      wr.Byte(objAt, 1 + (o.zo >> 4 & 0x0F)), wr.Byte(objAt + 1, 0);
      wr.Word(objAt + 2, static_cast<unsigned>(o.x + lvl.x)), wr.Word(objAt + 4, static_cast<unsigned>(0x200 - o.y));
      wr.Word(objAt + 6, static_cast<unsigned>(o.zo));
      objAt += 8;
    }
    objAt += 8;  // the end record (kind 0)
    wr.Byte(kBnaTable1 + storedId, index);
    wr.Word(kBnaTable2 + 2L * index, static_cast<unsigned>(bananaAt - kBnaTable2));
    for (const DemoBananaGroup& g : groups) {
      int shapeNo = 0;
      for (std::size_t s = 0; s < shapes.size(); ++s)
        if (shapes[s].columns == g.columns && shapes[s].rows == g.rows && shapes[s].cells == g.cells)
          shapeNo = 2 * static_cast<int>(s + 1);
      wr.Word(bananaAt, static_cast<unsigned>(shapeNo | (g.y / 8) << 10));
      wr.Word(bananaAt + 2, static_cast<unsigned>(g.x << 2));
      bananaAt += 4;
    }
    bananaAt += 4;  // the end record (shape 0)
    img.levels.push_back(std::move(lvl));
  }
  for (DemoLevel& lvl : img.levels) {
    lvl.objects = shown[lvl.id].first;
    lvl.bananas = shown[lvl.id].second;
  }
  std::string freeText = "[FreeSpace]\n";
  const std::pair<const char*, std::vector<DemoRange>*> kinds[] = {
      {"Objects", &img.freeObjects}, {"Bananas", &img.freeBananas}, {"Graphics", &img.freeGraphics}};
  img.freeObjects.assign(std::begin(kFreeObjects), std::end(kFreeObjects));
  img.freeBananas.assign(std::begin(kFreeBananas), std::end(kFreeBananas));
  img.freeGraphics.assign(std::begin(kFreeGraphics), std::end(kFreeGraphics));
  for (const auto& [key, ranges] : kinds) {
    freeText += std::string(key) + " = ";
    for (std::size_t i = 0; i < ranges->size(); ++i)
      freeText += (i ? ", " : "") + Hex((*ranges)[i].first, 6) + "-" + Hex((*ranges)[i].last, 6);
    freeText += "\n";
  }
  cfg += archText + themePalText + seqText + gfxText + pointerText + tisText + flipText + nameText + sprText + palText + aniPalText +
         compText + freeText;
  return img;
}
