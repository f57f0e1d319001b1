#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>

#include "resources/generator/art.h"

// Text-art tables keep their hand layout: one glyph or picture row per line.
// clang-format off

namespace {

constexpr uint32_t kIconOutline = 0x141414;

// Colours of the icon art, by letter.
const std::vector<PaletteEntry>& IconPalette() {
  static const std::vector<PaletteEntry> palette = {
      {'k', kIconOutline}, {'w', 0xF4F4F4}, {'l', 0xC8C8C8}, {'g', 0x8C8C8C}, {'d', 0x5A5A5A},
      {'r', 0xE84848},     {'R', 0xA02020}, {'G', 0x58C858}, {'e', 0x2A8A3A}, {'E', 0x1E3A22},
      {'b', 0x5A9AF0},     {'B', 0x2A5AB0}, {'y', 0xF8D848}, {'Y', 0xB89020}, {'o', 0xF09038},
      {'c', 0x68D0F0},     {'p', 0xB070E0}, {'n', 0x9A6A3A}, {'N', 0x6A4420}, {'s', 0xF0C890},
  };
  return palette;
}

using Rows = std::vector<std::string>;

// Text art on a transparent 16x16 cell; every row must be 16 characters.
Canvas Art(const Rows& rows) {
  if (rows.size() > 16) {
    std::fprintf(stderr, "icon art: %zu rows\n", rows.size());
    std::exit(1);
  }
  for (const std::string& row : rows)
    if (row.size() != 16) {
      std::fprintf(stderr, "icon art: row \"%s\" is not 16 wide\n", row.c_str());
      std::exit(1);
    }
  Canvas c(16, 16);
  DrawArt(c, 0, 0, rows, IconPalette());
  return c;
}

// Surrounds the picture with a dark line on its eight neighbours, so icons
// stand out from both light and dark button faces.
Canvas Outlined(const Canvas& src) {
  Canvas out = src;
  for (int y = 0; y < src.h; ++y)
    for (int x = 0; x < src.w; ++x) {
      if (src.Get(x, y) != kMagenta) continue;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
          if (src.Get(x + dx, y + dy) != kMagenta) out.Set(x, y, kIconOutline);
    }
  return out;
}

Canvas Icon(const Rows& rows) { return Outlined(Art(rows)); }

// Adds a separately outlined picture on top of an icon.
Canvas Overlay(Canvas base, const Rows& rows) {
  base.Draw(Outlined(Art(rows)), 0, 0);
  return base;
}

// A picture drawn pixel by pixel from a function of the cell position that
// returns a palette letter ('.' for nothing).
Canvas Plotted(const std::function<char(double x, double y)>& letter) {
  Rows rows(16, std::string(16, '.'));
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) rows[y][x] = letter(x + 0.5, y + 0.5);
  return Art(rows);
}

Rows Mirrored(Rows rows) {
  for (std::string& row : rows) row = std::string(row.rbegin(), row.rend());
  return rows;
}

Rows Recoloured(Rows rows, char from, char to) {
  for (std::string& row : rows)
    for (char& ch : row)
      if (ch == from) ch = to;
  return rows;
}

const Rows kLevelScene = {
    "................", ".cccccccccccccc.", ".cccccccccwwwcc.", ".ccccccccwwwwwc.",
    ".cccccccccccccc.", ".ccGGGGcccccccc.", ".ccnnnncccccccc.", ".cccccccccccccc.",
    ".cccccccccccccc.", ".ccccccccGGGGGc.", ".ccccccccnnnnnc.", ".GGGGGccccnnnnc.",
    ".nnnnnGGGGnnnnn.", ".nNnnnnnnnnnNnn.", ".nnnnnnNnnnnnnn.", "................",
};

const Rows kUndo = {
    "................", "................", "....b...........", "...bb...........",
    "..bbbbbbbbb.....", ".bbbbbbbbbbbb...", "..bbbbbbbbbbbb..", "...bb.....bbbbb.",
    "....b......bbbb.", "...........bbbb.", "..........bbbb..", "........bbbbb...",
    ".....bbbbbbbb...", ".....bbbbbb.....", "................", "................",
};

