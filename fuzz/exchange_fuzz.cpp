// The readers of the exchange folder's files on arbitrary bytes: the indexed
// PNG reader with the character sheet check, and the GIMP palette reader. Each
// either gives its result or a reason; no read outside the data, no crash.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "level/character_sheet.h"
#include "level/gimp_palette.h"
#include "level/png_indexed.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  IndexedPicture sheet;
  std::string reason;
  if (QBR1_ReadIndexedPng(data, size, 1 << 20, sheet, reason)) {
    if (sheet.pixels.size() != static_cast<std::size_t>(sheet.w) * sheet.h) __builtin_trap();
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
