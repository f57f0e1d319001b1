// The raw-data kinds: characters, tile-set definitions, tile maps, palettes and sprite pixels.
#include <cstdio>
#include <vector>

#include "extract/character_palette.h"
#include "extract/extract_output.h"
#include "extract/extract_survey.h"
#include "extract/extract_writers.h"
#include "level/character_sheet.h"
#include "level/ex_gfx_QBR1.h"
#include "level/leveldata.h"
#include "level/rom_access.h"

namespace {

constexpr int kArchetypes = 14;
constexpr int kPaletteColours = 128;

// True when the n bytes from o all lie inside the image: a file holds only
// bytes the image holds, never zeros made up for what lies past its end.
bool Inside(const RomView& rom, long long o, long long n) {
  return n > 0 && rom.Contains(o) && rom.Contains(o + n - 1);
}

std::vector<unsigned char> Copy(const RomView& rom, long long o, long long n) {
  const std::string_view bytes = rom.Tail(o).substr(0, static_cast<std::size_t>(n));
  return {bytes.begin(), bytes.end()};
}

// The file offset of the map entry of column c, row r.
long long MapEntry(const leveldata& lvl, int c, int r) {
  return lvl.sequencing == 0 ? lvl.tilemap + 2LL * (16LL * c + r) : lvl.tilemap + 2LL * (64LL * r + c);
}

// Runs `write(id, piece)` for each of `ids` in a piece of its own, so that a damaged one is
// skipped alone and the others are still written.
template <class Write>
void ForEachId(ExtractSink& sink, const std::vector<int>& ids, Write write) {
  sink.ForEach(ids.size(), [&](std::size_t i, ExtractPiece& piece) { write(ids[i], piece); });
}

// ForEachId over the viewable levels, each with its level data: `write(id, lvl, piece)`.
template <class Write>
void ForEachLevel(ExtractSink& sink, Write write) {
  ForEachId(sink, QBR1_ViewableLevels(), [&](int id, ExtractPiece& piece) {
    leveldata lvl;
    Get_QBR1_LevelDataStruct(id, lvl);
    write(id, lvl, piece);
  });
}

}  // namespace

void ExtractCharacters(ExtractSink& sink) {
  const RomView rom = CurrentRom();
  ForEachId(sink, QBR1_UsedArchetypes(), [&](int a, ExtractPiece& piece) {
    leveldata lvl;
    lvl.archetype = a;
    lvl.tilegfx = Get_QBR1_LevelGFXOffset(a);
    if (!rom.Contains(lvl.tilegfx)) {
      piece.Skip(ExtractLine("archetype 0x%02X: its 8x8 graphics do not lie inside the image", a));
      return;
    }
    std::vector<unsigned char> characters;
    RE_QBR1_RawGFX(characters, lvl);
    if (characters.empty()) {
      piece.Skip(ExtractLine("archetype 0x%02X: its 8x8 graphics decode to nothing", a));
      return;
    }
    const std::vector<unsigned char> sheet =
        QBR1_IndexedPngBytes(QBR1_CharacterSheet(characters), QBR1_CharacterSheetPalette(a), true);
    piece.Bytes(ExtractFileName("gfx", a, 2, ".bin"), std::move(characters));
    if (sheet.empty()) {
      piece.Skip(ExtractLine("archetype 0x%02X: its 8x8 graphics hold no whole character for a sheet", a));
      return;
    }
    piece.Bytes(ExtractFileName("gfx", a, 2, ".png"), sheet);
  });
}

void ExtractTileSetData(ExtractSink& sink) {
  const RomView rom = CurrentRom();
  ForEachId(sink, QBR1_UsedArchetypes(), [&](int a, ExtractPiece& piece) {
    if (a < 0 || a >= kArchetypes) {
      piece.Skip(ExtractLine("archetype 0x%02X has no tile count", a));
      return;
    }
    const long long at = Get_QBR1_LevelTISOffset(a);
    const long long size = 32LL * QBR1_Data_TISNumTiles[a];
    if (!Inside(rom, at, size)) {
      piece.Skip(ExtractLine("archetype 0x%02X: its tile set does not lie inside the image", a));
      return;
    }
    piece.Bytes(ExtractFileName("tileset", a, 2, ".bin"), Copy(rom, at, size));
  });
}

void ExtractTileMaps(ExtractSink& sink) {
  const RomView rom = CurrentRom();
  ForEachLevel(sink, [&](int id, const leveldata& lvl, ExtractPiece& piece) {
    if (lvl.tile_w <= 0 || lvl.tile_h <= 0) {
      piece.Skip(ExtractLine("level 0x%02X has no tile map (its size is not positive)", id));
      return;
    }
    // The first and the last entry bound every other one in either storage order.
    const long long first = MapEntry(lvl, 0, 0), last = MapEntry(lvl, lvl.tile_w - 1, lvl.tile_h - 1);
    if (!Inside(rom, first, 2) || !Inside(rom, last, 2)) {
      piece.Skip(ExtractLine("level 0x%02X: its tile map does not lie inside the image", id));
      return;
    }
    // Column by column, each from its top row down: the order the tile layer walks the map.
    std::vector<unsigned char> words;
    words.reserve(2u * static_cast<std::size_t>(lvl.tile_w) * static_cast<std::size_t>(lvl.tile_h));
    for (int c = 0; c < lvl.tile_w; ++c)
      for (int r = 0; r < lvl.tile_h; ++r) PutWordLE(words, rom.Word(MapEntry(lvl, c, r)));
    piece.Bytes(ExtractFileName("tilemap", id, 2, ".bin"), std::move(words));
  });
}

static std::string GimpPalette(int id, const RomView& rom, long long at) {
  std::string text = "GIMP Palette\nName: Level " + ExtractLine("0x%02X", id) + "\nColumns: 16\n#\n";
  for (int i = 0; i < kPaletteColours; ++i) {
    const unsigned c = rom.Word(at + 2LL * i);
    char line[64];
    // The channels as the level view shows them: five bits shifted left by three.
    std::snprintf(line, sizeof line, "%3u %3u %3u\tpalette %d colour %d\n", (c & 0x1Fu) << 3, ((c >> 5) & 0x1Fu) << 3,
                  ((c >> 10) & 0x1Fu) << 3, i / 16, i % 16);
    text += line;
  }
  return text;
}

void ExtractPalettes(ExtractSink& sink) {
  const RomView rom = CurrentRom();
  ForEachLevel(sink, [&](int id, const leveldata& lvl, ExtractPiece& piece) {
    if (!Inside(rom, lvl.palette, 2LL * kPaletteColours)) {
      piece.Skip(ExtractLine("level 0x%02X: its palette does not lie inside the image", id));
      return;
    }
    piece.Bytes(ExtractFileName("palette", id, 2, ".bin"), Copy(rom, lvl.palette, 2LL * kPaletteColours));
    piece.Text(ExtractFileName("palette", id, 2, ".gpl"), GimpPalette(id, rom, lvl.palette));
  });
}

void ExtractSpriteData(ExtractSink& sink) {
  ForEachDrawnSprite(sink, [](const QBR1SpriteUse& use, const DecodedSprite& sprite, ExtractPiece& piece) {
    std::vector<unsigned char> bytes;
    bytes.reserve(4 + sprite.indexes.size());
    PutWordLE(bytes, static_cast<unsigned>(sprite.w));
    PutWordLE(bytes, static_cast<unsigned>(sprite.h));
    bytes.insert(bytes.end(), sprite.indexes.begin(), sprite.indexes.end());
    piece.Bytes(ExtractFileName("sprite", use.spr, 4, ".bin"), std::move(bytes));
  });
}