const Rows kFloppy = {
    "................", ".BBBBBBBBBBBBB..", ".BBllllllddlBBB.", ".BBllllllddlBBB.",
    ".BBllllllddlBBB.", ".BBlllllllllBBB.", ".BBBBBBBBBBBBBB.", ".BBBBBBBBBBBBBB.",
    ".BBwwwwwwwwwwBB.", ".BBwggggggggwBB.", ".BBwwwwwwwwwwBB.", ".BBwggggggwwwBB.",
    ".BBwwwwwwwwwwBB.", ".BBBBBBBBBBBBBB.", "................", "................",
};

const Rows kBanana = {
    "................", "...........nn...", "...........yn...", "...........yy...",
    "..........yyy...", "..........yyY...", ".........yyyY...", "........yyyY....",
    ".......yyyyY....", ".....yyyyyY.....", "...yyyyyyY......", ".nyyyyyYY.......",
    "..YYYYY.........", "................", "................", "................",
};

// A play triangle pointing right, `h` rows high with its top-left at (x, y).
Rows PlayTriangle(int x, int y, int h) {
  Rows rows(16, std::string(16, '.'));
  for (int r = 0; r < h; ++r) {
    const int width = std::min(r, h - 1 - r) + 1;
    for (int c = 0; c < width * 2 - 1 && x + c < 16; ++c) rows[y + r][x + c] = 'G';
  }
  return rows;
}

double Distance(double x, double y, double cx, double cy) { return std::hypot(x - cx, y - cy); }

