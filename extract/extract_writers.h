#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "extract/extract_survey.h"

class ExtractPiece;
class ExtractSink;

// The writers of each kind (ExtractKind); each writes its files into the sink
// and names what it skips.
void ExtractTerrains(ExtractSink& sink);
void ExtractTileSheets(ExtractSink& sink);
void ExtractSpritePictures(ExtractSink& sink);
void ExtractCharacters(ExtractSink& sink);
void ExtractTileSetData(ExtractSink& sink);
void ExtractTileMaps(ExtractSink& sink);
void ExtractPalettes(ExtractSink& sink);
void ExtractSpriteData(ExtractSink& sink);

// A sprite cropped to its visible pixels, as colour indexes 0-15 row by row.
struct DecodedSprite {
  int w = 0;
  int h = 0;
  std::vector<std::uint8_t> indexes;

  int At(int x, int y) const { return indexes[static_cast<std::size_t>(y) * w + x]; }
};

// Sprite `spr` decoded and cropped as the object map caches it (w = h = 0 when it has no pixels).
DecodedSprite DecodeSpritePixels(int spr);

// Writes the files of one decoded sprite into its piece (runs on a worker thread).
using SpriteWriter = std::function<void(const QBR1SpriteUse&, const DecodedSprite&, ExtractPiece&)>;

// Calls `write` for every sprite an object draws (QBR1_SpriteUses), decoded,
// through the sink's workers; a sprite without pixels is named as skipped
// instead. Stops when the sink does.
void ForEachDrawnSprite(ExtractSink& sink, const SpriteWriter& write);
