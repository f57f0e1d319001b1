#pragma once

#include "platform/allegro_include.h"

// The picture of level `id` of the loaded image, composed by the level view's
// own drawing code through a detached camera at (0, 0): grid, tiles, bananas
// (animation frame 0, graphic set 0) and objects, without guide, labels or
// frame. tile_w x 32 by tile_h x 32 pixels; nullptr for a level without
// extent. The caller owns the bitmap.
BITMAP* ComposeLevelPicture(int id);
