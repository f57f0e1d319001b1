// The picture kinds: level terrains, tile-set sheets and sprites.
#include "extract/extract_writers.h"

#include <array>
#include <cstdio>
#include <map>

#include "editor/level_export.h"
#include "extract/extract_output.h"
#include "extract/extract_survey.h"
#include "level/ex_gfx_QBR1.h"
#include "level/leveldata.h"
#include "level/qbr_sprite_exception.h"
#include "level/snesbitmap.h"
#include "shell/base/functions.h"

namespace {

constexpr int kSheetColumns = 16;
constexpr int kTileSide = 32;

}  // namespace

void ExtractTerrains(ExtractSink& sink) {
  // A level picture is drawn from the level record alone (level 0x27 also
  // shows its second map), so levels with the same record fields share one
  // picture: it is copied instead of composed and encoded again.
  const std::vector<int> ids = QBR1_ViewableLevels();
  std::vector<std::size_t> first(ids.size());  // the first level with the same record
  std::map<std::vector<int>, std::size_t> seen;
  for (std::size_t i = 0; i < ids.size(); ++i) {
    leveldata lvl;
    Get_QBR1_LevelDataStruct(ids[i], lvl);
    const std::vector<int> key = {ids[i] == 0x27 ? 0x27 : -1,
                                  lvl.archetype,
                                  lvl.sequencing,
                                  lvl.x,
                                  lvl.tilemap,
                                  lvl.tileset,
                                  lvl.tilegfx,
                                  lvl.palette,
                                  lvl.objects,
                                  lvl.bananas,
                                  lvl.tile_w,
                                  lvl.tile_h,
                                  lvl.size};
    // A level without extent has no picture to share: each is named as skipped.
    first[i] = lvl.tile_w > 0 && lvl.tile_h > 0 ? seen.try_emplace(key, i).first->second : i;
  }
  sink.ForEach(ids.size(), [&](std::size_t i, ExtractPiece& piece) {
    const int id = ids[i];
    const std::string name = ExtractFileName("level", id, 2, ".png");
    if (first[i] != i) {
      piece.CopyOf(ExtractFileName("level", ids[first[i]], 2, ".png"), name);
      return;
    }
    LevelPictureRows picture(id);
    if (!picture.HasPicture()) {
      piece.Skip(ExtractLine("level 0x%02X has no picture (its size is not positive)", id));
      return;
    }
    piece.Picture(name, picture.w(), picture.h(), [&picture](int y) { return picture.Row(y); }, false);
  });
}

void ExtractTileSheets(ExtractSink& sink) {
  // The tiles depend only on the archetype and three offsets, which many levels
  // share: a sheet already written is copied instead of built and encoded again.
  const std::vector<int> ids = QBR1_ViewableLevels();
  std::vector<leveldata> levels(ids.size());
  std::vector<std::size_t> first(ids.size());  // the first level with the same tiles
  std::map<std::array<int, 4>, std::size_t> seen;
  for (std::size_t i = 0; i < ids.size(); ++i) {
    leveldata& lvl = levels[i];
    Get_QBR1_LevelDataStruct(ids[i], lvl);
    const std::array<int, 4> key = {lvl.archetype, lvl.tilegfx, lvl.tileset, lvl.palette};
    // An archetype without tiles has no sheet to share: each level is named as skipped.
    const bool tiled = lvl.archetype >= 0 && lvl.archetype < 14 && QBR1_Data_TISNumTiles[lvl.archetype] > 0;
    first[i] = tiled ? seen.try_emplace(key, i).first->second : i;
  }
  sink.ForEach(ids.size(), [&](std::size_t i, ExtractPiece& piece) {
    const int id = ids[i];
    const std::string name = ExtractFileName("tileset", id, 2, ".png");
    if (first[i] != i) {
      piece.CopyOf(ExtractFileName("tileset", ids[first[i]], 2, ".png"), name);
      return;
    }
    std::vector<BITMAP*> tiles;
    QBR1_FillTilesVector(tiles, levels[i]);
    if (tiles.empty()) {
      piece.Skip(ExtractLine("level 0x%02X has no tiles (archetype 0x%02X has no tile count)", id, levels[i].archetype));
      return;
    }
    const int count = static_cast<int>(tiles.size());
    const int rows = (count + kSheetColumns - 1) / kSheetColumns;
    BITMAP* sheet = create_bitmap_ex(32, kSheetColumns * kTileSide, rows * kTileSide);
    if (sheet != nullptr) {
      // The cells after the last tile stay transparent, like the tiles' own empty pixels.
      clear_to_color(sheet, static_cast<int>(kQBR1Transparent));
      for (int t = 0; t < count; ++t)
        blit(tiles[t], sheet, 0, 0, (t % kSheetColumns) * kTileSide, (t / kSheetColumns) * kTileSide, kTileSide,
             kTileSide);
      piece.Picture(name, sheet, true);
      Nullify(sheet);
    } else {
      piece.Skip(ExtractLine("level 0x%02X: no memory for its tile-set sheet", id));
    }
    for (BITMAP*& tile : tiles) Nullify(tile);
  });
}

void ExtractSpritePictures(ExtractSink& sink) {
  ForEachDrawnSprite(sink, [](const QBR1SpriteUse& use, const DecodedSprite& sprite, ExtractPiece& piece) {
    // Colours 1-15 from the palette of the sprite's first use; 0 stays transparent.
    std::uint32_t colours[16] = {kQBR1Transparent};
    const long long pal = static_cast<long long>(static_cast<unsigned long>(use.pal) & 0x3FFFFF);
    for (int i = 1; i < 16; ++i)
      colours[i] = static_cast<std::uint32_t>(snespal2rgba(static_cast<unsigned short>(QBR1_Word(pal + 2 * (i - 1)))));
    BITMAP* picture = create_bitmap_ex(32, sprite.w, sprite.h);
    if (picture == nullptr) {
      piece.Skip(ExtractLine("sprite 0x%04X: no memory for its picture", use.spr));
      return;
    }
    for (int y = 0; y < sprite.h; ++y) {
      auto* row = reinterpret_cast<std::uint32_t*>(picture->line[y]);
      for (int x = 0; x < sprite.w; ++x) row[x] = colours[sprite.At(x, y)];
    }
    piece.Picture(ExtractFileName("sprite", use.spr, 4, ".png"), picture, true);
    Nullify(picture);
  });
}

void ForEachDrawnSprite(ExtractSink& sink, const SpriteWriter& write) {
  const std::vector<QBR1SpriteUse> uses = QBR1_SpriteUses();
  sink.ForEach(uses.size(), [&](std::size_t i, ExtractPiece& piece) {
    const DecodedSprite sprite = DecodeSpritePixels(uses[i].spr);
    if (sprite.w == 0 || sprite.h == 0) {
      piece.Skip(ExtractLine("sprite 0x%04X has no pixels", uses[i].spr));
      return;
    }
    write(uses[i], sprite, piece);
  });
}

DecodedSprite DecodeSpritePixels(int spr) {
  DecodedSprite out;
  CompSprite* packed = Rw_Bitmap2CompSprite(RE_QBR1_SptiteRaw(spr));
  if (packed == nullptr) return out;
  out.w = packed->w;
  out.h = packed->h;
  out.indexes.resize(static_cast<std::size_t>(out.w) * out.h);
  for (int y = 0; y < out.h; ++y)
    for (int x = 0; x < out.w; ++x)
      out.indexes[static_cast<std::size_t>(y) * out.w + x] =
          static_cast<std::uint8_t>((packed->line[y][x / 2] >> (4 * (x & 1))) & 15);
  Nullify(packed);
  return out;
}
