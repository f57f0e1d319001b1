#include "extract/import_resources.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "codec/char_codec.h"
#include "extract/character_palette.h"
#include "extract/extract_survey.h"
#include "level/character_sheet.h"
#include "level/colour_rounding.h"
#include "level/ex_gfx_QBR1.h"
#include "level/graphics_space.h"
#include "level/gimp_palette.h"
#include "level/level_records.h"
#include "level/png_indexed.h"
#include "rom/image_edits.h"

namespace {

constexpr int kArchetypes = 14;
constexpr int kPaletteColours = 128;
// The tallest character sheet read: as many characters as one decompression gives.
constexpr std::size_t kMaxSheetPixels = kCharMaxRaw / 32 * 64;

std::string Hex(long long n, int digits) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%0*llX", digits, n);
  return text;
}

std::string Count(long long n, const char* one) { return std::to_string(n) + " " + one + (n == 1 ? "" : "s"); }

bool Inside(const RomView& rom, long long o, long long n) { return n > 0 && rom.Contains(o) && rom.Contains(o + n - 1); }

std::vector<unsigned char> Copy(const RomView& rom, long long o, long long n) {
  const std::string_view bytes = rom.Tail(o).substr(0, static_cast<std::size_t>(n));
  return {bytes.begin(), bytes.end()};
}

// "N characters", with the bytes of a last partial character when there are any.
std::string CharacterCount(std::size_t bytes) {
  std::string text = Count(static_cast<long long>(bytes / 32), "character");
  if (bytes % 32) text += " and " + Count(static_cast<long long>(bytes % 32), "byte");
  return text;
}

// False, with both counts, when `content` holds fewer characters than the archetype's graphics.
bool NotShort(const std::vector<unsigned char>& content, const ImportResource& r, std::string& reason) {
  if (content.size() >= r.current.size()) return true;
  reason = "holds " + CharacterCount(content.size()) + ", the 8x8 graphics of archetype " + Hex(r.number, 2) + " " +
           CharacterCount(r.current.size());
  return false;
}

// False, with the reason, for characters no block can hold: a plain block of
// another size, or more than one decompression gives.
bool CharactersFit(const std::vector<unsigned char>& content, const ImportResource& r, std::string& reason) {
  if (r.plain && content.size() != r.current.size()) {
    reason = "holds " + Count(static_cast<long long>(content.size()), "byte") +
             " of characters, the uncompressed block " + Count(static_cast<long long>(r.current.size()), "byte");
    return false;
  }
  if (content.size() > kCharMaxRaw) {
    reason = "holds " + Count(static_cast<long long>(content.size()), "byte") + " of characters, more than one block (" +
             std::to_string(kCharMaxRaw) + ")";
    return false;
  }
  return true;
}

bool UsedArchetype(int a) {
  const std::vector<int> used = QBR1_UsedArchetypes();
  return std::find(used.begin(), used.end(), a) != used.end();
}

bool ViewableLevel(int id) { return id >= kQBR1FirstLevel && id <= kQBR1LastLevel && !QBR1_IsHiddenLevel(id); }

void Characters(ImportResource& r, const RomView& before) {
  const int a = r.number;
  if (!UsedArchetype(a)) {
    r.refusal = "no level of the image uses archetype " + Hex(a, 2);
    return;
  }
  r.offset = Get_QBR1_LevelGFXOffset(a);
  if (!before.Contains(r.offset)) {
    r.refusal = "the 8x8 graphics of archetype " + Hex(a, 2) + " do not lie inside the image";
    return;
  }
  r.plain = (a & 15) == kQBR1PlainArchetype;
  r.sheet_row = QBR1_CharacterSheetPalette(a);
  if (r.plain) {
    QBR1_Decompress(before, r.offset, true, r.current);
    r.held = static_cast<long long>(r.current.size());
    return;
  }
  const std::string_view block = before.Tail(r.offset);
  const CharBlockEnd end =
      QBR1_DecompressCharacters(reinterpret_cast<const unsigned char*>(block.data()), block.size(), r.current);
  if (!end.complete) r.refusal = "the stored 8x8 graphics of archetype " + Hex(a, 2) + " have no end marker";
  r.held = static_cast<long long>(end.length);
}

