#pragma once

#include "demo/demo_image.h"

// The picture `qbrre --export` should write for a built demo level, composed
// here from the demo builder's own description of the level (its map, tile
// pictures, banana groups and object sprites), independently of the level
// view's drawing code: grid, tiles (the second map underneath for 0x27),
// bananas of set 0 at animation frame 0 (the view draws them mirrored
// left-right), then the object sprites about their reference points.
DemoPicture ReferencePicture(const DemoImage& demo, const DemoLevel& level);
