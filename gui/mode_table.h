#pragma once

#include <cstdint>

// A mode function owns the main loop until its mode ends (STATEOVER).
using ModeFunction = void (*)();

// Registers mode function `f` under engine state `id` (the GUI root's main loop
// looks it up); replaces an earlier registration, and nullptr removes it.
void RegisterMode(uint32_t id, ModeFunction f);

// The mode function registered under `id`, or nullptr when there is none.
ModeFunction FindModeFunction(uint32_t id);