void TileSet(ImportResource& r, const RomView& before) {
  const int a = r.number;
  if (a >= kArchetypes || !UsedArchetype(a)) {
    r.refusal = "no level of the image uses archetype " + Hex(a, 2) + " with a tile count";
    return;
  }
  r.offset = Get_QBR1_LevelTISOffset(a);
  r.held = 32LL * QBR1_Data_TISNumTiles[a];
  if (!Inside(before, r.offset, r.held)) {
    r.refusal = "the tile set of archetype " + Hex(a, 2) + " does not lie inside the image";
    return;
  }
  r.current = Copy(before, r.offset, r.held);
}

void TileMap(ImportResource& r, const RomView& before) {
  if (!ViewableLevel(r.number)) {
    r.refusal = Hex(r.number, 2) + " is not a level the editor shows";
    return;
  }
  leveldata& lvl = r.level;
  Get_QBR1_LevelDataStruct(r.number, lvl);
  if (lvl.tile_w <= 0 || lvl.tile_h <= 0) {
    r.refusal = "level " + Hex(r.number, 2) + " has no tile map";
    return;
  }
  // The map is one stretch in either storage order, from its first entry to its last.
  r.offset = QBR1_MapEntryOffset(lvl, 0, 0);
  r.held = QBR1_MapEntryOffset(lvl, lvl.tile_w - 1, lvl.tile_h - 1) + 2 - r.offset;
  if (!Inside(before, r.offset, r.held)) {
    r.refusal = "the tile map of level " + Hex(r.number, 2) + " does not lie inside the image";
    return;
  }
  // Column by column, each from its top row down: the order of tilemap-0xNN.bin.
  for (int c = 0; c < lvl.tile_w; ++c)
    for (int row = 0; row < lvl.tile_h; ++row) {
      const long long at = QBR1_MapEntryOffset(lvl, c, row);
      r.current.push_back(static_cast<unsigned char>(before.Byte(at)));
      r.current.push_back(static_cast<unsigned char>(before.Byte(at + 1)));
    }
}

void Palette(ImportResource& r, const RomView& before) {
  if (!ViewableLevel(r.number)) {
    r.refusal = Hex(r.number, 2) + " is not a level the editor shows";
    return;
  }
  Get_QBR1_LevelDataStruct(r.number, r.level);
  r.offset = r.level.palette;
  r.held = 2LL * kPaletteColours;
  if (!Inside(before, r.offset, r.held)) {
    r.refusal = "the palette of level " + Hex(r.number, 2) + " does not lie inside the image";
    return;
  }
  r.current = Copy(before, r.offset, r.held);
}

bool SizeIs(const std::vector<unsigned char>& bytes, std::size_t size, const std::string& what, std::string& reason) {
  if (bytes.size() == size) return true;
  reason = "holds " + Count(static_cast<long long>(bytes.size()), "byte") + ", " + what + " " +
           Count(static_cast<long long>(size), "byte");
  return false;
}

// The characters of a sheet: as many as the image holds, and more only where
// the sheet adds characters that are not blank (a sheet fills its last row up
// with blank ones); a last partial character of the image stays.
bool SheetCharacters(const std::vector<unsigned char>& bytes, const ImportResource& r,
                     std::vector<unsigned char>& content, std::string& reason) {
  IndexedPicture sheet;
  if (!QBR1_ReadIndexedPng(bytes.data(), bytes.size(), kMaxSheetPixels, sheet, reason)) return false;
  if (!QBR1_SheetInRowColours(sheet, r.sheet_row, reason)) return false;
  if (!QBR1_CharactersOfSheet(sheet, content, reason)) return false;
  const std::size_t whole = r.current.size() / 32 * 32;
  while (content.size() > whole &&
         std::all_of(content.end() - 32, content.end(), [](unsigned char b) { return b == 0; }))
    content.resize(content.size() - 32);
  if (content.size() == whole) content.insert(content.end(), r.current.begin() + static_cast<long>(whole), r.current.end());
  return NotShort(content, r, reason);
}

