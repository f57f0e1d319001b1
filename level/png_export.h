#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/allegro_include.h"

// Encodes a 32-bit bitmap as an 8-bit PNG into `out`: RGBA whose alpha is the
// top byte of each pixel when `alpha`, else RGB (alpha dropped). The same
// bitmap always gives the same bytes. False (and `out` empty) when it cannot.
bool QBR1_EncodePng(BITMAP* bmp, bool alpha, std::vector<unsigned char>& out);

// Row y of a picture as 32-bit pixels, asked once for each y from 0 up.
using PngRowSource = std::function<const std::uint32_t*(int y)>;

// As QBR1_EncodePng for a w x h picture whose rows `row` gives as they are
// encoded: the same pixels give the same bytes as the bitmap would.
bool QBR1_EncodePngRows(int w, int h, const PngRowSource& row, bool alpha, std::vector<unsigned char>& out);

// Writes a 32-bit bitmap to path as an 8-bit RGB PNG (alpha dropped), in one
// rename (ReplaceFile: a link is written through). False, with a short reason
// in `error` and any file at path left as it was, when it cannot.
bool QBR1_WritePng(const std::string& path, BITMAP* bmp, std::string& error);

// As QBR1_WritePng, but an 8-bit RGBA PNG whose alpha is the top byte of each
// pixel (decoded graphics keep alpha 0 on their transparent pixels).
bool QBR1_WritePngAlpha(const std::string& path, BITMAP* bmp, std::string& error);
