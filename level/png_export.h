#pragma once

#include <string>

#include "shell/base/include.h"

// Writes a 32-bit bitmap to path as an 8-bit RGB PNG (alpha dropped). Returns
// false, leaving no partial promise, when the file cannot be written.
bool QBR1_WritePng(const std::string& path, BITMAP* bmp);

// As QBR1_WritePng, but an 8-bit RGBA PNG whose alpha is the top byte of each
// pixel (decoded graphics keep alpha 0 on their transparent pixels).
bool QBR1_WritePngAlpha(const std::string& path, BITMAP* bmp);
