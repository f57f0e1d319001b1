#include "extract/character_palette.h"

#include <array>

#include "extract/extract_survey.h"
#include "level/ex_gfx_QBR1.h"
#include "level/leveldata.h"
#include "level/rom_access.h"

int QBR1_MostUsedPaletteRow(int archetype) {
  if (archetype < 0 || archetype > 13) return 0;
  const RomView rom = CurrentRom();
  const long long tileset = Get_QBR1_LevelTISOffset(archetype);
  std::array<long long, 8> uses{};
  for (long long k = 0; k < 16LL * QBR1_Data_TISNumTiles[archetype]; ++k) ++uses[(rom.Word(tileset + 2 * k) >> 10) & 7];
  int best = 0;
  for (int row = 1; row < 8; ++row)
    if (uses[row] > uses[best]) best = row;
  return best;
}

std::vector<std::uint32_t> QBR1_CharacterSheetPalette(int archetype) {
  std::vector<std::uint32_t> colours;
  for (int id : QBR1_ViewableLevels()) {
    if (Get_QBR1_LevelArchetype(id) != archetype) continue;
    leveldata lvl;
    Get_QBR1_LevelDataStruct(id, lvl);
    const RomView rom = CurrentRom();
    const long long row = 16LL * QBR1_MostUsedPaletteRow(archetype);
    for (int i = 0; i < 16; ++i) colours.push_back(QBR1_Colour(rom.Word(lvl.palette + 2 * (row + i))) & 0xFFFFFFu);
    return colours;
  }
  for (std::uint32_t i = 0; i < 16; ++i) colours.push_back(0x111111u * i);
  return colours;
}
