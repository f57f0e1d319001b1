#include "extract/extract.h"

#include <iterator>

#include "extract/extract_output.h"
#include "extract/extract_survey.h"
#include "extract/extract_writers.h"

namespace {

struct KindEntry {
  ExtractKind kind;
  const char* name;
  const char* pattern;
  void (*write)(ExtractSink&);
};

const KindEntry kKinds[] = {
    {ExtractKind::Terrains, "terrains", "level-0xNN.png", ExtractTerrains},
    {ExtractKind::TileSets, "tilesets", "tileset-0xNN.png", ExtractTileSheets},
    {ExtractKind::Sprites, "sprites", "sprite-0xNNNN.png", ExtractSpritePictures},
    {ExtractKind::Gfx, "gfx", "gfx-0xNN.bin + .png", ExtractCharacters},
    {ExtractKind::TileSetData, "tileset-data", "tileset-0xNN.bin", ExtractTileSetData},
    {ExtractKind::TileMaps, "tilemaps", "tilemap-0xNN.bin", ExtractTileMaps},
    {ExtractKind::Palettes, "palettes", "palette-0xNN.bin + .gpl", ExtractPalettes},
    {ExtractKind::SpriteData, "sprite-data", "sprite-0xNNNN.bin", ExtractSpriteData},
};

const KindEntry& Entry(ExtractKind kind) {
  for (const KindEntry& e : kKinds)
    if (e.kind == kind) return e;
  return kKinds[0];
}

}  // namespace

const ExtractKind kAllExtractKinds[8] = {ExtractKind::Terrains, ExtractKind::TileSets,    ExtractKind::Sprites,
                                         ExtractKind::Gfx,      ExtractKind::TileSetData, ExtractKind::TileMaps,
                                         ExtractKind::Palettes, ExtractKind::SpriteData};
static_assert(std::size(kAllExtractKinds) == std::size(kKinds));

const char* ExtractKindName(ExtractKind kind) { return Entry(kind).name; }

const char* ExtractKindPattern(ExtractKind kind) { return Entry(kind).pattern; }

bool ExtractKindFromName(const std::string& name, ExtractKind& kind) {
  for (const KindEntry& e : kKinds)
    if (name == e.name) {
      kind = e.kind;
      return true;
    }
  return false;
}

ExtractReport QBR1_Extract(ExtractKind kind, const std::string& folder, const std::string& image_file,
                           ExtractControl* control) {
  ExtractReport report;
  ExtractSink sink(folder, image_file, report, control);
  Entry(kind).write(sink);
  sink.WriteManifest();
  return report;
}

std::string ExtractFailureLine(const ExtractReport& report) {
  return "cannot write \"" + report.failed_path + "\": " + report.failed_reason;
}

ExtractCounts QBR1_CountExtractables() {
  ExtractCounts counts;
  counts.levels = static_cast<int>(QBR1_ViewableLevels().size());
  counts.archetypes = static_cast<int>(QBR1_UsedArchetypes().size());
  counts.sprites = static_cast<int>(QBR1_SpriteUses().size());
  return counts;
}

int ExtractFileCount(ExtractKind kind, const ExtractCounts& counts) {
  switch (kind) {
    case ExtractKind::Terrains:
    case ExtractKind::TileSets:
    case ExtractKind::TileMaps: return counts.levels;
    case ExtractKind::Palettes: return 2 * counts.levels;
    case ExtractKind::Gfx: return 2 * counts.archetypes;
    case ExtractKind::TileSetData: return counts.archetypes;
    case ExtractKind::Sprites:
    case ExtractKind::SpriteData: return counts.sprites;
  }
  return 0;
}
