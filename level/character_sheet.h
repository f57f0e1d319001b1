#pragma once

#include <string>
#include <vector>

#include "level/png_indexed.h"

// Characters laid out as a sheet of pixels: 16 characters to a row, pixel
// values 0-15 as the characters store them (the exchange folder's gfx-0xNN.png).

// Characters per row of a sheet, and the sheet's width in pixels.
constexpr int kCharacterSheetColumns = 16;
constexpr int kCharacterSheetWidth = 8 * kCharacterSheetColumns;

// The sheet of `characters` (32 bytes each; a last partial character is left
// out); the last row is filled up with characters of value 0.
IndexedPicture QBR1_CharacterSheet(const std::vector<unsigned char>& characters);

// The characters of a sheet, 16 for each row of characters. False, with a
// one-line reason, when its width is not kCharacterSheetWidth, its height is not a whole
// number of character rows, or a pixel is above 15 (the first such pixel in
// reading order is named).
bool QBR1_CharactersOfSheet(const IndexedPicture& sheet, std::vector<unsigned char>& characters, std::string& reason);

// The 32 planar bytes of a character from its 64 pixel values (row by row, 0-15).
void QBR1_EncodeCharacter(const std::uint8_t pixels[64], unsigned char out[32]);

// Turns the pixels of `sheet` (indexes into its own palette) into indexes of
// `row`, the 16 colours the sheet was written in, by colour: an entry whose
// colour `row` holds at the same index keeps it, another goes to the first
// index of `row` with its colour, so a sheet whose palette an image program
// reordered reads as written. A sheet none of whose used colours is in `row`
// (drawn in a palette of its own) keeps its values as stored. False, with the
// first such pixel in reading order named, when a pixel's colour is not in
// `row` or its index is past the sheet's palette.
bool QBR1_SheetInRowColours(IndexedPicture& sheet, const std::vector<std::uint32_t>& row, std::string& reason);
