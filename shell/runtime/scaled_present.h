#pragma once

#include "platform/allegro_include.h"
#include "shell/runtime/frame.h"

// Presentation of a scaled window: the frame is composed at the program's own
// size and each of its pixels is written to the page as scale x scale pixels.

// Copies the top-left w x h area of `frame` to `page`, enlarged `scale` times
// (2-4). With `changed_only` only the rows that differ from the frame last
// presented this way are copied (a shadow of it is kept, since the page holds
// the enlarged picture); without it every row is. Returns the band of page rows
// written (empty when nothing changed).
RowBand PresentScaled(BITMAP* frame, BITMAP* page, int w, int h, int scale, bool changed_only);

// Forgets the shadow of the last presented frame (and frees it).
void ResetScaledPresentation();
