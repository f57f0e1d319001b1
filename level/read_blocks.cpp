#include "level/read_blocks.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <tuple>

#include "codec/char_codec.h"
#include "level/ex_gfx_QBR1.h"
#include "level/level_objects.h"
#include "level/level_records.h"
#include "level/leveldata.h"
#include "level/qbr_sprite_exception.h"
#include "level/snesbitmap.h"

namespace {

long long Wide(unsigned long v) { return static_cast<long long>(v); }

std::string Hex(unsigned v, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, v);
  return text;
}

// Longest compressed stream the decompressor may read: a dictionary, one
// control byte per 63 literal bytes up to its output ceiling, and the end marker.
constexpr long long kLongestStream = kCharDictionaryBytes + kCharMaxRaw + kCharMaxRaw / kCharMaxCount + 1;

// The blocks found so far that meet the windows, each range once.
class Blocks {
 public:
  explicit Blocks(const std::vector<ByteRange>& windows) : windows_(windows) {}

  bool Meets(const ByteRange& r) const {
    return std::any_of(windows_.begin(), windows_.end(), [&](const ByteRange& w) { return w.Meets(r); });
  }
  // A block from `first`, `bytes` long; nothing when it is empty or meets no window.
  void Add(const std::string& name, long long first, long long bytes) {
    const ByteRange r{first, first + bytes - 1};
    if (bytes <= 0 || !Meets(r) || !seen_.insert({r.first, r.last}).second) return;
    out_.push_back({name, r});
  }
  std::vector<NamedRange> Take() { return std::move(out_); }

 private:
  const std::vector<ByteRange>& windows_;
  std::set<std::pair<long long, long long>> seen_;
  std::vector<NamedRange> out_;
};

// Most bytes a name is counted with: a name without its end mark (a table
// that names nothing, in a blank or damaged image) would else reach the
// image's end and take every range after it.
constexpr std::size_t kLongestName = 64;

// The bytes a level's name occupies: up to its marked last character.
long long NameBytes(const RomView& rom, long long at) {
  const std::string_view text = rom.Tail(at).substr(0, kLongestName);
  const auto last = std::find_if(text.begin(), text.end(), [](char ch) {
    const auto c = static_cast<unsigned char>(ch);
    return c == 0xD2 || (c >= 0xE1 && c <= 0xFA);
  });
  return last == text.end() ? static_cast<long long>(text.size()) : (last - text.begin()) + 1;
}

void AddLevels(Blocks& blocks, const RomView& rom, const globaldata& g) {
  std::set<int> archetypes;
  for (int id = kQBR1FirstLevel; id <= kQBR1LastLevel; ++id) {
    if (QBR1_IsHiddenLevel(id)) continue;
    // The fields one by one: the whole record would also decode the name, which in a blank image runs to its end.
    const int archetype = Get_QBR1_LevelArchetype(id);
    const int size = Get_QBR1_LevelSize(id);
    const std::string of = " of level " + Hex(static_cast<unsigned>(id), 2);
    blocks.Add("camera record" + of, Get_QBR1_LevelRecord(id), 4);
    const unsigned k = rom.Byte(Wide(g.LvlNameBank | g.LvlNameTable1) + id);
    const long long name = Wide(g.LvlNameBank) + rom.Word(Wide(g.LvlNameBank | g.LvlNameTable2) + 2LL * k);
    blocks.Add("name" + of, name, NameBytes(rom, name));
    blocks.Add("palette" + of, Wide(static_cast<std::uint32_t>(Get_QBR1_LevelPalette(id))) + Wide(g.ThemePalBank), 256);
    if (size > 0 && size <= 0x10000) {
      const long long map = static_cast<unsigned>(Get_QBR1_LevelOffset(id));
      blocks.Add("tile map" + of, map, size);
      if (id == 0x27) blocks.Add("second tile map" + of, map + size + 0x200, size);
    }
    if (archetype >= 0 && archetype <= 13) archetypes.insert(archetype);
  }
  blocks.Add("tile map base table", Wide(g.LvlStackTable), 3LL * 14);
  for (int a : archetypes) {
    const std::string of = " of archetype " + std::to_string(a);
    blocks.Add("tile set" + of, Get_QBR1_LevelTISOffset(a), 32LL * QBR1_Data_TISNumTiles[a]);
    const long long gfx = static_cast<unsigned>(Get_QBR1_LevelGFXOffset(a));
    if ((a & 15) == kQBR1PlainArchetype) {
      blocks.Add("graphics" + of, gfx, kQBR1PlainGFXSize);
    } else if (blocks.Meets({gfx, gfx + kLongestStream - 1})) {
      const std::string_view stream = rom.Tail(gfx);
      std::vector<unsigned char> raw;
      const CharBlockEnd end =
          QBR1_DecompressCharacters(reinterpret_cast<const unsigned char*>(stream.data()), stream.size(), raw);
      blocks.Add("graphics" + of, gfx, static_cast<long long>(end.length));
    }
  }
}

