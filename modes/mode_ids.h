#pragma once

#include <cstdint>

// Engine states of the resource modes, in the order of the "Mode" menu after
// the start-up screen (0), the level editor (1) and the extraction mode (2,
// extract/mode_extraction.h). The physmap editor has no state: the program
// does not know that data.
constexpr uint32_t kModeSpriteViewer = 3;
constexpr uint32_t kModePaletteEditor = 4;
constexpr uint32_t kModeHexEditor = 5;