bool GimpColours(const std::vector<unsigned char>& bytes, const ImportResource& r, std::vector<unsigned char>& content,
                 std::string& reason) {
  std::vector<std::uint32_t> colours;
  if (!QBR1_ReadGimpPalette(std::string(bytes.begin(), bytes.end()), colours, reason)) return false;
  if (colours.size() != kPaletteColours) {
    reason = "holds " + Count(static_cast<long long>(colours.size()), "colour") + ", a level palette " +
             std::to_string(kPaletteColours);
    return false;
  }
  content = r.current;
  for (int i = 0; i < kPaletteColours; ++i) {
    const std::uint32_t c = colours[i];
    // Bit 15 is not a colour: the stored one stays.
    const unsigned word = Colour15FromRgb(static_cast<int>(c >> 16), static_cast<int>((c >> 8) & 0xFF),
                                          static_cast<int>(c & 0xFF)) |
                          (r.current[2 * i + 1] & 0x80u) << 8;
    content[2 * i] = static_cast<unsigned char>(word);
    content[2 * i + 1] = static_cast<unsigned char>(word >> 8);
  }
  return true;
}

// Writes the stretch of `bytes` (meant for `offset` on) that differs from `before`.
bool WriteChanged(long long offset, const std::vector<unsigned char>& bytes, const std::vector<unsigned char>& before,
                  std::string& outcome) {
  std::size_t first = 0, last = bytes.size();
  while (first < last && first < before.size() && bytes[first] == before[first]) ++first;
  while (last > first && last <= before.size() && bytes[last - 1] == before[last - 1]) --last;
  if (!QBR1_WriteBytes(static_cast<std::size_t>(offset) + first, bytes.data() + first, last - first)) {
    outcome = "the image refused the write";
    return false;
  }
  outcome = "written (" + Count(static_cast<long long>(last - first), "byte") + " at " +
            Hex(offset + static_cast<long long>(first), 6) + ")";
  return true;
}

// Puts `block`, too long for the place of r's graphics, at the lowest free place
// of the declared graphics space and points the archetype's pointer there; the
// old place is left as it was (nothing reads it any more).
bool MoveCharacters(const ImportResource& r, const std::vector<unsigned char>& block, std::string& outcome) {
  const int a = r.number;
  const std::string need = "needs " + std::to_string(block.size()) + " bytes, the original holds " + std::to_string(r.held);
  if (!QBR1_GraphicsMayMove(a)) {
    outcome = need + "; declaring [ThemeGraphicsPointer] " + Hex(a, 2).substr(2) +
              " and [FreeSpace] Graphics in the game configuration lets it move";
    return false;
  }
  const RomView now = CurrentRom();
  const long long at = QBR1_GraphicsFreePlace(now, a, static_cast<long long>(block.size()));
  if (at < 0) {
    outcome = need + ", and no free place of FreeSpace Graphics holds it";
    return false;
  }
  const long long pointer = QBR1_GraphicsPointerAt(a);
  const unsigned long address = static_cast<unsigned long>(at) + 0xC00000ul;
  const unsigned char word[3] = {static_cast<unsigned char>(address), static_cast<unsigned char>(address >> 8),
                                 static_cast<unsigned char>(address >> 16)};
  if (!QBR1_WriteBytes(static_cast<std::size_t>(at), block.data(), block.size()) ||
      !QBR1_WriteBytes(static_cast<std::size_t>(pointer), word, 3)) {
    outcome = "the image refused the write";
    return false;
  }
  outcome = "written (" + Count(static_cast<long long>(block.size()), "byte") + " at " + Hex(at, 6) +
            ", moved from " + Hex(r.offset, 6) + "; pointer at " + Hex(pointer, 6) + ")";
  return true;
}

}  // namespace

bool ParseImportName(const std::string& name, ImportName& out) {
  struct Form {
    const char* prefix;
    const char* suffix;
    ImportKind kind;
    bool preferred;
  };
  static const Form forms[] = {
      {"gfx-0x", ".png", ImportKind::Characters, true},  {"gfx-0x", ".bin", ImportKind::Characters, false},
      {"tileset-0x", ".bin", ImportKind::TileSet, false}, {"tilemap-0x", ".bin", ImportKind::TileMap, false},
      {"palette-0x", ".gpl", ImportKind::Palette, true},  {"palette-0x", ".bin", ImportKind::Palette, false},
  };
  // Names are matched without regard to case: a file renamed "GFX-0x0c.PNG" is still the sheet.
  std::string lower = name;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const Form& f : forms) {
    const std::string prefix = f.prefix, suffix = f.suffix;
    if (lower.size() != prefix.size() + 2 + suffix.size() || lower.compare(0, prefix.size(), prefix) != 0 ||
        lower.compare(prefix.size() + 2, suffix.size(), suffix) != 0)
      continue;
    int number = 0;
    for (char c : lower.substr(prefix.size(), 2)) {
      const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
      if (digit < 0) return false;
      number = number * 16 + digit;
    }
    out = {f.kind, number, f.preferred};
    return true;
  }
  return false;
}

