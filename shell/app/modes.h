#pragma once

#include <cstdint>

// A mode function owns the main loop until its mode ends (STATEOVER).
using ModeFunction = void (*)();

// Start-up screen (mode 0): the banner, then the automatic Open.
void STARTUP_SCREEN_SUBFUNCTION();

// Level editor (mode 1) of the open ROM image.
void QBR1_LEVEL_EDITOR_SUBFUNCTION();

// The mode function of identifier `id`, or nullptr when no mode has that identifier.
ModeFunction FindModeFunction(uint32_t id);
