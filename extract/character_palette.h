#pragma once

#include <cstdint>
#include <vector>

// The colours an archetype's character sheet (gfx-0xNN.png) is shown in.

// The palette row (0-7) the archetype's tile definitions name most often
// (ties: the lower row; 0 for an archetype without a tile count).
int QBR1_MostUsedPaletteRow(int archetype);

// The 16 colours (0xRRGGBB) of that row of the palette of the first viewable
// level of the archetype; a grey ramp when no level uses it.
std::vector<std::uint32_t> QBR1_CharacterSheetPalette(int archetype);
