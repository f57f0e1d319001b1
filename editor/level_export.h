#pragma once

#include <string>

#include "shell/base/include.h"

// The picture of level `id` of the loaded image, composed by the level view's
// own drawing code through a detached camera at (0, 0): grid, tiles, bananas
// (animation frame 0, graphic set 0) and objects, without guide, labels or
// frame. tile_w x 32 by tile_h x 32 pixels; nullptr for a level without
// extent. The caller owns the bitmap.
BITMAP* ComposeLevelPicture(int id);

// Reads a level argument: decimal or 0x-prefixed hexadecimal, 0 to 229.
// False for anything else.
bool ParseLevelId(const std::string& text, int& id);

// Headless `--export LEVEL --output FILE ROM` and `--export all --output DIR ROM`:
// loads the image as `--list` does and writes 8-bit RGB PNG pictures. Returns
// 0, or 1 with a one-line error on stderr.
int RunExportCommand(const std::string& level, const std::string& output, const std::string& romPath);