// Icons in strip order.
std::vector<Canvas> Icons() {
  std::vector<Canvas> icons;
  // 00 check mark
  icons.push_back(Icon({"................", "................", "................", "............GG..",
                        "...........GGG..", "..........GGG...", ".........GGG....", "...GG...GGG.....",
                        "...GGG.GGG......", "....GGGGGG......", ".....GGGG.......", "......GG........"}));
  // 01 exit: a door with an arrow leaving it
  icons.push_back(Icon({"................", "................", "..dddddd........", "..dnnnnd........",
                        "..dnNNnd........", "..dnNNnd...G....", "..dnNNnd...GG...", "..dnNyndGGGGGG..",
                        "..dnNNndGGGGGGG.", "..dnNNndGGGGGG..", "..dnNNnd...GG...", "..dnNNnd...G....",
                        "..dnnnnd........", "..dddddd........"}));
  // 02 level editor: a level scene
  icons.push_back(Icon(kLevelScene));
  // 03 extraction: an arrow rising out of a box
  icons.push_back(Icon({"................", ".......GG.......", "......GGGG......", ".....GGGGGG.....",
                        "....GGGGGGGG....", "......GGGG......", "......GGGG......", "......GGGG......",
                        "..nnn.GGGG.nnn..", "..nnnnnnnnnnnn..", "..nNNNNNNNNNNn..", "..nNNNNNNNNNNn..",
                        "..nnnnnnnnnnnn..", "..nNNNNNNNNNNn..", "..nnnnnnnnnnnn.."}));
  // 04 sprite viewer: a character's head
  icons.push_back(Icon({"................", "....nnnnnnnn....", "...nnnnnnnnnn...", "..nnnnnnnnnnnn..",
                        ".snnsssnnsssnns.", ".snsswksswkssns.", ".snsswksswkssns.", "..nssssssssssn..",
                        "..nsssskkssssn..", "...ssssssssss...", "...sskkkkkkss...", "....ssssssss....",
                        ".....nnnnnn.....", "....nnnnnnnn....", "...nnnnnnnnnn..."}));
  // 05 palette editor: colour swatches
  icons.push_back(Icon({"................", ".rrrr.GGGG.bbbb.", ".rrrr.GGGG.bbbb.", ".rrrr.GGGG.bbbb.",
                        ".rrrr.GGGG.bbbb.", "................", ".yyyy.pppp.cccc.", ".yyyy.pppp.cccc.",
                        ".yyyy.pppp.cccc.", ".yyyy.pppp.cccc.", "................", ".oooo.wwww.dddd.",
                        ".oooo.wwww.dddd.", ".oooo.wwww.dddd.", ".oooo.wwww.dddd."}));
  // 06 physmap editor: solid ground with a slope
  icons.push_back(Icon({"................", ".llllllllllllll.", ".lglllglllglllg.", ".llllllllllllll.",
                        ".lglllglllgllbb.", ".llllllllllbbbb.", ".lglllglbbbbbbb.", ".llllllbbbbbbbb.",
                        ".lglbbbbbbbbbbb.", ".llbbbbbbbbbbbb.", ".bbbbbbbbbbbbbb.", ".BBBBBBBBBBBBBB.",
                        ".BBBBBBBBBBBBBB.", ".BBBBBBBBBBBBBB.", ".BBBBBBBBBBBBBB."}));
  // 07 hex editor: hexadecimal digits on a dark panel
  {
    Rows rows(16, std::string(16, '.'));
    for (int y = 1; y <= 14; ++y) rows[y].replace(1, 14, std::string(14, 'E'));
    std::map<int, const GlyphArt*> micro;
    for (const GlyphArt& g : MicroGlyphs()) micro[g.code] = &g;
    const char* lines[2] = {"0A4", "F1C"};
    for (int line = 0; line < 2; ++line)
      for (int i = 0; i < 3; ++i) {
        const GlyphArt& g = *micro[lines[line][i]];
        for (int r = 0; r < 5; ++r)
          for (int col = 0; col < 3; ++col)
            if (g.rows[r][col] == '#') rows[2 + line * 7 + r][2 + i * 4 + col] = 'G';
      }
    icons.push_back(Icon(rows));
  }
  // 08 undo, 09 redo: curved arrows
  icons.push_back(Icon(kUndo));
  icons.push_back(Icon(Mirrored(kUndo)));
  // 0A cut: scissors
  icons.push_back(Icon({"................", "...l.......l....", "...ll.....ll....", "....l.....l.....",
                        "....ll...ll.....", ".....ll.ll......", "......lll.......", ".......g........",
                        "......rrr.......", ".....rr.rr......", "..rrrr...rrrr...", ".rr..r...r..rr..",
                        ".r...r...r...r..", ".rr.rr...rr.rr..", "..rrr.....rrr..."}));
  // 0B copy: two sheets
  icons.push_back(Icon({"................", ".wwwwwwww.......", ".wggggggw.......", ".wwwwwwww.......",
                        ".wgggkkkkkkkkk..", ".wwwwkwwwwwwwk..", ".wgggkwggggggk..", ".wwwwkwwwwwwwk..",
                        ".wgggkwggggggk..", ".wwwwkwwwwwwwk..", ".....kwggggggk..", ".....kwwwwwwwk..",
                        ".....kwggggwwk..", ".....kwwwwwwwk..", ".....kkkkkkkkk.."}));
  // 0C paste: a clipboard
  icons.push_back(Icon({"................", "......gggg......", "..nnnngllgnnnn..", "..nnnggggggnnn..",
                        "..nnwwwwwwwwnn..", "..nnwggggggwnn..", "..nnwwwwwwwwnn..", "..nnwggggggwnn..",
                        "..nnwwwwwwwwnn..", "..nnwgggggwwnn..", "..nnwwwwwwwwnn..", "..nnwggggwwwnn..",
                        "..nnwwwwwwwwnn..", "..nnnnnnnnnnnn.."}));
  // 0D duplicate: a square and its copy with a plus
  icons.push_back(Icon({"................", ".bbbbbbbbb......", ".bcccccccb......", ".bcccccccb......",
                        ".bcccccccb......", ".bccckkkkkkkkkk.", ".bccckbbbbbbbbk.", ".bccckbccwwccbk.",
                        ".bccckbccwwccbk.", ".bbbbkbwwwwwwbk.", ".....kbwwwwwwbk.", ".....kbccwwccbk.",
                        ".....kbccwwccbk.", ".....kbbbbbbbbk.", ".....kkkkkkkkkk."}));
  // 0E delete: a red cross
  icons.push_back(Icon({"................", ".rrr........rrr.", ".rrrr......rrrr.", "..rrrr....rrrr..",
                        "...rrrr..rrrr...", "....rrrrrrrr....", ".....rrrrrr.....", "......rrrr......",
                        "......rrrr......", ".....rrrrrr.....", "....rrrrrrrr....", "...rrrr..rrrr...",
                        "..rrrr....rrrr..", ".rrrr......rrrr.", ".rrr........rrr."}));
  // 0F select all: a dashed frame around a tinted area
  icons.push_back(Outlined(Plotted([](double x, double y) {
    const int ix = int(x), iy = int(y);
    if (ix < 1 || ix > 14 || iy < 2 || iy > 13) return '.';
    if (ix == 1 || ix == 14 || iy == 2 || iy == 13) return ((ix + iy) / 2) % 2 == 0 ? 'w' : 'k';
    return 'B';
  })));
  // 10 open: a folder
  icons.push_back(Icon({"................", "................", ".YYYYY..........", ".YyyyyY.........",
                        ".YyyyyyYYYYYYY..", ".YyyyyyyyyyyyY..", ".YyyyyyyyyyyyY..", ".YyyYYYYYYYYYYYY",
                        ".YyYyyyyyyyyyyY.", ".YyYyyyyyyyyyY..", ".YYyyyyyyyyyyY..", ".YYyyyyyyyyyY...",
                        ".YyyyyyyyyyyY...", ".YYYYYYYYYYYY..."}));
  // 11 save: a floppy disk
  icons.push_back(Icon(kFloppy));
  // 12 save IPS: a green disk with a patch mark
  icons.push_back(Overlay(Icon(Recoloured(kFloppy, 'B', 'e')),
                          {"................", "................", "................", "................",
                           "................", "................", "................", "................",
                           "................", "................", "..........y.....", "..........y.....",
                           "........yyyyy...", "..........y.....", "..........y....."}));
  // 13 launch game: a play triangle
  icons.push_back(Icon(PlayTriangle(3, 1, 14)));
  // 14 launch level: the level scene with a play triangle
  icons.push_back(Overlay(Icon(kLevelScene), PlayTriangle(9, 6, 9)));
  // 15 select level: a list with one entry selected
  icons.push_back(Icon({"................", "..wwwwwwwwwwww..", "..wggwgggggggw..", "..wwwwwwwwwwww..",
                        "..bbbbbbbbbbbb..", "..bwwbwwwwwwwb..", "..bbbbbbbbbbbb..", "..wwwwwwwwwwww..",
                        "..wggwggggggww..", "..wwwwwwwwwwww..", "..wggwgggggggw..", "..wwwwwwwwwwww..",
                        "..wggwgggggwww..", "..wwwwwwwwwwww.."}));
  // 16 modify tile map: a grid of tiles
  icons.push_back(Icon({"................", ".GGGG.GGGG.GGGG.", ".GGGG.GGGG.GGGG.", ".nnnn.nnnn.nnnn.",
                        ".nnnn.nnnn.nnnn.", "................", ".nnnn.nNnn.nnnn.", ".nNnn.nnnn.nnNn.",
                        ".nnnn.nnNn.nnnn.", ".nnnn.nnnn.nNnn.", "................", ".gggg.gdgg.gggg.",
                        ".ggdg.gggg.gggg.", ".gggg.gggd.gdgg.", ".dggg.gggg.gggg."}));
  // 17 modify enemies: a toothy red critter
  icons.push_back(Icon({"................", "....R..R..R.....", "....rrrrrrr.....", "...rrrrrrrrr....",
                        "..rrwwrrrwwrr...", "..rrwkrrrwkrr...", ".rrrrrrrrrrrrr..", ".rrrrrrrrrrrrr..",
                        ".rrkwkwkwkwkrr..", ".rrrkkkkkkkrrr..", "..rrrrrrrrrrr...", "...rrrrrrrrr....",
                        "...RR.....RR....", "..RRR.....RRR..."}));
  // 18 modify objects: a crate
  icons.push_back(Icon({"................", ".NNNNNNNNNNNNNN.", ".NNnnnnnnnnnnNN.", ".NnNnnnnnnnnNnN.",
                        ".NnnNnnnnnnNnnN.", ".NnnnNnnnnNnnnN.", ".NnnnnNnnNnnnnN.", ".NnnnnnNNnnnnnN.",
                        ".NnnnnnNNnnnnnN.", ".NnnnnNnnNnnnnN.", ".NnnnNnnnnNnnnN.", ".NnnNnnnnnnNnnN.",
                        ".NnNnnnnnnnnNnN.", ".NNnnnnnnnnnnNN.", ".NNNNNNNNNNNNNN."}));
  // 19 modify collectibles: a banana
  icons.push_back(Icon(kBanana));
  // 1A modify banana map: a trail of small bananas
  {
    Rows rows(16, std::string(16, '.'));
    const Rows small = {"...n", "...y", "..yy", ".yyY", "yyY."};
    for (auto [x, y] : {std::pair{1, 9}, std::pair{6, 4}, std::pair{11, 9}})
      for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 4; ++c)
          if (small[r][c] != '.') rows[y + r][x + c] = small[r][c];
    icons.push_back(Icon(rows));
  }
  // 1B modify focus points: a target
  icons.push_back(Outlined(Plotted([](double x, double y) {
    const double d = Distance(x, y, 8, 8);
    const bool cross = (std::abs(x - 8) < 1 && (y < 4 || y > 12)) || (std::abs(y - 8) < 1 && (x < 4 || x > 12));
    if (cross) return 'w';
    if ((d >= 4.2 && d <= 6.0) || d <= 1.5) return 'r';
    return '.';
  })));
  // 1C start points: a green flag
  icons.push_back(Icon({"................", "..ll............", "..llGGGGGGG.....", "..llGGGGGGGG....",
                        "..llGGGGGGGGG...", "..llGGGGGGGG....", "..llGGGGGGG.....", "..ll............",
                        "..ll............", "..ll............", "..ll............", "..ll............",
                        "..ll............", "..ll............", ".gggg..........."}));
  // 1D sounds and music: beamed notes
  icons.push_back(Icon({"................", ".......ccccccc..", ".......ccccccc..", ".......c.....c..",
                        ".......c.....c..", ".......c.....c..", ".......c.....c..", ".......c.....c..",
                        ".......c.....c..", ".......c..cccc..", "....cccc.ccccc..", "...ccccc.cccc...",
                        "...cccc........."}));
  // 1E settings: a gear
  icons.push_back(Outlined(Plotted([](double x, double y) {
    const double d = Distance(x, y, 8, 8);
    const double a = std::atan2(y - 8, x - 8);
    const bool tooth = std::cos(8 * a) > 0.2;
    if (d > (tooth ? 7.0 : 5.4) || d < 2.0) return '.';
    return d < 3.2 ? 'g' : 'l';
  })));
  // 1F nuke this level: a bomb
  {
    Canvas bomb = Plotted([](double x, double y) {
      const double d = Distance(x, y, 7, 9.5);
      if (d <= 5.6) return (Distance(x, y, 5, 7.5) < 1.6) ? 'g' : 'd';
      if (x >= 9 && x <= 12 && y >= 3 && y <= 5.5) return 'g';
      return '.';
    });
    bomb = Outlined(bomb);
    DrawArt(bomb, 0, 0,
            {"............o.y.", ".............yo.", "...........nn.y.", "................"},
            IconPalette());
    icons.push_back(bomb);
  }
  // 20 nuke all levels: the radiation sign
  icons.push_back(Outlined(Plotted([](double x, double y) {
    const double d = Distance(x, y, 8, 8);
    if (d > 7.4) return '.';
    const double deg = std::atan2(y - 8, x - 8) * 180.0 / 3.14159265358979;
    bool blade = false;
    for (double centre : {-90.0, 30.0, 150.0}) {
      double diff = std::fmod(std::abs(deg - centre), 360.0);
      if (diff > 180) diff = 360 - diff;
      if (diff < 30) blade = true;
    }
    if (d < 1.6 || (blade && d > 2.6 && d < 6.6)) return 'k';
    return 'y';
  })));
  return icons;
}

}  // namespace

