#include "modes/palette_rows.h"

#include "modes/sprite_catalogue.h"
#include "rom/globaldata.h"

long long PaletteRow::Swatch(int i) const {
  if (i < 1 || i > 15) return -1;
  return stores_first ? base + 2LL * i : base + 2LL * (i - 1);
}

std::vector<PaletteRow> QBR1_PaletteRows(const leveldata& lvl) {
  std::vector<PaletteRow> rows;
  for (int r = 0; r < 8; ++r)
    rows.push_back({"Level " + std::to_string(16 * r) + "-" + std::to_string(16 * r + 15),
                    static_cast<long long>(lvl.palette) + 32LL * r, true});
  rows.push_back({"Bananas", static_cast<long long>(qbr1gbl.BananaPalette), false});
  for (int pal : QBR1_LevelObjectPalettes(lvl.ID)) rows.push_back({"Objects", static_cast<long long>(pal), false});
  return rows;
}
