#pragma once

#include <string>

#include "platform/allegro_include.h"

struct leveldata;

// What the status line shows after the level's name while the mouse is over
// the level in the view: the level point under it and the map entry there
// (tile number and the two mirror bits), e.g. "X 0x0123  Y 0x01E0  Tile 0x0005 H-".
// Empty while the mouse is elsewhere or no camera exists.
std::string ViewStatusText();

// What the status line shows after the level's name: the status message while
// one is shown; otherwise the zoom when it is not 100 % ("50 %"), ViewStatusText() and the
// current tool's text.
std::string StatusLineMiddle();

// `text` cut (ending in "...") to at most `width` pixels in the status bar's font.
std::string FitStatusText(const std::string& text, int width);
