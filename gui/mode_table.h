#pragma once

#include <cstdint>

// The engine modes of the main loop, by the number ENGINE_STATE holds for them.
// The physmap editor of the Mode menu has none: the program does not know that data.
enum class Mode : uint32_t {
  StartupScreen = 0,
  LevelEditor = 1,
  Extraction = 2,
  SpriteViewer = 3,
  PaletteEditor = 4,
  HexEditor = 5,
};

// A mode function owns the main loop until its mode ends (STATEOVER).
using ModeFunction = void (*)();

// Registers mode function `f` for `mode` (the GUI root's main loop looks it up);
// replaces an earlier registration, and nullptr removes it.
void RegisterMode(Mode mode, ModeFunction f);

// The mode function registered for `mode`, or nullptr when there is none.
ModeFunction FindModeFunction(Mode mode);

// The mode the main loop runs (or, once one is requested, enters next).
Mode CurrentMode();

// Ends the current mode's passes and has the main loop enter `mode` next; the
// current mode itself starts afresh (a level switch). Apart from the main loop,
// and the close, which ends every mode, nothing else writes ENGINE_STATE or STATEOVER.
void RequestMode(Mode mode);