ImportResource QBR1_ImportResource(ImportKind kind, int number, const RomView& before) {
  ImportResource r;
  r.kind = kind;
  r.number = number;
  switch (kind) {
    case ImportKind::Characters: Characters(r, before); break;
    case ImportKind::TileSet: TileSet(r, before); break;
    case ImportKind::TileMap: TileMap(r, before); break;
    case ImportKind::Palette: Palette(r, before); break;
  }
  return r;
}

bool QBR1_ImportContent(const ImportName& name, const std::vector<unsigned char>& bytes, const ImportResource& r,
                        std::vector<unsigned char>& content, std::string& reason) {
  switch (name.kind) {
    case ImportKind::Characters:
      if (name.preferred) {
        if (!SheetCharacters(bytes, r, content, reason)) return false;
      } else {
        content = bytes;
        if (!NotShort(content, r, reason)) return false;
      }
      return CharactersFit(content, r, reason);
    case ImportKind::TileSet:
      content = bytes;
      return SizeIs(bytes, r.current.size(), "the tile set", reason);
    case ImportKind::TileMap:
      content = bytes;
      return SizeIs(bytes, r.current.size(),
                    "the level's map of " + std::to_string(r.level.tile_w) + " x " + std::to_string(r.level.tile_h) +
                        " words",
                    reason);
    case ImportKind::Palette:
      if (name.preferred) return GimpColours(bytes, r, content, reason);
      content = bytes;
      return SizeIs(bytes, r.current.size(), "a level palette", reason);
  }
  return false;
}

ImportPlace QBR1_ImportPlace(const ImportResource& r, const std::vector<unsigned char>& content, const RomView& before) {
  ImportPlace place;
  place.offset = r.offset;
  place.whole = r.kind == ImportKind::Characters;
  if (r.kind != ImportKind::TileMap) {
    place.bytes = content;
    if (place.whole) place.bytes.resize(static_cast<std::size_t>(std::max<long long>(r.held, 1)));
    place.mine.assign(place.bytes.size(), true);
    return place;
  }
  // From the file's column order to the map's storage order; what lies between
  // a map's rows or columns is not the map's and keeps the image's bytes.
  place.bytes = Copy(before, r.offset, r.held);
  place.mine.assign(place.bytes.size(), false);
  std::size_t k = 0;
  for (int c = 0; c < r.level.tile_w; ++c)
    for (int row = 0; row < r.level.tile_h; ++row, k += 2) {
      const std::size_t at = static_cast<std::size_t>(QBR1_MapEntryOffset(r.level, c, row) - r.offset);
      place.bytes[at] = content[k], place.bytes[at + 1] = content[k + 1];
      place.mine[at] = place.mine[at + 1] = true;
    }
  return place;
}

bool QBR1_ImportWrite(const ImportResource& r, const std::vector<unsigned char>& content, const RomView& before,
                      std::string& outcome) {
  if (r.kind == ImportKind::TileMap)
    return WriteChanged(r.offset, QBR1_ImportPlace(r, content, before).bytes, Copy(before, r.offset, r.held), outcome);
  if (r.kind != ImportKind::Characters || r.plain) return WriteChanged(r.offset, content, r.current, outcome);
  const std::vector<unsigned char> block = QBR1_CompressCharacters(content);
  if (static_cast<long long>(block.size()) <= r.held) {
    if (!QBR1_WriteBytes(static_cast<std::size_t>(r.offset), block.data(), block.size())) {
      outcome = "the image refused the write";
      return false;
    }
    outcome = "written (" + Count(static_cast<long long>(block.size()), "byte") + " at " + Hex(r.offset, 6) + ")";
    return true;
  }
  return MoveCharacters(r, block, outcome);
}