void AddBananas(Blocks& blocks, const RomView& rom, const globaldata& g) {
  std::set<unsigned> shapes;
  for (const ListPlace& p : QBR1_ListPlaces(rom, g, ListKind::Bananas)) {
    for (const QBR1RawBanana& b : QBR1_ReadRawBananas(rom, p.offset)) shapes.insert(static_cast<unsigned>(b.Shape()));
  }
  if (!shapes.empty()) blocks.Add("banana shape pointer table", kQBR1BananaShapeTable, *shapes.rbegin() + 2LL);
  for (unsigned shape : shapes) {
    const long long grid = kQBR1BananaShapeTable + rom.Word(kQBR1BananaShapeTable + shape);
    const long long cells = static_cast<long long>(rom.Byte(grid)) * rom.Byte(grid + 1);
    blocks.Add("banana shape " + Hex(shape, 3), grid, 2 + (cells + 7) / 8);
  }
  // Five sets of eight frames, each frame 16x16 pixels: characters 0, 1, 16 and 17 from its start.
  blocks.Add("banana graphics", Wide(g.BananaGraphics), 64LL * (16 * 4 + 7) + 32 * 18);
  blocks.Add("banana palette", Wide(g.BananaPalette), 30);
}

// Bytes of sprite `n`'s data: its header, the part positions and the characters its parts read.
long long SpriteBytes(const RomView& rom, long long d) {
  const int na = rom.Byte(d), nb = rom.Byte(d + 1), firstB = rom.Byte(d + 2);
  const int nc = rom.Byte(d + 3), firstC = rom.Byte(d + 4);
  long long chars = 0;
  const long long lastRowWidth = 2 * (na % 8) + nb;
  for (int i = 0; i < na; ++i) {
    const long long top = 32LL * (i / 8) + 2 * (i % 8);
    const long long below = i / 8 < na / 8 ? 16 : lastRowWidth;
    chars = std::max(chars, top + below + 2);
  }
  if (nb > 0) chars = std::max<long long>(chars, firstB + nb);
  if (nc > 0) chars = std::max<long long>(chars, firstC + nc);
  return 8 + 2LL * (na + nb + nc) + 32 * chars;
}

void AddObjects(Blocks& blocks, const RomView& rom, const globaldata& g) {
  std::set<unsigned> definitions;
  for (const ListPlace& p : QBR1_ListPlaces(rom, g, ListKind::Objects)) {
    for (const QBR1RawObject& o : QBR1_ReadRawObjects(rom, p.offset)) definitions.insert(o.Definition() & 0xFFFF);
  }
  for (unsigned zo : definitions) {
    const std::string of = " of definition " + Hex(zo, 4).substr(2);
    QBR1ObjectScript s = QBR1_WalkObjectScripts(static_cast<int>(zo));
    int z = static_cast<int>(zo), ani = s.ani, pal = s.pal, spr = s.spr;
    QBR1_SpriteExceptions(z, ani, pal, spr);
    if (pal != 0) blocks.Add("object palette" + of, static_cast<long long>(static_cast<unsigned>(pal) & 0x3FFFFF), 30);
    if (ani != 0) blocks.Add("animation table entry" + of, kQBR1AnimationTable + 2LL * ani, 2);
    if (spr != 0) {
      blocks.Add("sprite pointer" + of, kQBR1SpritePtrTable + spr, 4);
      const long long d = QBR1_SpriteData(spr);
      if (d != 0) blocks.Add("sprite data" + of, d, SpriteBytes(rom, d));
    }
  }
}

}  // namespace

std::vector<NamedRange> QBR1_ReadBlocksMeeting(const RomView& rom, const globaldata& g,
                                               const std::vector<ByteRange>& windows) {
  if (windows.empty()) return {};
  // The level readers read the current image: make it `rom` on this thread.
  const ThreadRomImage scope(rom);
  Blocks blocks(windows);
  for (const NamedRange& t : QBR1_LevelTables(rom, g)) blocks.Add(t.name, t.range.first, t.range.Size());
  AddLevels(blocks, rom, g);
  AddBananas(blocks, rom, g);
  AddObjects(blocks, rom, g);
  return blocks.Take();
}
