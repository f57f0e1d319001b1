#pragma once

#include <cstdint>
#include <vector>

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
