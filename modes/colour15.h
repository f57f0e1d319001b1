#pragma once

#include <string>

#include "level/colour_rounding.h"

// Conversions between the console's 15-bit colours and the "#RRGGBB" text of
// the colour dialog; the rounding of 8-bit channels is level/colour_rounding.h.

// Reads "#RRGGBB" (either case, no blanks). False, leaving the outputs alone,
// for anything else.
bool ParseRrggbb(const std::string& text, int& r, int& g, int& b);

// "#RRGGBB" of a 15-bit colour as the program shows it (bit 15 ignored).
std::string RrggbbOfColour15(unsigned short c);
