#include "editor/edit_refresh.h"

#include <vector>

#include "level/ex_gfx_QBR1.h"
#include "level/level_objects.h"
#include "level/rom_access.h"
#include "level/snesbitmap.h"
#include "shell/base/functions.h"

namespace {

// The bytes the tile bitmaps are made of: the palette, the tile definitions and
// the decoded characters.
struct TileSources {
  std::vector<unsigned char> palette, tileset, gfx;
  bool operator==(const TileSources&) const = default;
};

TileSources sources;

std::vector<unsigned char> Bytes(long long at, std::size_t n) {
  const RomView rom = CurrentRom();
  std::vector<unsigned char> out(n);
  for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<unsigned char>(rom.Byte(at + static_cast<long long>(i)));
  return out;
}

TileSources ReadTileSources(const leveldata& lvl) {
  TileSources s;
  s.palette = Bytes(lvl.palette, 256);
  const int a = lvl.archetype;
  const std::size_t tiles = a >= 0 && a < 14 ? QBR1_Data_TISNumTiles[a] : 0;
  s.tileset = Bytes(lvl.tileset, 32 * tiles);
  RE_QBR1_RawGFX(s.gfx, lvl);
  return s;
}

}  // namespace

void ViewCachesAttach(const CCamera& camera) { sources = ReadTileSources(camera.lvl); }

void ViewCachesRefresh(CCamera& camera, bool own_change) {
  if (!own_change) {
    // An undone table edit may move the level's data: read its record again.
    leveldata fresh;
    Get_QBR1_LevelDataStruct(camera.lvl.ID, fresh);
    camera.lvl = fresh;
    TileSources now = ReadTileSources(camera.lvl);
    if (!(now == sources) && camera.Layer_MG0 != nullptr) {
      sources = std::move(now);
      delete camera.Layer_MG0;
      camera.Layer_MG0 = new CMLayer(camera.lvl);
      camera.Layer_MG0->Proc(camera.x, camera.y, camera.frame);
    }
    if (camera.Object_MAP != nullptr) {
      for (int i = 0; i < CObjectMap::kCacheSize; ++i) Nullify(camera.Object_MAP->sprites[i]);
    }
  } else {
    // A list that grew may have moved, and its pointer words with it.
    Get_QBR1_LevelListOffsets(camera.lvl);
  }
  if (camera.Object_MAP != nullptr) {
    camera.Object_MAP->records = QBR1_ReadObjectMap(camera.lvl);
    camera.Object_MAP->looks.assign(camera.Object_MAP->records.size(), std::nullopt);
  }
  if (camera.Banana_MAP != nullptr) camera.Banana_MAP->groups = QBR1_ReadBananaMap(camera.lvl);
}