Canvas ProgramIcon() {
  Canvas c(16, 16);
  c.VGradient(1, 1, 14, 14, 0x6A9AEC, 0x2446A0);
  c.Frame(0, 0, 16, 16, 0x0C1A40);
  for (int cx : {0, 15})
    for (int cy : {0, 15}) c.Set(cx, cy, kMagenta);
  DrawArt(c, 3, 3,
          {"..######..", ".##....##.", "##......##", "##......##", "##......##", "##......##",
           "##...##.##", ".##...###.", "..#######.", "........##"},
          {{'#', 0xFFFFFF}});
  return c;
}

Canvas CaptionIcon() {
  Canvas c(96, 16);
  c.Draw(ProgramIcon(), 0, 0);
  DrawMenuText(c, 21, 4, "QBRRE", 1, 0xD8D8D8);
  return c;
}

Canvas FunctionIconStrip() {
  const std::vector<Canvas> icons = Icons();
  if (icons.size() != 33) {
    std::fprintf(stderr, "icon art: %zu icons instead of 33\n", icons.size());
    std::exit(1);
  }
  Canvas s(528, 16);
  for (size_t i = 0; i < icons.size(); ++i) s.Copy(icons[i], 0, 0, 16, 16, int(i) * 16, 0);
  return s;
}
// clang-format on
