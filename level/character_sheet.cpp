#include "level/character_sheet.h"

#include <array>
#include <cstdio>

#include "level/ex_gfx_QBR1.h"

IndexedPicture QBR1_CharacterSheet(const std::vector<unsigned char>& characters) {
  const std::size_t count = characters.size() / 32;
  const int rows = static_cast<int>((count + kCharacterSheetColumns - 1) / kCharacterSheetColumns);
  IndexedPicture sheet;
  sheet.w = kCharacterSheetWidth;
  sheet.h = 8 * rows;
  sheet.pixels.assign(static_cast<std::size_t>(sheet.w) * sheet.h, 0);
  const RomView chars(characters.data(), characters.size());
  std::uint8_t idx[64];
  for (std::size_t n = 0; n < count; ++n) {
    QBR1_DecodeCharacter(chars, 32LL * static_cast<long long>(n), idx);
    const int x0 = 8 * static_cast<int>(n % kCharacterSheetColumns), y0 = 8 * static_cast<int>(n / kCharacterSheetColumns);
    for (int r = 0; r < 8; ++r)
      for (int c = 0; c < 8; ++c) sheet.pixels[static_cast<std::size_t>(y0 + r) * sheet.w + x0 + c] = idx[8 * r + c];
  }
  return sheet;
}

bool QBR1_CharactersOfSheet(const IndexedPicture& sheet, std::vector<unsigned char>& characters, std::string& reason) {
  if (sheet.w != kCharacterSheetWidth) {
    reason = "the picture is " + std::to_string(sheet.w) + " pixels wide, a character sheet " +
             std::to_string(kCharacterSheetWidth);
    return false;
  }
  if (sheet.h <= 0 || sheet.h % 8 != 0) {
    reason = "the picture is " + std::to_string(sheet.h) + " pixels high, not a whole number of character rows (8 pixels)";
    return false;
  }
  for (int y = 0; y < sheet.h; ++y)
    for (int x = 0; x < sheet.w; ++x)
      if (sheet.At(x, y) > 15) {
        reason = "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") has the value " +
                 std::to_string(sheet.At(x, y)) + "; characters hold 0-15";
        return false;
      }
  characters.assign(static_cast<std::size_t>(sheet.h / 8) * kCharacterSheetColumns * 32, 0);
  std::uint8_t idx[64];
  for (std::size_t n = 0; n < characters.size() / 32; ++n) {
    const int x0 = 8 * static_cast<int>(n % kCharacterSheetColumns), y0 = 8 * static_cast<int>(n / kCharacterSheetColumns);
    for (int r = 0; r < 8; ++r)
      for (int c = 0; c < 8; ++c) idx[8 * r + c] = sheet.At(x0 + c, y0 + r);
    QBR1_EncodeCharacter(idx, characters.data() + 32 * n);
  }
  return true;
}

void QBR1_EncodeCharacter(const std::uint8_t pixels[64], unsigned char out[32]) {
  for (int r = 0; r < 8; ++r) {
    unsigned char planes[4] = {};
    for (int c = 0; c < 8; ++c)
      for (int p = 0; p < 4; ++p) planes[p] |= static_cast<unsigned char>(((pixels[8 * r + c] >> p) & 1) << (7 - c));
    out[2 * r] = planes[0];
    out[2 * r + 1] = planes[1];
    out[2 * r + 16] = planes[2];
    out[2 * r + 17] = planes[3];
  }
}

bool QBR1_SheetInRowColours(IndexedPicture& sheet, const std::vector<std::uint32_t>& row, std::string& reason) {
  constexpr int kNone = -1;
  // What each of the 256 possible indexes becomes; kNone: its colour is not in the row.
  std::array<int, 256> to;
  to.fill(kNone);
  std::array<bool, 256> used{};
  for (std::uint8_t p : sheet.pixels) used[p] = true;
  bool any_in_row = false;
  for (std::size_t i = 0; i < sheet.palette.size() && i < to.size(); ++i) {
    const std::uint32_t colour = sheet.palette[i] & 0xFFFFFFu;
    if (i < row.size() && row[i] == colour) {
      to[i] = static_cast<int>(i);
    } else {
      for (std::size_t j = 0; j < row.size(); ++j)
        if (row[j] == colour) {
          to[i] = static_cast<int>(j);
          break;
        }
    }
    any_in_row = any_in_row || (used[i] && to[i] != kNone);
  }
  if (!any_in_row) return true;
  for (int y = 0; y < sheet.h; ++y)
    for (int x = 0; x < sheet.w; ++x) {
      const std::uint8_t p = sheet.At(x, y);
      if (to[p] != kNone) continue;
      const std::string where = "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ")";
      if (p >= sheet.palette.size()) {
        reason = where + " has the value " + std::to_string(p) + ", which the picture's palette does not hold";
      } else {
        char colour[8];
        std::snprintf(colour, sizeof colour, "%06X", static_cast<unsigned>(sheet.palette[p] & 0xFFFFFFu));
        reason = where + " has the colour #" + colour + ", which is not one of the sheet's " +
                 std::to_string(row.size()) + " palette colours";
      }
      return false;
    }
  for (std::uint8_t& p : sheet.pixels) p = static_cast<std::uint8_t>(to[p]);
  return true;
}
