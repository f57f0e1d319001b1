// The readers of the exchange folder's files on arbitrary bytes: the indexed
// PNG reader with the mapping of its colours to a palette row and the character
// sheet check, and the GIMP palette reader. Each either gives its result or a
// reason; no read outside the data, no crash. The seeds (corpus/exchange_fuzz)
// are valid sheets (4 bits, and 8 bits with the palette reordered and a colour
// more) and palettes (plain, and RGBA after a byte-order mark).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "level/character_sheet.h"
#include "level/gimp_palette.h"
#include "level/png_indexed.h"

namespace {

// The row the seed sheets were written in.
std::vector<std::uint32_t> SeedRow() {
  std::vector<std::uint32_t> row;
  for (std::uint32_t i = 0; i < 16; ++i) row.push_back((8 * i) << 16 | (248 - 8 * i) << 8 | ((40 * i) & 0xF8));
  return row;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::vector<std::uint32_t> row = SeedRow();
  IndexedPicture sheet;
  std::string reason;
  if (QBR1_ReadIndexedPng(data, size, 1 << 20, sheet, reason)) {
    if (sheet.pixels.size() != static_cast<std::size_t>(sheet.w) * sheet.h) __builtin_trap();
    if (sheet.palette.size() > 256) __builtin_trap();
    const IndexedPicture stored = sheet;
    reason.clear();
    if (QBR1_SheetInRowColours(sheet, row, reason)) {
      // Either every pixel now names a colour of the row, or the sheet kept its values.
      const bool mapped = std::all_of(sheet.pixels.begin(), sheet.pixels.end(), [](std::uint8_t p) { return p < 16; });
      if (!mapped && sheet.pixels != stored.pixels) __builtin_trap();
    } else if (reason.empty() || sheet.pixels != stored.pixels) {
      __builtin_trap();
    }
    std::vector<unsigned char> characters;
    if (QBR1_CharactersOfSheet(sheet, characters, reason) && characters.size() != 32u * (sheet.h / 8) * 16)
      __builtin_trap();
  } else if (reason.empty()) {
    __builtin_trap();
  }
  std::vector<std::uint32_t> colours;
  reason.clear();
  if (QBR1_ReadGimpPalette(std::string(reinterpret_cast<const char*>(data), size), colours, reason)) {
    for (std::uint32_t c : colours)
      if (c > 0xFFFFFF) __builtin_trap();
  } else if (reason.empty()) {
    __builtin_trap();
  }
  return 0;
}
