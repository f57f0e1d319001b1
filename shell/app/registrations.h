#pragma once

// Registers everything the program offers with the layers that look it up (the
// modes of the main loop, ...). Called once by the start-up before the main loop.
void RegisterFeatures();

// The commands of every mode's File and Help menus: Open ($0000), About ($F000)
// and Exit ($FFFF, the caption's close button). Part of RegisterFeatures.
void RegisterOpenAboutExit();
